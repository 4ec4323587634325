#!/usr/bin/env bash
# Runs the examples of README.md that show their output and compares the output with the README.
# An example is a ```sh block followed by a plain ``` block: the commands (zibs-run, zibs-sweep and
# what works on their output) and the output the README promises. The examples run in order, in one scratch folder (a later one may
# read a file an earlier one wrote), with the built programs first on the PATH and "./build/"
# taken off their names. Fails when any output differs or when the README has no example.
#
# Usage: tools/check-readme.sh [BUILD_DIR] [README]   (defaults: build/ and README.md)
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
readme=${2:-$root/README.md}
for program in zibs-run zibs-sweep; do
    [[ -x "$build/$program" ]] || { echo "check-readme: $build/$program is not built" >&2; exit 1; }
done

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
mkdir "$tmp/work" "$tmp/examples"

# Each example as examples/N.sh and examples/N.want, with the README's line of its command.
python3 - "$readme" "$tmp/examples" <<'PY'
import re, sys
lines = open(sys.argv[1], encoding="utf-8").read().split("\n")
blocks, i = [], 0
while i < len(lines):
    m = re.match(r"^```(\S*)\s*$", lines[i])
    if not m:
        i += 1
        continue
    start, body = i + 1, []
    i += 1
    while i < len(lines) and lines[i].strip() != "```":
        body.append(lines[i])
        i += 1
    blocks.append((m.group(1), start, body))
    i += 1
n = 0
for (lang, start, body), nxt in zip(blocks, blocks[1:]):
    text = "\n".join(body)
    if lang != "sh" or nxt[0] != "":
        continue
    n += 1
    with open(f"{sys.argv[2]}/{n}.sh", "w") as f:
        f.write(f"# README.md line {start}\n" + text.replace("./build/", "") + "\n")
    with open(f"{sys.argv[2]}/{n}.want", "w") as f:
        f.write("\n".join(nxt[2]) + "\n")
PY

count=0
failed=0
for script in $(ls "$tmp/examples"/*.sh | sort -V); do
    count=$((count + 1))
    where=$(head -n 1 "$script" | sed 's/^# //')
    if ! (cd "$tmp/work" && PATH="$build:$PATH" bash -euo pipefail "$script") >"$tmp/got" 2>"$tmp/err"; then
        echo "check-readme: the example at $where failed:" >&2
        cat "$tmp/err" >&2
        failed=$((failed + 1))
    elif ! diff -u --label "README ($where)" --label "output" "${script%.sh}.want" "$tmp/got" >&2; then
        echo "check-readme: the example at $where prints something else than the README shows" >&2
        failed=$((failed + 1))
    fi
done
if [[ $count -eq 0 ]]; then
    echo "check-readme: $readme shows no example with its output" >&2
    exit 1
fi
echo "check-readme: $count examples, $failed differing"
[[ $failed -eq 0 ]]
