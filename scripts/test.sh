#!/bin/sh
# Builds everything (native, sanitizers + fuzz smoke runs, Win32 for x86 and x64) and runs every
# test this machine can run: the portable core natively and under ASan/UBSan, the Win32 code and
# the programs under 64-bit Wine always and under 32-bit Wine where the kernel runs 32-bit
# programs, then the release folder's checks over both sets.
set -eu
. "$(dirname "$0")/env.sh"

cmake -S . -B "$B/native" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$B/native" -j"$JOBS"
CC=clang CXX=clang++ cmake -S . -B "$B/sanitize" -DCMAKE_BUILD_TYPE=Debug \
  -DVEMBROL_SANITIZE=ON -DVEMBROL_FUZZ=ON -DVEMBROL_BENCH=OFF >/dev/null
cmake --build "$B/sanitize" -j"$JOBS"
win_build x64
win_build x86

passed=0
failed=0
# tests NAME DIR [ctest options]: runs one build's tests and adds up its ctest summary.
tests() {
  name=$1; dir=$2; shift 2
  echo "==== tests: $name"
  log="$dir/ctest.log"
  set +e
  ctest --test-dir "$dir" --output-on-failure "$@" >"$log" 2>&1
  set -e
  grep -E "^ *[0-9]+/[0-9]+ Test .*\*\*\*|Not Run|tests FAILED" "$log" || true
  summary=$(grep -E "tests passed, [0-9]+ tests failed out of [0-9]+" "$log" | tail -1)
  echo "$name: $summary"
  if [ -z "$summary" ]; then
    cat "$log"
    failed=$((failed + 1))
    return
  fi
  case "$name" in *"no Wine"*) ;; win*)
    cases=$(grep -oE "\[  PASSED  \] [0-9]+ test" "$log" | awk '{s += $4} END {print s + 0}')
    echo "$name: $cases GoogleTest cases passed under Wine" ;;
  esac
  f=$(echo "$summary" | sed -E 's/.* ([0-9]+) tests failed out of ([0-9]+).*/\1/')
  n=$(echo "$summary" | sed -E 's/.* ([0-9]+) tests failed out of ([0-9]+).*/\2/')
  passed=$((passed + n - f))
  failed=$((failed + f))
}

tests native "$B/native" -j"$JOBS"
tests sanitize "$B/sanitize" -j"$JOBS"
# Win32 tests share one prefix, desktop and tray: one at a time. Verbose, so that the GoogleTest
# cases inside each Wine-run executable can be counted.
tests "win64 (x64)" "$B/win64" -V -j1
if wine_loader x86; then
  tests "win32 (x86)" "$B/win32" -V -j1
else
  echo "==== x86: Win32 tests skipped, since $WINE_PROBLEM; only its checks without Wine run"
  tests "win32 (x86, no Wine)" "$B/win32" -R '^(imports\.system_dlls_only|release\.dist_folder)$'
fi

echo "==== release"
set +e
scripts/release.sh >"$B/release.log" 2>&1
set -e
grep -E "^release check|^release:" "$B/release.log" || cat "$B/release.log"
r=$(sed -nE 's/^release: ([0-9]+) checks, ([0-9]+) failed$/\1 \2/p' "$B/release.log")
if [ -z "$r" ]; then
  failed=$((failed + 1))
else
  passed=$((passed + ${r% *} - ${r#* }))
  failed=$((failed + ${r#* }))
fi
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
