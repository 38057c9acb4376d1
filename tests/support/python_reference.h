// Runs a script under Debian's Python (/usr/bin/python3, which carries the reference packages
// the tests compare against) and returns what it printed; nothing when it could not run.
#pragma once

#include <cstdio>
#include <optional>
#include <string>

namespace daybridge::testing {

inline std::optional<std::string> RunPython(const std::string& script) {
    const std::string command = "/usr/bin/python3 -c '" + script + "' 2>/dev/null";
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return std::nullopt;
    }
    std::string out;
    char buffer[65536];
    std::size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) {
        out.append(buffer, n);
    }
    return pclose(pipe) == 0 ? std::optional<std::string>(out) : std::nullopt;
}

}  // namespace daybridge::testing
