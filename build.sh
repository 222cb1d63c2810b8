#!/usr/bin/env bash
# Builds the shipped 32-bit product and packages it as dist/vendrak-<version>-win32.zip.
set -euo pipefail
root=$(cd "$(dirname "$0")" && pwd)
cd "$root"
./tools/deps.sh
cmake --preset win32 >/dev/null
cmake --build --preset win32 -j "$(nproc)"
./tools/check-imports build/win32/bin/vendrak.exe
(cd build/win32 && cpack -C MinSizeRel >/dev/null)
zip=$(ls -t dist/vendrak-*-win32.zip | head -n 1)
cat <<MSG

Package: $root/$zip
Before it runs on Windows, add beside vendrak.exe:
  - WebView2Loader.dll (x86), from Microsoft's WebView2 SDK (NuGet package Microsoft.Web.WebView2,
    build/native/x86/). Without it the program uses the installed WebView2 Runtime directly.
  - libvlc.dll, libvlccore.dll and the plugins/ folder from VLC 3.0 for Windows, 32-bit
    (https://download.videolan.org/pub/videolan/vlc/, the win32 zip).
The WebView2 Runtime itself ships with Windows 10 and 11.
MSG
