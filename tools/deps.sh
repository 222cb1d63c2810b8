#!/usr/bin/env bash
# Installs what the build and the tests need, from Debian's packages and the npm registry.
# Quiet when everything is already there. Needs root (or sudo) the first time.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

packages=(cmake g++ make pkg-config g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix mingw-w64-tools
          wine wine64 wine64-tools libvlc-dev vlc-plugin-base ffmpeg xvfb xauth imagemagick
          googletest libgtest-dev libgmock-dev clang-format locales chromium zip unzip)
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
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# Wine's ANSI code page follows the locale; the tests pin en_US.UTF-8 (code page 1252).
if ! locale -a 2>/dev/null | grep -qi '^en_US\.utf-\?8$'; then
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo=sudo
    $sudo sed -i 's/^# *\(en_US.UTF-8 UTF-8\)/\1/' /etc/locale.gen
    $sudo locale-gen >/dev/null
fi

# The web page's browser tests (playwright-core drives Debian's chromium).
if [ -f "$root/tests/web/package.json" ] && [ ! -d "$root/tests/web/node_modules" ]; then
    (cd "$root/tests/web" && npm ci --silent --no-audit --no-fund)
fi
