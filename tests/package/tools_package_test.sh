#!/usr/bin/env bash
# The tools' .tar.gz, installed into a fresh prefix, packs the reference product from outside
# the tree (the stub found beside mkinstaller) into the build's own setup.exe, and with
# arch = "x64" into the windows-x64 build's; the .deb is the same, and lintian finds no
# error or warning in it.
set -euo pipefail
# cpack, the build that packages, the manifest, its programs, the setup.exe
# they were packed into, the windows-x64 build
cpack=$1 build=$2 manifest=$3 programs=$4 built=$5 x64=$6
work=$(mktemp -d); trap 'rm -rf "$work"' EXIT
mkdir "$work/prefix" "$work/elsewhere"
(cd "$build" && "$cpack" -B "$work/packages" >/dev/null)
tar -xzf "$work"/packages/*.tar.gz -C "$work/prefix" --strip-components=1
dpkg-deb -x "$work"/packages/*.deb "$work/deb"
diff -r "$work/prefix" "$work/deb/usr"
if ! lint=$(lintian --fail-on error,warning --display-level '>=warning' "$work"/packages/*.deb 2>&1); then
    printf '%s\n' "$lint" >&2
    exit 1
fi
cd "$work/prefix" && ls bin/lzari share/mkinstaller/driver.exe share/mkinstaller/driver-x64.exe \
    share/mkinstaller/setup-stub-x64.exe share/man/man1/mkinstaller.1.gz share/man/man1/lzari.1.gz >/dev/null
cd "$work/elsewhere" && "$work/prefix/bin/mkinstaller" "$manifest" --source-dir "$programs" -o setup.exe --no-progress
cmp setup.exe "$built"
sed 's/^\[product\]$/&\narch = "x64"/' "$manifest" >manifest-x64.toml
"$work/prefix/bin/mkinstaller" manifest-x64.toml --source-dir "$x64/product/programs" \
    --source-dir "$(dirname "$manifest")" -o setup-x64.exe --no-progress
cmp setup-x64.exe "$x64/product/setup.exe"
