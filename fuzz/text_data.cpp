// Loads arbitrary bytes as a text data file: the loader must answer a result code and never
// read past its input; whatever loaded must come back within the buffer it is given.
#include <string_view>

#include "fuzz_support.h"
#include "sidekit/sidekit.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    sidekit::TextStore store;
    const std::int32_t result =
        store.LoadFromBytes(std::string_view(reinterpret_cast<const char*>(data), size));
    fuzz::Check(result <= 0 || store.size() > 0);  // no success with nothing loaded
    char buffer[64];
    for (std::int32_t id = 0; id < 100; ++id) {
        for (std::int32_t language = 0; language < 6; ++language) {
            const std::int32_t n = store.Get(id, language, buffer, sizeof buffer);
            fuzz::Check(n >= 0 && n <= static_cast<std::int32_t>(sizeof buffer));
        }
    }
    return 0;
}
