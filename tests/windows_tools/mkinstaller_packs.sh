#!/usr/bin/env bash
# mkinstaller_packs.sh WINDOWS_BUILD NATIVE_MKINSTALLER SOURCE_DIR, run by
# run-under-wine.sh: mkinstaller.exe packs the reference product into the
# same bytes as the windows build's setup.exe, and refuses bad commands with
# the native tool's message and exit code.
set -euo pipefail
windows=$1 native=$2 source=$3
fail() { echo "FAIL: $*" >&2; exit 1; }
[ -f "$windows/product/setup.exe" ] && [ -x "$native" ] || { echo "not built: $windows or $native" >&2; exit 77; }
cd "$TMPDIR"

# Under a name outside every ANSI code page, so that wide names are used.
product="prodüct-产品"
cp -r "$source/product" "$product"
cp -r "$windows/product/programs" programs
cp "$windows/app/setup-stub.exe" stub.exe
pack() { "$TOOL_RUNNER" "$TOOL_UNDER_TEST" "$product/manifest.toml" --stub stub.exe "$@"; }

start=$(date +%s.%N)
pack --source-dir programs -o setup.exe --no-progress
echo "mkinstaller.exe packed the product under Wine in $(echo "$(date +%s.%N) - $start" | bc) s"
cmp setup.exe "$windows/product/setup.exe" || fail "mkinstaller.exe packed other bytes than the windows build"
[ -z "$(find . -name '.*.??????')" ] || fail "temporaries left behind"

# Installed, mkinstaller.exe finds the stub beside itself.
mkdir -p kit/bin kit/share/mkinstaller
cp "$(winepath -u "$TOOL_UNDER_TEST")" kit/bin/ && cp stub.exe kit/share/mkinstaller/setup-stub.exe
"$TOOL_RUNNER" kit/bin/mkinstaller.exe "$product/manifest.toml" --source-dir programs -o kit.exe --no-progress
cmp kit.exe setup.exe || fail "the installed mkinstaller.exe packed other bytes"

mkdir empty
while IFS='|' read -r what arguments; do
    read -ra arguments <<<"$arguments"
    set +e
    "$native" "$product/manifest.toml" --stub stub.exe --no-progress "${arguments[@]}" 2>expected
    expected_status=$?
    pack --no-progress "${arguments[@]}" 2>actual
    status=$?
    set -e
    [ "$status" = "$expected_status" ] || fail "$what: exit $status, natively $expected_status"
    # Windows joins paths with its own separator.
    tr '\\' / <actual | cmp -s - expected || fail "$what: $(cat actual) natively $(cat expected)"
done <<EOF2
a missing input|--source-dir empty -o out.exe
the output over the manifest|--source-dir programs -o $product/manifest.toml
a missing source folder|--source-dir nowhere -o out.exe
EOF2
[ ! -e out.exe ] || fail "a refused command wrote out.exe"
echo "mkinstaller.exe agrees with mkinstaller"
