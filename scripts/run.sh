#!/usr/bin/env bash
# Sets everything up, builds, registers the library and starts Tindra.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "Tindra needs a graphical display: no DISPLAY or WAYLAND_DISPLAY is set." >&2
  echo "Start it from a desktop session (or under xvfb-run to try it headless)." >&2
  exit 1
fi
if [ ! -x build/bin/tindra ]; then
  echo "The program is not built yet in this version; the tests run with scripts/test.sh." >&2
  exit 1
fi
exec build/bin/tindra "$@"
