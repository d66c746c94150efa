# Shared start of the demo, test and release scripts: the repository root, the build folder, the
# job count, whatever is still missing installed, and the Windows builds by architecture.
cd "$(dirname "$0")/.."
ROOT=$(pwd)
B="${VEMBROL_BUILD_DIR:-$ROOT/build}"
JOBS=$(nproc)
scripts/setup.sh
. "$ROOT/cmake/wine-loader.sh"

# The build folder of an architecture's Windows programs: x86 (what ships first) or x64.
win_dir() {
  case "$1" in x64) echo "$B/win64" ;; *) echo "$B/win32" ;; esac
}
# win_build x86|x64 [folder] [target ...]: configures and builds that architecture's tree.
win_build() {
  wb_dir=${2:-$(win_dir "$1")}
  case "$1" in x64) wb_toolchain=mingw-x86_64 ;; *) wb_toolchain=mingw-i686 ;; esac
  shift; [ "$#" -gt 0 ] && shift
  cmake -S "$ROOT" -B "$wb_dir" -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/$wb_toolchain.cmake" >/dev/null
  if [ "$#" -gt 0 ]; then
    cmake --build "$wb_dir" -j"$JOBS" --target "$@"
  else
    cmake --build "$wb_dir" -j"$JOBS"
  fi
}
