#!/usr/bin/env bash
# Takes the pictures that the README and the AppStream metainfo show: starts the built program
# under its own Xvfb on a seeded world, picks a living zib for the inspector, opens the Statistics
# window (Ctrl+T) over the Lineages window (Ctrl+L), and saves docs/inspector.png,
# docs/statistics.png, docs/main-window.png and docs/lineages.png, each cropped to its window as it is when taken (the main window with the status bar's seed).
#
# Usage: tools/screenshots.sh [BUILD_DIR]     (BUILD_DIR defaults to build/; nothing is built)
# Environment: SCREENSHOTS_DISPLAY, the Xvfb display number to use (default 99).
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
display=":${SCREENSHOTS_DISPLAY:-99}"
docs="$root/docs"
locate="$root/tools/screenshots.py"

for tool in Xvfb xdotool import convert python3; do
    command -v "$tool" >/dev/null || { echo "screenshots: $tool is missing" >&2; exit 1; }
done
for program in zibs zibs-run; do
    [[ -x "$build/$program" ]] || { echo "screenshots: $build/$program is not built" >&2; exit 1; }
done

tmp=$(mktemp -d)
xvfb_pid=
zibs_pid=
cleanup() {
    if [[ -n "$zibs_pid" ]]; then kill "$zibs_pid" 2>/dev/null || true; fi
    if [[ -n "$xvfb_pid" ]]; then kill "$xvfb_pid" 2>/dev/null || true; fi
    rm -rf "$tmp"
}
trap cleanup EXIT

# A living world: seed 31 with the default parameters, 300 days on.
"$build/zibs-run" --seed 31 --days 300 --save "$tmp/world.zibs" >/dev/null
# A click picks the last record standing on the spot: take a living zib that no later record shares
# its point with, one with the most kinds of cell (stores, motors, eyes) and then the nearest the
# centre. Trace rows: zib I X Y GOALX GOALY MODE AGE REPROAGE ALIVE, then 5 figures per cell, the
# kind first.
read -r zib zx zy < <("$build/zibs-run" --load "$tmp/world.zibs" --days 0 --trace | awk '
    $1 == "zib" {
        last[$3 " " $4] = $2; alive[$2] = $10; x[$2] = $3; y[$2] = $4
        split("", seen); kinds[$2] = 0
        for (f = 11; f <= NF; f += 5) if ($f != 0 && !seen[$f]++) kinds[$2]++
    }
    END {
        best = -1
        for (i in alive) {
            if (alive[i] == 0 || last[x[i] " " y[i]] != i) continue
            score = kinds[i] * 1000 - (x[i] - 10) ^ 2 - (y[i] - 10) ^ 2
            if (best < 0 || score > best) { best = score; pick = i }
        }
        if (best >= 0) print pick, x[pick], y[pick]
    }')
[[ -n "${zib:-}" ]] || { echo "screenshots: the world has no living zib to pick" >&2; exit 1; }

Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >"$tmp/xvfb.log" 2>&1 &
xvfb_pid=$!
export DISPLAY="$display"
for _ in $(seq 50); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.1; done
if ! kill -0 "$xvfb_pid" 2>/dev/null; then
    echo "screenshots: Xvfb $display did not start (display taken? set SCREENSHOTS_DISPLAY):" >&2
    cat "$tmp/xvfb.log" >&2
    exit 1
fi

# Its own settings, so that the world opened is no recent world of the user's.
XDG_CONFIG_HOME="$tmp" "$build/zibs" "$tmp/world.zibs" >"$tmp/zibs.log" 2>&1 &
zibs_pid=$!
window=$(timeout 20 xdotool search --sync --onlyvisible --name '^Zibs - ' | head -n 1) ||
    { echo "screenshots: the main window did not show" >&2; cat "$tmp/zibs.log" >&2; exit 1; }
sleep 1
xdotool windowfocus --sync "$window" 2>/dev/null || true

# The main window as it shows now, at its size now (Ctrl+T widens it): a PNG and a PPM for the
# locator. X, Y, WIDTH and HEIGHT stay those of the last shot.
shot() {
    eval "$(xdotool getwindowgeometry --shell "$window")"
    import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$tmp/$1.png"
    convert "$tmp/$1.png" "ppm:$tmp/$1.ppm"
}
crop() {  # crop SHOT "x y w h" OUT
    read -r cx cy cw ch <<<"$2"
    convert "$tmp/$1.png" -crop "${cw}x${ch}+${cx}+${cy}" +repage -strip "$3"
}

# The world picture is the largest square picture box; user point u falls on pixel u*(W-1)/20 of
# its drawing area, inside the 2-pixel border.
shot opened
read -r bx by bw _ < <(python3 "$locate" boxes "$tmp/opened.ppm" | awk '$3 == $4' | sort -k3,3nr | head -n 1)
area=$((bw - 4))
xdotool mousemove $((X + bx + 2 + (zx * (area - 1) + 10) / 20)) $((Y + by + 2 + (zy * (area - 1) + 10) / 20))
xdotool click 1
sleep 1
xdotool mousemove $((X + WIDTH - 5)) $((Y + 5))  # keep the pointer out of the pictures

# Picking a zib makes the inspector the active window.
shot picked
inspector=$(python3 "$locate" active "$tmp/picked.ppm")
[[ -n "$inspector" ]] || { echo "screenshots: no inspector window after the click" >&2; exit 1; }
mkdir -p "$docs"
crop picked "$inspector" "$docs/inspector.png"
echo "docs/inspector.png: zib number $zib at ($zx, $zy)"

# The child window a key opens becomes the active window: open_window KEY NAME PREVIOUS saves it
# as docs/NAME.png and sets $active to its place, which must differ from PREVIOUS.
open_window() {
    xdotool key --window "$window" "$1"
    sleep 1
    xdotool mousemove $((X + WIDTH - 5)) $((Y + 5))
    sleep 1
    shot "$2"
    active=$(python3 "$locate" active "$tmp/$2.ppm")
    if [[ -z "$active" || "$active" == "$3" ]]; then
        echo "screenshots: no $2 window after $1" >&2
        exit 1
    fi
    crop "$2" "$active" "$docs/$2.png"
    echo "docs/$2.png"
}
# The Lineages window first: the Statistics window opens over it.
open_window ctrl+l lineages "$inspector"
open_window ctrl+t statistics "$active"

convert "$tmp/statistics.png" -strip "$docs/main-window.png"
echo "docs/main-window.png (${WIDTH}x${HEIGHT})"
