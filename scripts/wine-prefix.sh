# Sourced by every script that runs Wine: one way to name, set up and make the project's
# Wine prefixes.
#
# use_prefix [PATH]: exports WINEPREFIX (and KESTRIVO_WINEPREFIX, which the tests read) for
# PATH, else for KESTRIVO_WINEPREFIX, else the project's build/wine-prefix; quiet Wine, and
# neither .NET nor a browser engine asked for. make_prefix: makes that prefix when it has
# none yet and waits until its Wine processes have ended (so the next Wine process starts the
# wineserver afresh, on the display it sees). Returns 1 with a message when Wine cannot.
kestrivo_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

use_prefix() {
  export WINEPREFIX=${1:-${KESTRIVO_WINEPREFIX:-$kestrivo_root/build/wine-prefix}}
  export KESTRIVO_WINEPREFIX=$WINEPREFIX
  export WINEDEBUG=${WINEDEBUG:--all}
  export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
}

make_prefix() {
  [ -f "$WINEPREFIX/system.reg" ] && return 0
  mkdir -p "$WINEPREFIX"
  wineboot -i </dev/null >/dev/null 2>&1 || true
  wineserver -w >/dev/null 2>&1 || true
  [ -f "$WINEPREFIX/system.reg" ] && return 0
  echo "Wine could not make its prefix $WINEPREFIX (is wine64 installed? remove the folder and try again)" >&2
  return 1
}
