#!/usr/bin/env bash
# Prints how long mkinstaller takes to pack 20 MB on 1 and on 2 threads:
# once as one 20 MB file (a single file is packed by a single thread) and
# once as four 5 MB files. The content mixes text and program bytes.
# Usage: pack_benchmark.sh MKINSTALLER STUB   (the stub: build/windows/app/setup-stub.exe)
set -euo pipefail
mkinstaller=${1:?usage: pack_benchmark.sh MKINSTALLER STUB}
stub=${2:?usage: pack_benchmark.sh MKINSTALLER STUB}
here=$(cd "$(dirname "$0")/../.." && pwd)

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

make_content() {  # size-in-bytes seed
    { for f in /usr/bin/cmake /usr/bin/ld.bfd /usr/share/common-licenses/GPL-3 /usr/bin/perl; do
          [ -r "$f" ] && cat "$f"; done; } > "$work/pool"
    python3 - "$1" "$2" "$work/pool" <<'PY'
import random, sys
size, seed, pool = int(sys.argv[1]), int(sys.argv[2]), open(sys.argv[3], 'rb').read()
rng = random.Random(seed)
out = bytearray()
while len(out) < size:
    start = rng.randrange(0, len(pool) - 65536)
    out += pool[start:start + rng.randrange(4096, 65536)]
sys.stdout.buffer.write(bytes(out[:size]))
PY
}

write_manifest() {  # folder rows...
    local folder=$1; shift
    cp "$here/product/logo.bmp" "$here/product/icon.ico" "$folder/"
    printf 'program' > "$folder/Bench.EXE"
    {
        printf '[product]\nname = "Bench"\nversion = "1"\ndefault_folder = '"'"'C:\\Bench'"'"'\n'
        printf 'group = "Bench"\ndescription = ["Bench", "by Bench", "Town, State"]\n'
        printf 'logo = "logo.bmp"\nicon = "icon.ico"\n'
        for row in Bench.EXE "$@"; do printf '[[file]]\nname = "%s"\ntime = 2000-01-01T00:00:00Z\n' "$row"; done
    } > "$folder/manifest.toml"
}

mkdir -p "$work/one" "$work/four"
make_content 20971520 1 > "$work/one/big.dat"
write_manifest "$work/one" big.dat
for i in 1 2 3 4; do make_content 5242880 "$((i + 1))" > "$work/four/part$i.dat"; done
write_manifest "$work/four" part1.dat part2.dat part3.dat part4.dat

for product in one four; do
    for jobs in 1 2; do
        start=$(date +%s.%N)
        summary=$("$mkinstaller" "$work/$product/manifest.toml" --stub "$stub" -o "$work/$product.exe" \
                  -j "$jobs" --progress 2>&1 | tail -1)
        end=$(date +%s.%N)
        awk -v p="$product" -v j="$jobs" -v s="${summary#mkinstaller: }" -v a="$start" -v b="$end" \
            'BEGIN { printf "%-5s -j %s: %s (whole run %.2f s)\n", p, j, s, b - a }'
    done
done
