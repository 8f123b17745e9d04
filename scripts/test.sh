#!/usr/bin/env bash
# Builds everything and runs every test, one step a build: the native build (GCC; unit and
# round-trip tests, benchmarks built), the sanitizer build (clang, ASan and UBSan; the same
# tests and a short run of each fuzz target) and the Windows build (MinGW-w64) under Wine.
# Installs what it needs first. Exits non-zero on any failure.
#
# A reader or tool that the tests need and that is missing fails the run before anything is
# built. KESTRIVO_ALLOW_MISSING_TOOLS=1 lets a developer run anyway; the tests that need the
# missing tool are then reported as skipped ("did not run"), never as passed.
# KESTRIVO_FUZZ_SECONDS sets each fuzz target's run (default 10), KESTRIVO_JOBS the build and
# test parallelism (default: the processor count), KESTRIVO_BUILD_DIR the build folder,
# KESTRIVO_DISPLAY_FROM the first display number tried for the private Xvfb (default 90).
set -uo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
bash scripts/setup.sh || exit 1

jobs=${KESTRIVO_JOBS:-$(nproc)}
build=${KESTRIVO_BUILD_DIR:-$root/build}
fuzz_seconds=${KESTRIVO_FUZZ_SECONDS:-10}
python=${KESTRIVO_PYTHON:-/usr/bin/python3}
failed=0
summaries=()

step() { echo; echo "==== $*"; }

# Each tool the tests need: a name, the package that brings it, and a command that succeeds
# when it can run.
tools=(
  "zxing-cpp reader (python3 zxingcpp and PIL)|python3-zxing-cpp python3-pil|$python -c 'import zxingcpp, PIL'"
  "zbarimg|zbar-tools|zbarimg --version"
  "Ghostscript|ghostscript|gs --version"
  "fontforge (python3 fontforge)|python3-fontforge|/usr/bin/python3 -c 'import fontforge'"
  "clang++ with libFuzzer|clang libclang-rt-14-dev|command -v clang++"
  "MinGW-w64 compiler|g++-mingw-w64-x86-64-posix|command -v x86_64-w64-mingw32-g++-posix"
  "MinGW-w64 objdump|binutils-mingw-w64-x86-64|command -v x86_64-w64-mingw32-objdump"
  "Wine (64-bit)|wine64|command -v wine && command -v wineserver && command -v winepath"
  "Apache FOP with a Java runtime|fop default-jre-headless|command -v fop && command -v java"
  "pdftoppm and pdffonts|poppler-utils|command -v pdftoppm && command -v pdffonts"
  "xmllint|libxml2-utils|command -v xmllint"
)

check_tools() {
  local entry name package check missing=0
  for entry in "${tools[@]}"; do
    IFS='|' read -r name package check <<<"$entry"
    if ! bash -c "$check" >/dev/null 2>&1; then
      echo "MISSING: $name (Debian package $package)"
      missing=1
    fi
  done
  [ "$missing" -eq 0 ] && return 0
  if [ "${KESTRIVO_ALLOW_MISSING_TOOLS:-}" = 1 ]; then
    echo "KESTRIVO_ALLOW_MISSING_TOOLS=1: going on; the tests that need these are skipped, not passed"
    return 0
  fi
  echo "The tests need every tool above: install them (bash scripts/setup.sh as root), or set"
  echo "KESTRIVO_ALLOW_MISSING_TOOLS=1 to run without them."
  return 1
}

# Runs ctest in a build tree and keeps its closing summary line.
run_ctest() {
  local name=$1 dir=$2 log rc line
  log=$(mktemp)
  (cd "$dir" && ctest -j"$jobs" --output-on-failure --timeout 900) 2>&1 | tee "$log"
  rc=${PIPESTATUS[0]}
  line=$(grep -E 'tests passed, [0-9]+ tests failed out of' "$log" | tail -1)
  summaries+=("$name: ${line:-no summary (ctest exit $rc)}")
  [ "$rc" -eq 0 ] || failed=1
  rm -f "$log"
}

# Configures a tree by its preset (CMakePresets.json) in <build>/<preset> and builds it; the
# build's own result decides (grep only hides progress).
configure_build() {
  local preset=$1 dir=$build/$1
  cmake --preset "$preset" -S "$root" -B "$dir" >/dev/null || return 1
  cmake --build "$dir" -j"$jobs" -- --no-print-directory 2>&1 |
    grep -vE '^\[ *[0-9]+%\]|^(Consolidate|Scanning|Built target)'
  return "${PIPESTATUS[0]}"
}

# Runs every fuzz target of a build tree for fuzz_seconds, up to `jobs` at once, each over a
# fresh corpus and its checked-in seeds (tests/fuzz/seeds/<target>, read only; a *_stream
# target shares the seeds of its symbol target). A failing input is kept below
# <build>/fuzz-artifacts.
run_fuzz() {
  local dir=$1 f name logs pass=0 fail=0 running=0
  logs=$(mktemp -d)
  mkdir -p "$build/fuzz-artifacts"
  for f in "$dir"/tests/fuzz/fuzz_*; do
    [ -x "$f" ] || continue
    name=$(basename "$f")
    (
      corpus=$logs/$name.corpus; mkdir -p "$corpus"
      seeds=$root/tests/fuzz/seeds/${name#fuzz_}; seeds=${seeds%_stream}
      seed_dirs=(); [ -d "$seeds" ] && seed_dirs=("$seeds")
      "$f" -max_total_time="$fuzz_seconds" -max_len=4096 -timeout=30 -print_final_stats=1 \
        -artifact_prefix="$build/fuzz-artifacts/$name-" \
        "$corpus" ${seed_dirs[@]+"${seed_dirs[@]}"} >"$logs/$name.log" 2>&1
      echo $? >"$logs/$name.rc"
    ) &
    running=$((running + 1))
    if [ "$running" -ge "$jobs" ]; then wait -n; running=$((running - 1)); fi
  done
  wait
  for f in "$logs"/*.rc; do
    [ -e "$f" ] || continue
    name=$(basename "$f" .rc)
    if [ "$(cat "$f")" = 0 ]; then
      pass=$((pass + 1))
      echo "$name: clean ($(sed -n 's/^stat::number_of_executed_units: *//p' "$logs/$name.log") runs)"
    else
      fail=$((fail + 1)); failed=1
      echo "$name: FAILED"; tail -40 "$logs/$name.log"
    fi
  done
  rm -rf "$logs"
  summaries+=("fuzz: $pass passed, $fail failed")
}

native_step() {
  step "native build (GCC) and tests"
  if configure_build native; then
    run_ctest native "$build/native"
  else
    echo "native build failed"; failed=1; summaries+=("native: build failed")
  fi
}

sanitizer_step() {
  step "sanitizer build (clang, ASan and UBSan): tests, then the fuzz targets for ${fuzz_seconds}s each"
  if configure_build sanitize; then
    ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
      run_ctest sanitizers "$build/sanitize"
    run_fuzz "$build/sanitize"
  else
    echo "sanitizer build failed"; failed=1; summaries+=("sanitizers: build failed" "fuzz: build failed")
  fi
}

# The window tests get an Xvfb display of their own (the first free number from 90), chosen
# before the prefix's first Wine process, and a prefix whose windows Wine places itself, so
# that closing a top-level window takes no seconds.
source "$root/scripts/display.sh"
source "$root/scripts/wine-prefix.sh"

windows_step() {
  step "Windows build (MinGW-w64) and tests under Wine"
  use_prefix "$build/wine-prefix"
  wineserver -k >/dev/null 2>&1; wineserver -w >/dev/null 2>&1  # one left from before keeps its display
  if ! start_xvfb "${KESTRIVO_DISPLAY_FROM:-90}"; then failed=1; summaries+=("windows: no display"); return; fi
  trap 'wineserver -k >/dev/null 2>&1 || true; end_display' EXIT
  if ! make_prefix; then failed=1; summaries+=("windows: no Wine prefix"); return; fi
  wineserver -p  # persistent: each Wine start then costs a fraction of a second
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >/dev/null 2>&1
  # Start Wine's own services now, detached from any test's output, so that they do not keep
  # a test runner's pipes open.
  wine cmd.exe /c exit </dev/null >/dev/null 2>&1 || true
  if configure_build win; then
    run_ctest windows "$build/win"
  else
    echo "Windows build failed"; failed=1; summaries+=("windows: build failed")
  fi
}

step "tools the tests need"
check_tools || exit 1
native_step
sanitizer_step
windows_step

step "summary"
printf '%s\n' "${summaries[@]}"
exit $failed
