#!/bin/sh
# Builds the release folder, build/release/x86 and build/release/x64 (each exactly the two
# programs), checks both sets (architecture, manifest, GUI, imports), then builds both sets a
# second time in another folder and checks that every byte is the same. Prints the sizes and
# SHA-256 sums, and a last line "release: N checks, N failed".
set -eu
. "$(dirname "$0")/env.sh"

REL="$B/release"
REPRO="$B/repro"
checks=0
failed=0
check() { # name command...
  name=$1; shift
  checks=$((checks + 1))
  if "$@"; then echo "release check passed: $name"; else echo "release check FAILED: $name"; failed=$((failed + 1)); fi
}

for arch in x86 x64; do
  win_build "$arch" "" dist
done
rm -rf "$REL"
mkdir -p "$REL"
for arch in x86 x64; do
  cp -a "$(win_dir "$arch")/dist/$arch" "$REL/$arch"
done
check "both sets" sh "$ROOT/tests/release/check-dist.sh" "$REL" "$ROOT/cmake/check-imports.sh"

# The second build starts from nothing, in another folder, a little later.
rm -rf "$REPRO"
sleep 1
for arch in x86 x64; do
  win_build "$arch" "$REPRO/$arch" dist >/dev/null
done
same_bytes() {
  ok=0
  for arch in x86 x64; do
    for exe in "Uninstall.exe" "Vembrol Starter.exe"; do
      cmp -s "$REL/$arch/$exe" "$REPRO/$arch/dist/$arch/$exe" || { echo "  $arch/$exe differs between two builds" >&2; ok=1; }
    done
  done
  return $ok
}
check "same bytes from two builds" same_bytes

echo "Release folder $REL (size, SHA-256 of this build and of the second one):"
for arch in x86 x64; do
  for exe in "Uninstall.exe" "Vembrol Starter.exe"; do
    size=$(stat -c %s "$REL/$arch/$exe")
    one=$(sha256sum "$REL/$arch/$exe" | cut -c1-64)
    two=$(sha256sum "$REPRO/$arch/dist/$arch/$exe" | cut -c1-64)
    manifest=$(grep -ao 'processorArchitecture="[^"]*"' "$REL/$arch/$exe" | head -1)
    printf '  %s/%-20s %7s bytes  %s  %s  %s\n' "$arch" "$exe" "$size" "$one" "$([ "$one" = "$two" ] && echo same || echo "DIFFERS: $two")" "$manifest"
  done
done
echo "release: $checks checks, $failed failed"
[ "$failed" -eq 0 ]
