#!/usr/bin/env bash
# Installs what the build and the tests need, from Debian's packages and the npm registry.
# Quiet when everything is already there. Needs root (or sudo) the first time.
set -Eeuo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
# Whatever fails says so (the callers stop on our status and print nothing themselves).
step="checking packages"
trap 'echo "deps: $step failed (status $?): $BASH_COMMAND" >&2' ERR

packages=(cmake g++ make pkg-config g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix mingw-w64-tools
          wine wine64 wine64-tools libvlc-dev vlc-plugin-base ffmpeg xvfb xauth imagemagick
          librsvg2-bin googletest libgtest-dev libgmock-dev clang-format locales chromium zip unzip)
# Node.js may come from elsewhere than Debian (its npm then conflicts with Debian's): only add it if absent.
command -v node >/dev/null && command -v npm >/dev/null || packages+=(nodejs npm)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
    echo "deps: installing ${missing[*]}"
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo=sudo
    # An index that fails to download (a mirror in the middle of a sync) is not fatal: the install
    # below says plainly if a package cannot be had.
    $sudo apt-get update -qq || echo "deps: apt-get update reported errors; installing anyway" >&2
    step="installing ${missing[*]}"
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# Wine's ANSI code page follows the locale; the tests pin en_US.UTF-8 (code page 1252).
if ! locale -a 2>/dev/null | grep -qi '^en_US\.utf-\?8$'; then
    step="making the en_US.UTF-8 locale"
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo=sudo
    $sudo sed -i 's/^# *\(en_US.UTF-8 UTF-8\)/\1/' /etc/locale.gen
    $sudo locale-gen >/dev/null
fi

# The web page's browser tests (playwright-core drives Debian's chromium).
if [ -f "$root/tests/web/package.json" ] && [ ! -d "$root/tests/web/node_modules" ]; then
    step="npm ci in tests/web"
    cd "$root/tests/web"
    npm ci --loglevel=error --no-audit --no-fund
fi

# A private Wine that runs the i686 build (kept in a cache folder shared by checkouts).
step="making the wow64 Wine (tools/wine-wow64)"
"$root/tools/wine-wow64" >/dev/null
