#!/usr/bin/env bash
# Prints the size of a setup.exe's runtime part, the file less the raw data of
# its resource section (the product it carries), and its hardening flags.
# Exits 1 when ASLR, DEP, the relocations or large-address awareness are
# missing, or, for an x64 setup.exe, high-entropy ASLR.
#   scripts/runtime-size.sh [SETUP.EXE]     (default: the reference product's, i686)
set -euo pipefail

exe=${1:-$(dirname "$0")/../build/windows/product/setup.exe}
[ -f "$exe" ] || { echo "runtime-size: no such file: $exe" >&2; exit 1; }

# Little-endian unsigned field of `width` bytes at `offset`.
field() { od -An -t "u$2" --endian=little -j "$1" -N "$2" "$exe" | tr -d ' '; }
grouped() { printf '%d' "$1" | sed ':a;s/\B[0-9]\{3\}\>/,&/;ta'; }

pe=$(field 60 4)
sections=$(field $((pe + 6)) 2)
table=$((pe + 24 + $(field $((pe + 20)) 2)))
rsrc=0
for ((i = 0; i < sections; i++)); do
  header=$((table + 40 * i))
  name=$(dd if="$exe" bs=1 skip="$header" count=8 status=none | tr -d '\0')
  [ "$name" = .rsrc ] && rsrc=$(field $((header + 16)) 4)
done
total=$(stat -c %s "$exe")

# The x86_64 objdump reads both PE32 and PE32+.
headers=$(x86_64-w64-mingw32-objdump -p "$exe")
wanted=(DYNAMIC_BASE NX_COMPAT)
grep -q 'PE32+' <<<"$headers" && wanted+=(HIGH_ENTROPY_VA)
flags=() missing=0
for flag in "${wanted[@]}"; do
  if grep -qw "$flag" <<<"$headers"; then flags+=("$flag"); else flags+=("no-$flag"); missing=1; fi
done
if grep -q 'large address aware' <<<"$headers"; then flags+=(LARGE_ADDRESS_AWARE); else flags+=(no-LARGE_ADDRESS_AWARE); missing=1; fi
if grep -Eq 'Entry 5 [0-9a-f]+ 0*[1-9a-f][0-9a-f]* Base Relocation' <<<"$headers"; then
  flags+=(relocations)
else
  flags+=(no-relocations); missing=1
fi

echo "runtime: $(grouped $((total - rsrc))) bytes (setup.exe $(grouped "$total") less .rsrc $(grouped "$rsrc")); ${flags[*]}"
exit "$missing"
