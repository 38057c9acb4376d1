#!/usr/bin/env bash
# Builds the Debian packages in a configured build folder (the programs, the holiday sets, the
# library, its development files and the Python module) and checks them: lintian (errors and
# warnings fail), the AppStream metadata, an install with apt, both programs started, the
# library and Python examples built and run against the installed packages, and an uninstall
# that leaves none of the packages' files behind. Needs root (or sudo) for the install.
set -euo pipefail
build=$1
top=$(cd "$(dirname "$0")/.." && pwd)
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"

cd "$build"
rm -f ./*.deb
cpack -G DEB
packages=(daybridge daybridge-common libdaybridge0 libdaybridge-dev)
[ -e python/daybridge*.so ] && packages+=(python3-daybridge)
debs=()
for p in "${packages[@]}"; do
    debs+=("./$(ls "${p}"_*.deb)")
    echo "== built ${debs[-1]}"
    dpkg-deb --info "${debs[-1]}" | sed -n '/Depends/p'
done

echo "== lintian"
lintian --fail-on error,warning --tag-display-limit 0 "${debs[@]}"

echo "== AppStream metadata"
appstreamcli validate --no-net "$top/data/com.velmora_systems.Daybridge.metainfo.xml"

echo "== install"
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${debs[@]}" >/dev/null
files=$(dpkg -L "${packages[@]}")
home=$(mktemp -d)
# A failed check still takes the packages off the machine.
trap 'rm -rf "$home"; $sudo apt-get purge -y -qq "${packages[@]}" >/dev/null 2>&1 || true' EXIT
daybridge-batch --version
test "$(daybridge-batch --verbose off -e 'OUTPUT: done')" = "done"
HOME=$home XDG_CONFIG_HOME=$home QT_QPA_PLATFORM=offscreen timeout 60 daybridge --measure-startup
for f in /usr/share/daybridge/dbrg_text.dat /usr/share/applications/daybridge.desktop \
         /usr/share/daybridge/user-guide.md /usr/share/daybridge/batch-language.md \
         /usr/share/daybridge/calendars.md /usr/share/daybridge/holidays.md \
         /usr/share/daybridge/holidays/germany.txt \
         /usr/share/metainfo/com.velmora_systems.Daybridge.metainfo.xml \
         /usr/share/man/man1/daybridge.1.gz /usr/share/man/man1/daybridge-batch.1.gz \
         /usr/share/icons/hicolor/128x128/apps/daybridge.png; do
    test -f "$f" || { echo "missing after install: $f"; exit 1; }
done

echo "== library and Python examples against the installed packages"
"$top/scripts/check_library.sh" /usr "$home"

echo "== uninstall"
DEBIAN_FRONTEND=noninteractive $sudo apt-get purge -y -qq "${packages[@]}" >/dev/null
left=0
while read -r f; do
    if [ -f "$f" ] || [ -L "$f" ]; then
        echo "left behind: $f"
        left=1
    fi
done <<<"$files"
[ "$left" -eq 0 ]
echo "== package checks passed"
