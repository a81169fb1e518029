#!/usr/bin/env bash
# lzari_interop.sh NATIVE_LZARI, run by run-under-wine.sh: lzari and
# lzari.exe write the same container for the same file and each decodes the
# other's; a name outside every ANSI code page goes through lzari.exe and
# back, bytes, time and name intact, and is listed in UTF-8.
set -euo pipefail
native=$1
wine_lzari() { "$TOOL_RUNNER" "$TOOL_UNDER_TEST" "$@"; }
fail() { echo "FAIL: $*" >&2; exit 1; }
cd "$TMPDIR"

seq 1 30000 >data
touch -d @1700000000 data
cp -p data linux && cp -p data windows
"$native" linux
wine_lzari windows
cmp linux.lzr windows.lzr || fail "lzari and lzari.exe wrote different containers"
"$native" -dc windows.lzr | cmp - data || fail "lzari does not decode lzari.exe's container"
wine_lzari -dc linux.lzr | cmp - data || fail "lzari.exe does not decode lzari's container"

name="ünïcødé-文件.txt"
cp -p data "$name"
wine_lzari "$name"
[ -f "$name.lzr" ] && [ ! -e "$name" ] || fail "lzari.exe did not replace $name by $name.lzr"
cmp "$name.lzr" linux.lzr || fail "the container of $name differs"
wine_lzari -l "$name.lzr" | grep -qF " $name.lzr" || fail "lzari.exe -l does not show $name.lzr"
wine_lzari -d "$name.lzr"
cmp "$name" data || fail "$name did not come back"
[ "$(stat -c %Y "$name")" = 1700000000 ] || fail "$name lost its modification time"
# cmd hands wildcards over as they are typed: lzari.exe expands those
# outside quotes, keeps one that matches nothing, and leaves quoted ones.
mkdir globs && cp linux.lzr globs/b.lzr && cp linux.lzr globs/a.lzr && cp data globs/c.txt
listed=$(wine_lzari -l 'globs\*.lzr' | awk 'NR > 1 { print $NF }' | tr -d '\r' | tr '\n' ' ')
[ "$listed" = 'globs\a.lzr globs\b.lzr ' ] || fail "lzari.exe -l globs\*.lzr listed '$listed'"
for pattern in 'globs\none*.lzr' 'globs\ *.lzr'; do
    output=$(wine_lzari -t "$pattern" 2>&1) && fail "lzari.exe -t '$pattern' succeeded"
    grep -qF "$pattern:" <<<"$output" || fail "lzari.exe -t '$pattern' said: $output"
done
echo "lzari.exe agrees with lzari"
