# Shared by the installation tests: a scratch folder removed at exit, a clean user (fresh HOME,
# empty XDG folders, a private machine-wide store), failures that say what went wrong.
set -euo pipefail
work=$(mktemp -d "${TMPDIR:-/tmp}/tindra-install-XXXXXX")
trap 'rm -rf "$work"' EXIT

fail() {
  echo "FAILED: $*" >&2
  exit 1
}

# A user who never ran Tindra, on a machine where nothing registered the library.
fresh_user() {
  export HOME=$work/home
  export XDG_CONFIG_HOME=$HOME/.config XDG_DATA_HOME=$HOME/.local/share
  export XDG_STATE_HOME=$HOME/.local/state XDG_CACHE_HOME=$HOME/.cache
  export XDG_CONFIG_DIRS=$work/xdg-config-dirs XDG_RUNTIME_DIR=$work/runtime
  export TINDRA_MACHINE_CONFIG=$work/machine
  mkdir -p "$HOME" "$XDG_CONFIG_DIRS" "$TINDRA_MACHINE_CONFIG"
  mkdir -m 700 -p "$XDG_RUNTIME_DIR"
}

# Pictures to read: a few real ones beside the checkout, else one built byte by byte.
pictures() {
  local corpus=$1 here
  here=$(dirname "${BASH_SOURCE[0]}")
  if [ -d "$corpus" ] && ls "$corpus"/*.jpg >/dev/null 2>&1; then
    ls "$corpus"/*.jpg | head -5
  else
    echo "note: no real pictures at $corpus, using a built one" >&2
    bash "$here/make_picture.sh" "$work/built.jpg"
    echo "$work/built.jpg"
  fi
}
