#!/usr/bin/env bash
# Packs the reference product twice, from two different folders, temporary
# folders and thread counts, with nothing on the PATH (no compiler or
# linker runs), and checks that both setup programs are byte for byte the
# build's own setup.exe and that no host path is inside.
# Usage: test_reproducible.sh MKINSTALLER MANIFEST STUB BUILT_SETUP_EXE SOURCE_DIR...
set -euo pipefail
mkinstaller=$1 manifest=$2 stub=$3 built=$4
shift 4
source_dirs=() programs=$1
for dir in "$@"; do source_dirs+=(--source-dir "$dir"); done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/first/deeper" "$work/second" "$work/tmp1" "$work/tmp2"

pack() {  # folder tmpdir output jobs
    (cd "$1" && PATH=/nonexistent TMPDIR=$2 "$mkinstaller" "$manifest" "${source_dirs[@]}" --stub "$stub" \
        -o "$3" -j "$4" --no-progress)
}
pack "$work/first/deeper" "$work/tmp1" setup.exe 1
pack "$work/second" "$work/tmp2" other-name.exe 2

cmp "$work/first/deeper/setup.exe" "$work/second/other-name.exe"
cmp "$work/first/deeper/setup.exe" "$built"

status=0
for path in "$work" "$(dirname "$manifest")" "$(dirname "$programs")" "$(dirname "$stub")" mkinstaller.; do
    if strings -a "$built" | grep -F -q -- "$path"; then
        echo "setup.exe holds the host path $path" >&2
        status=1
    fi
done
if find "$work/tmp1" "$work/tmp2" -mindepth 1 | grep -q .; then
    echo "temporary files left behind" >&2
    status=1
fi
exit $status
