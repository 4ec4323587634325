#!/usr/bin/env bash
# Builds Zibs and runs it, its tests or its benchmarks. Installs what it needs when missing.
#   ./build.sh run     build and start the program
#   ./build.sh test    build and run every test headless
#   ./build.sh bench   build and run the benchmarks, offscreen and under Xvfb
#   ./build.sh package build the Debian package build/zibs_<version>_<arch>.deb
set -euo pipefail
cd "$(dirname "$0")"

packages=(cmake ninja-build g++ pkg-config libgtest-dev libgmock-dev libbenchmark-dev qt6-base-dev
          libcli11-dev nlohmann-json3-dev qt6-svg-dev qt6-charts-dev libqt6opengl6-dev xvfb xauth
          fonts-liberation2 fonts-dejavu-core dpkg-dev file parallel xdotool imagemagick
          desktop-file-utils man-db python3-dendropy)

install_missing() {
    local missing=()
    for p in "${packages[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return
    local sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    echo "Installing: ${missing[*]}"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
}

build() {
    local dir=$1; shift
    cmake -S . -B "$dir" -G Ninja "$@" >/dev/null
    cmake --build "$dir" -j2
}

case "${1:-}" in
    run)
        install_missing
        build build
        if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
            echo "No display: starting Zibs under Xvfb (xvfb-run)." >&2
            exec xvfb-run -a ./build/zibs
        fi
        exec ./build/zibs
        ;;
    test)
        install_missing
        build build
        export QT_QPA_PLATFORM=offscreen
        cd build && ctest --output-on-failure -j2
        ;;
    bench)
        install_missing
        build build
        echo "== Offscreen =="
        for b in build/bench/*_bench; do QT_QPA_PLATFORM=offscreen "$b" "${@:2}"; done
        # The programs with windows again on a real X server, where every repaint also goes to
        # the display server.
        echo "== X server (Xvfb, xcb) =="
        for b in build/bench/*_bench; do
            [ "$(basename "$b")" = day_bench ] && continue
            xvfb-run -a -s "-screen 0 1280x1024x24" env QT_QPA_PLATFORM=xcb "$b" "${@:2}"
        done
        ;;
    package)
        install_missing
        build build
        rm -f build/zibs_*.deb
        (cd build && cpack -G DEB)
        ;;
    *)
        echo "usage: ./build.sh run | test | bench | package" >&2
        exit 2
        ;;
esac
