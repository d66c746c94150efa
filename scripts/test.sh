#!/bin/sh
# Builds everything (native, sanitizers + fuzz smoke runs, Win32) and runs every test: the
# portable core natively and under ASan/UBSan, the Win32 code and the programs under Wine.
set -eu
. "$(dirname "$0")/env.sh"

cmake -S . -B "$B/native" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$B/native" -j"$JOBS"
CC=clang CXX=clang++ cmake -S . -B "$B/sanitize" -DCMAKE_BUILD_TYPE=Debug \
  -DVEMBROL_SANITIZE=ON -DVEMBROL_FUZZ=ON -DVEMBROL_BENCH=OFF >/dev/null
cmake --build "$B/sanitize" -j"$JOBS"
cmake -S . -B "$B/win32" -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-i686.cmake" >/dev/null
cmake --build "$B/win32" -j"$JOBS"

passed=0
failed=0
for build in native sanitize win32; do
  echo "==== tests: $build"
  log="$B/$build/ctest.log"
  set +e
  if [ "$build" = win32 ]; then
    # Win32 tests share one prefix, desktop and tray: one at a time. Verbose, so that the
    # GoogleTest cases inside each Wine-run executable can be counted.
    ctest --test-dir "$B/$build" --output-on-failure -V -j1 >"$log" 2>&1
  else
    ctest --test-dir "$B/$build" --output-on-failure -j"$JOBS" >"$log" 2>&1
  fi
  set -e
  grep -E "^ *[0-9]+/[0-9]+ Test .*(Failed|Not Run|Timeout)|tests FAILED" "$log" || true
  summary=$(grep -E "tests passed, [0-9]+ tests failed out of [0-9]+" "$log" | tail -1)
  echo "$build: $summary"
  if [ "$build" = win32 ]; then
    cases=$(grep -oE "\[  PASSED  \] [0-9]+ test" "$log" | awk '{s += $4} END {print s + 0}')
    echo "win32: $cases GoogleTest cases passed under Wine"
  fi
  if [ -z "$summary" ]; then
    cat "$log"
    failed=$((failed + 1))
    continue
  fi
  f=$(echo "$summary" | sed -E 's/.* ([0-9]+) tests failed out of ([0-9]+).*/\1/')
  n=$(echo "$summary" | sed -E 's/.* ([0-9]+) tests failed out of ([0-9]+).*/\2/')
  passed=$((passed + n - f))
  failed=$((failed + f))
done
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
