#!/usr/bin/env bash
# Checks the built man pages: groff formats them without a warning (as lintian's man check
# does), and the daybridge-batch page lists exactly the options that its --help lists.
#   check_man_pages.sh MAN-DIR DAYBRIDGE-BATCH
set -u
dir=$1
exe=$2
command -v groff > /dev/null || { echo "groff is not installed (Debian: groff-base)"; exit 77; }
failed=0
for page in "$dir"/*.1; do
    warnings=$(LC_ALL=C.UTF-8 groff -man -Tutf8 -ww -z -rLL=80n "$page" 2>&1)
    [ -z "$warnings" ] || { echo "$(basename "$page"): $warnings"; failed=1; }
done

# The option heads ("--weekend MASK|DAYS", "--seq FROM TO STEP") as --help writes them and
# as the page prints them in its OPTIONS section (tag lines are indented by 7 blanks, their
# text by 14).
help_heads=$("$exe" --help | sed -nE 's/^  (-[^ ]+( [^ ]+)*)( {2,}.*)?$/\1/p')
page_heads=$(LC_ALL=C.UTF-8 groff -man -Tascii -P-cbou -rLL=200n "$dir/daybridge-batch.1" |
             sed -n '/^OPTIONS$/,/^[A-Z]/p' | sed -nE 's/^ {7}(-.*[^ ])$/\1/p')
if [ -z "$help_heads" ] || [ "$help_heads" != "$page_heads" ]; then
    echo "the man page's options differ from --help:"
    diff <(echo "$help_heads") <(echo "$page_heads")
    failed=1
fi
exit $failed
