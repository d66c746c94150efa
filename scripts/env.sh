# Shared start of the demo and test scripts: the repository root, the build folder, the job
# count, and whatever is still missing installed.
cd "$(dirname "$0")/.."
ROOT=$(pwd)
B="${VEMBROL_BUILD_DIR:-$ROOT/build}"
JOBS=$(nproc)
scripts/setup.sh
