# Sourced by the checks of what a Windows user gets: a new Wine prefix with
# nothing installed (no Qt or MinGW on Wine's path), in a work folder of its
# own ($work) that goes at the end; fail MESSAGE ends the check, naming it.
work=$(mktemp -d)
export KVT10_WINE_PREFIX=$work/prefix
source "$(dirname "${BASH_SOURCE[0]}")/wine_env.sh"
unset WINEPATH QT_PLUGIN_PATH
trap 'wine_env_stop; rm -rf "$work"' EXIT

fail() {
  echo "$(basename "$0" .sh): $*" >&2
  exit 1
}
