#!/usr/bin/env bash
# Sets everything up, builds and starts Tindra.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build
# The program loads the library built beside it: nothing is registered in the user's store.
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "Tindra a besoin d'un affichage graphique : ni DISPLAY ni WAYLAND_DISPLAY n'est défini." >&2
  echo "Lancez-le depuis une session de bureau (ou avec xvfb-run pour l'essayer sans écran)." >&2
  exit 1
fi
exec build/bin/tindra "$@"
