#!/usr/bin/env bash
# Installs what is missing, builds the piece and starts it from the folder that
# holds "[]", where it finds its picture and its chime.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
bash "$root/scripts/install-deps.sh"
cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DSKETCH_TESTS=OFF >/dev/null
cmake --build "$root/build" --target sketch
cd "$root"
exec "$root/build/sketch"
