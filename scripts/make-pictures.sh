#!/bin/sh
# Builds the picture painter (make-pictures.cpp, Qt 6 Gui only) in a temporary folder and runs it,
# rewriting assets/picture/*.jpg and assets/images/. Commit the script and its output together.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
top=$(dirname "$here")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
g++ -std=c++20 -O2 -Wall -Wextra -Wpedantic -fPIC "$here/make-pictures.cpp" -o "$work/make-pictures" \
    $(pkg-config --cflags --libs Qt6Gui)
QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR="$work" "$work/make-pictures" "$top/assets"
echo "pictures written under $top/assets"
