#!/bin/sh
# installfile end to end: the sample text, written to a data file and printed, comes back
# byte for byte; a damaged data file is refused with exit code 1.
set -e
tool="$1"; sample="$2"; work="$3"
"$tool" write "$sample" "$work/roundtrip.dat"
"$tool" print "$work/roundtrip.dat" > "$work/roundtrip.txt"
cmp "$sample" "$work/roundtrip.txt"
head -c 20 "$work/roundtrip.dat" > "$work/cut.dat"
if "$tool" print "$work/cut.dat" > /dev/null 2> "$work/cut.err"; then echo "cut file accepted"; exit 1; fi
grep -q "no valid InstallFile" "$work/cut.err"
echo "installfile round trip: 1 passed, 0 failed"
