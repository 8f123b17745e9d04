#!/usr/bin/env bash
# Builds everything and runs every test: the native unit and round-trip tests, the same under
# AddressSanitizer and UndefinedBehaviorSanitizer, the Windows build under Wine, and a short
# run of each fuzz target. Installs what it needs first. Exits non-zero on any failure.
set -uo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
bash scripts/setup.sh || exit 1

jobs=$(nproc)
build=${KESTRIVO_BUILD_DIR:-$root/build}
fuzz_seconds=${KESTRIVO_FUZZ_SECONDS:-5}
failed=0
summaries=()

step() { echo; echo "==== $*"; }

# Runs ctest in a build tree and keeps its closing summary line.
run_ctest() {
  local name=$1 dir=$2 log
  log=$(mktemp)
  (cd "$dir" && ctest -j"$jobs" --output-on-failure --timeout 900) 2>&1 | tee "$log"
  local rc=${PIPESTATUS[0]}
  local line
  line=$(grep -E 'tests passed, [0-9]+ tests failed out of' "$log" | tail -1)
  summaries+=("$name: ${line:-no summary (ctest exit $rc)}")
  [ "$rc" -eq 0 ] || failed=1
  rm -f "$log"
}

configure_build() {
  local dir=$1; shift
  cmake -S "$root" -B "$dir" -DKESTRIVO_WERROR=ON "$@" >/dev/null &&
    cmake --build "$dir" -j"$jobs" -- --no-print-directory 2>&1 | grep -vE '^\[ *[0-9]+%\]|^(Consolidate|Scanning|Built target)' || true
  # grep hides progress lines; the build's own result decides.
  cmake --build "$dir" -j"$jobs" >/dev/null 2>&1
}

step "native build and tests"
if configure_build "$build/native" -DCMAKE_BUILD_TYPE=RelWithDebInfo; then
  run_ctest native "$build/native"
else
  echo "native build failed"; failed=1; summaries+=("native: build failed")
fi

step "sanitizer build (ASan, UBSan) and tests"
if configure_build "$build/asan" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKESTRIVO_SANITIZE=ON -DKESTRIVO_BENCHMARKS=OFF; then
  ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 run_ctest sanitizers "$build/asan"
else
  echo "sanitizer build failed"; failed=1; summaries+=("sanitizers: build failed")
fi

# The window tests get an Xvfb display of their own (the first free number) and a prefix whose
# windows Wine places itself, so that closing a top-level window takes no seconds.
start_display() {
  local n=90
  while :; do
    while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
    kill -0 "$xvfb_pid" 2>/dev/null && break
    n=$((n + 1))
  done
  export DISPLAY=":$n"
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >/dev/null 2>&1
}

step "Windows build (MinGW-w64) and tests under Wine"
export KESTRIVO_WINEPREFIX=$build/wine-prefix
export WINEPREFIX=$KESTRIVO_WINEPREFIX WINEDEBUG=-all
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  mkdir -p "$WINEPREFIX"; wineboot -i >/dev/null 2>&1; wineserver -w
fi
wineserver -p  # persistent: each Wine start then costs a fraction of a second
start_display
trap 'wineserver -k >/dev/null 2>&1 || true; [ -n "${xvfb_pid:-}" ] && kill "$xvfb_pid" 2>/dev/null' EXIT
# Start Wine's own services now, detached from any test's output, so that they do not keep
# a test runner's pipes open.
wine cmd.exe /c exit </dev/null >/dev/null 2>&1 || true
if configure_build "$build/win" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" -DCMAKE_BUILD_TYPE=Release; then
  run_ctest windows "$build/win"
else
  echo "Windows build failed"; failed=1; summaries+=("windows: build failed")
fi

step "fuzz targets (libFuzzer), ${fuzz_seconds}s each"
if configure_build "$build/fuzz" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DKESTRIVO_FUZZ=ON -DBUILD_TESTING=ON; then
  fuzz_pass=0 fuzz_fail=0
  for f in "$build"/fuzz/tests/fuzz/fuzz_*; do
    [ -x "$f" ] || continue
    corpus=$(mktemp -d)
    # A target's seed folder, when there is one, is a second corpus that is only read.
    seeds=$root/tests/fuzz/seeds/$(basename "$f" | sed 's/^fuzz_//')
    seed_dirs=(); [ -d "$seeds" ] && seed_dirs=("$seeds")
    if "$f" -max_total_time="$fuzz_seconds" -max_len=4096 -print_final_stats=0 "$corpus" ${seed_dirs[@]+"${seed_dirs[@]}"} >"$corpus.log" 2>&1; then
      fuzz_pass=$((fuzz_pass + 1)); echo "$(basename "$f"): clean ($(grep -oE '#[0-9]+' "$corpus.log" | tail -1 | tr -d '#') runs)"
    else
      fuzz_fail=$((fuzz_fail + 1)); failed=1; echo "$(basename "$f"): FAILED"; tail -40 "$corpus.log"
    fi
    rm -rf "$corpus" "$corpus.log"
  done
  summaries+=("fuzz: $fuzz_pass passed, $fuzz_fail failed")
else
  echo "fuzz build failed"; failed=1; summaries+=("fuzz: build failed")
fi

step "summary"
printf '%s\n' "${summaries[@]}"
exit $failed
