#!/usr/bin/env bash
# Installs what is missing (Debian packages), builds, and then starts the program or runs the
# tests.
#
#   scripts/setup.sh run        install, build, start Daybridge
#   scripts/setup.sh test       install, build, run every test with CTest
#   scripts/setup.sh sanitize   the tests once more under AddressSanitizer and UBSan (clang)
#   scripts/setup.sh fuzz [S]   build the libFuzzer targets and run each for S seconds
#   scripts/setup.sh package    build the .deb, check it (lintian, appstreamcli), install it,
#                               start both programs and uninstall it again
set -euo pipefail

top=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc 2>/dev/null || echo 2)

packages=(cmake ninja-build g++ clang libclang-rt-14-dev qt6-base-dev libgl-dev libgtest-dev
          libgmock-dev libbenchmark-dev fonts-dejavu-core xvfb xauth python3-dev
          python3-pybind11 pkg-config)
# Independent references used only by the tests (Debian's Python, /usr/bin/python3, and ICU
# through a small C++ program; the calendar benchmark compares with ICU too).
# Building and checking the Debian package.
package_packages=(dpkg-dev fakeroot file lintian appstream)
test_packages=(python3 python3-numpy python3-dateutil python3-convertdate python3-holidays
               python3-workalendar python3-icalendar groff-base libicu-dev)

install_missing() {
    local missing=()
    for p in "${packages[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" ||
            missing+=("$p")
    done
    if [ ${#missing[@]} -gt 0 ]; then
        echo "Installing: ${missing[*]}"
        local sudo=""
        [ "$(id -u)" -eq 0 ] || sudo="sudo"
        $sudo apt-get update -qq
        DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends \
            "${missing[@]}"
    fi
}

configure_and_build() {  # build-dir, cmake options...
    local dir=$1
    shift
    cmake -S "$top" -B "$top/$dir" -G Ninja "$@"
    cmake --build "$top/$dir" -j "$jobs"
}

case "${1:-}" in
    run)
        install_missing
        configure_and_build build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DDAYBRIDGE_TESTS=OFF
        exec "$top/build/bin/daybridge"
        ;;
    test)
        packages+=("${test_packages[@]}")
        install_missing
        configure_and_build build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DDAYBRIDGE_WERROR=ON \
            -DDAYBRIDGE_BENCH=ON
        ctest --test-dir "$top/build" --output-on-failure -j "$jobs"
        ;;
    sanitize)
        packages+=("${test_packages[@]}")
        install_missing
        CXX=clang++ configure_and_build build-sanitize -DCMAKE_BUILD_TYPE=Debug \
            -DDAYBRIDGE_WERROR=ON -DDAYBRIDGE_SANITIZE=ON
        # The comparisons with the Python reference packages ran in the test build already;
        # they check data, not memory use, and are slow under the sanitizers.
        ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
            ctest --test-dir "$top/build-sanitize" --output-on-failure -j "$jobs" -LE reference
        ;;
    fuzz)
        install_missing
        seconds=${2:-30}
        CXX=clang++ configure_and_build build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo \
            -DDAYBRIDGE_WERROR=ON -DDAYBRIDGE_FUZZ=ON -DDAYBRIDGE_GUI=OFF -DDAYBRIDGE_TESTS=OFF
        "$top/fuzz/run_all.sh" "$top/build-fuzz/bin" "$seconds"
        ;;
    package)
        # The same build as `test` (tests and benchmarks on), so the same packages.
        packages+=("${package_packages[@]}" "${test_packages[@]}")
        install_missing
        # The test command's build folder and options: after `test` nothing is compiled again.
        # CPack installs under /usr and strips the programs.
        configure_and_build build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DDAYBRIDGE_WERROR=ON \
            -DDAYBRIDGE_BENCH=ON
        "$top/scripts/check_package.sh" "$top/build"
        ;;
    *)
        sed -n '2,11p' "$0"
        exit 2
        ;;
esac
