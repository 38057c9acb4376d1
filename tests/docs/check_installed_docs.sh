#!/usr/bin/env bash
# Installs the build into a scratch folder, as the package does, and checks that the installed
# guides and man pages point only at installed files: every relative link of a guide, every
# guide named by its file name ("see holidays.md"), and every /usr/share path they give.
#   check_installed_docs.sh CMAKE BUILD-DIR
set -u
cmake=$1
build=$2
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
"$cmake" --install "$build" --prefix "$root/usr" > /dev/null || { echo "install failed"; exit 1; }
guides=$root/usr/share/daybridge

texts=$root/texts
mkdir "$texts"
cp "$guides"/*.md "$texts/" || { echo "no guide installed"; exit 1; }
for page in "$root"/usr/share/man/man1/*.1.gz; do
    # Man pages: unpacked, with troff's minus signs as the hyphens they print.
    zcat "$page" | sed 's/\\-/-/g' > "$texts/$(basename "$page" .gz)" || exit 1
done
[ -f "$texts/daybridge-batch.1" ] || { echo "the daybridge-batch man page is not installed"; exit 1; }

failed=0
for text in "$texts"/*; do
    name=$(basename "$text")
    # Markdown links to files beside the guide (not web addresses, not anchors in the guide).
    while IFS= read -r target; do
        [ -e "$guides/${target%%#*}" ] || { echo "$name: links to $target, not installed"; failed=1; }
    done < <(grep -oE '\]\([^)[:space:]]+\)' "$text" | sed -E 's/^\]\((.*)\)$/\1/' |
             grep -vE '^([a-z]+:|#)' | sort -u)
    # Guides named by their file name, as "docs/calendars.md" in the source tree or bare.
    while IFS= read -r guide; do
        [ -f "$guides/$guide" ] || { echo "$name: names $guide, not installed"; failed=1; }
    done < <(grep -oE '[A-Za-z0-9_-]+\.md\b' "$text" | sort -u)
    # Installed paths.
    while IFS= read -r path; do
        [ -e "$root$path" ] || { echo "$name: names $path, not installed"; failed=1; }
    done < <(grep -oE '/usr/share/[A-Za-z0-9_./-]*[A-Za-z0-9_/]' "$text" | sort -u)
done
exit $failed
