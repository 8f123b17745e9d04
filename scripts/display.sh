# Sourced by the scripts that start windowed Wine programs. A prefix's wineserver keeps the
# display of the process that started it, so the display is chosen before the first Wine
# process of a run, and every Wine step of the run sees the display its windows will use.
own_xvfb_pid=

display_answers() { xdpyinfo -display "$1" >/dev/null 2>&1; }

# start_xvfb FIRST: starts a private Xvfb on the first free display number from FIRST on and
# exports DISPLAY for it; own_xvfb_pid is its process. Returns 1 with a message when none starts.
start_xvfb() {
  local n=${1:-90} tries
  if ! command -v Xvfb >/dev/null 2>&1; then
    echo "no display: Xvfb is missing (install the package xvfb: bash scripts/setup.sh as root)" >&2
    return 1
  fi
  for tries in $(seq 20); do
    while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    own_xvfb_pid=$!
    for _ in $(seq 50); do
      display_answers ":$n" && { export DISPLAY=":$n"; return 0; }
      kill -0 "$own_xvfb_pid" 2>/dev/null || break
      sleep 0.1
    done
    kill "$own_xvfb_pid" 2>/dev/null; wait "$own_xvfb_pid" 2>/dev/null
    own_xvfb_pid=
    n=$((n + 1))
  done
  echo "no display: Xvfb did not start on any of $tries display numbers (try: Xvfb :$n, and see its messages)" >&2
  return 1
}

# use_display FIRST: keeps DISPLAY when it names a display that answers, else a private Xvfb.
use_display() {
  if [ -n "${DISPLAY:-}" ]; then
    display_answers "$DISPLAY" && return 0
    echo "display $DISPLAY does not answer; using a private Xvfb display instead" >&2
  fi
  start_xvfb "${1:-90}"
}

# Ends the private Xvfb, if this run started one.
end_display() {
  if [ -n "$own_xvfb_pid" ]; then kill "$own_xvfb_pid" 2>/dev/null; wait "$own_xvfb_pid" 2>/dev/null; fi
  own_xvfb_pid=
  return 0
}
