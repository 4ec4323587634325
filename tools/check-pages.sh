#!/usr/bin/env bash
# Checks the manual pages and the desktop entry as a user's tools show them: every page formats
# without a warning (groff -ww) and fits 80 columns (MANWIDTH=80 man -l), and the desktop entry
# passes desktop-file-validate without an error or a hint.
#
# Usage: tools/check-pages.sh
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
failed=0
for page in "$root"/man/*.1; do
    warnings=$(groff -man -ww -z "$page" 2>&1)
    if [[ -n "$warnings" ]]; then
        echo "check-pages: $page: $warnings" >&2
        failed=1
    fi
    if ! MANWIDTH=80 man -l "$page" 2>/dev/null |
        awk -v page="$page" 'length > 80 { print "check-pages: " page ": wider than 80 columns: " $0; bad = 1 }
                             END { exit bad }' >&2; then
        failed=1
    fi
done
validation=$(desktop-file-validate "$root/packaging/zibs.desktop" 2>&1)
if [[ -n "$validation" ]]; then
    echo "check-pages: packaging/zibs.desktop: $validation" >&2
    failed=1
fi
[[ $failed -eq 0 ]] && echo "check-pages: $(ls "$root"/man/*.1 | wc -l) manual pages and the desktop entry are fine"
exit $failed
