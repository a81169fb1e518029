#!/usr/bin/env bash
# mkinstaller_packs.sh WINDOWS_BUILD CPACK TOOLS_BUILD SOURCE_DIR, run by
# run-under-wine.sh: mkinstaller.exe packs the reference product into the
# same bytes as the windows build's setup.exe, and so does the one unpacked
# from the tools' .zip (cpack in TOOLS_BUILD), finding the stub beside it,
# and the x64 stub for arch = "x64"; it refuses verify, which runs on Linux
# only.
set -euo pipefail
windows=$1 cpack=$2 tools=$3 source=$4
fail() { echo "FAIL: $*" >&2; exit 1; }
[ -f "$windows/product/setup.exe" ] || { echo "not built: $windows" >&2; exit 77; }
cd "$TMPDIR"

# Under a name outside every ANSI code page, so that wide names are used.
product="prodüct-产品"
cp -r "$source/product" "$product"
# A source file under such a name too; the row keeps its installed name.
sed -i 's/^name = "graph1.bmp"$/&\nsource = "gräph1-图.bmp"/' "$product/manifest.toml"
mv "$product/graph1.bmp" "$product/gräph1-图.bmp"
cp -r "$windows/product/programs" programs
cp "$windows/app/setup-stub.exe" stub.exe
pack() { "$TOOL_RUNNER" "$TOOL_UNDER_TEST" "$product/manifest.toml" --stub stub.exe "$@"; }

start=$(date +%s.%N)
pack --source-dir programs -o setup.exe --no-progress
echo "mkinstaller.exe packed the product under Wine in $(echo "$(date +%s.%N) - $start" | bc) s"
cmp setup.exe "$windows/product/setup.exe" || fail "mkinstaller.exe packed other bytes than the windows build"
[ -z "$(find . -name '.*.??????')" ] || fail "temporaries left behind"

# verify drives Wine on Linux: mkinstaller.exe says so.
status=0 && "$TOOL_RUNNER" "$TOOL_UNDER_TEST" verify "$product/manifest.toml" setup.exe 2>message || status=$?
[ "$status" = 2 ] && grep -q "verify needs Wine and runs on Linux only" message || fail "verify: exit $status, $(cat message)"

# The tools' .zip, unpacked: its mkinstaller.exe finds the stub beside it.
(cd "$tools" && "$cpack" -B "$TMPDIR/packages" >/dev/null)
python3 -m zipfile -e "$TMPDIR"/packages/mkinstaller-*-windows-x86_64.zip unpacked
grep -q keep_existing unpacked/*/doc/mkinstaller.html || fail "the .zip has no manifest reference"
"$TOOL_RUNNER" unpacked/*/bin/mkinstaller.exe "$product/manifest.toml" --source-dir programs -o kit.exe --no-progress
cmp kit.exe setup.exe || fail "the mkinstaller.exe of the .zip packed other bytes"

# With arch = "x64" it takes the x64 stub beside it: the windows-x64 build's setup.exe.
x64="$windows/../windows-x64"
[ -f "$x64/product/setup.exe" ] || fail "not built: $x64/product/setup.exe"
sed 's/^\[product\]$/&\narch = "x64"/' "$product/manifest.toml" >"$product/manifest-x64.toml"
cp -r "$x64/product/programs" programs-x64
"$TOOL_RUNNER" unpacked/*/bin/mkinstaller.exe "$product/manifest-x64.toml" --source-dir programs-x64 \
    -o kit-x64.exe --no-progress
cmp kit-x64.exe "$x64/product/setup.exe" || fail "the mkinstaller.exe of the .zip packed another x64 setup.exe"
echo "mkinstaller.exe, built and from the .zip, packs as mkinstaller"
