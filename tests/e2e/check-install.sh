#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks what a desktop finds there: the program, its entry
# (desktop-file-validate), its description for software centres (appstreamcli) and its icons.
#   check-install.sh <cmake> <build folder>
set -euo pipefail
cmake=$1 build=$2
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT

"$cmake" --install "$build" --prefix "$prefix" >/dev/null
share=$prefix/share
entry=$share/applications/tintora.desktop

test -x "$prefix/bin/tintora" || { echo "no program at $prefix/bin/tintora"; exit 1; }
desktop-file-validate "$entry"
appstreamcli validate --no-net "$share/metainfo/io.github.tintora.Tintora.metainfo.xml"

# The entry starts the installed program and names the installed icon.
exec_name=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$entry")
icon_name=$(sed -n 's/^Icon=//p' "$entry")
test -x "$prefix/bin/$exec_name" || { echo "Exec=$exec_name is not the installed program"; exit 1; }
for size in 16 22 24 32 48 64 128 256; do
    icon=$share/icons/hicolor/${size}x${size}/apps/$icon_name.png
    found=$(/usr/bin/identify -format '%wx%h' "$icon" 2>/dev/null || echo missing)
    [ "$found" = "${size}x${size}" ] || { echo "icon $icon: expected ${size}x${size}, found $found"; exit 1; }
done
echo "installation checked under $prefix"
