# The installer's rows of scripts/bench.sh, which sources this file (with
# $work, $root and row): mkinstaller's packing time and peak memory, and
# for each stub the time from starting setup.exe to its folder prompt under
# Wine, split into Wine's start of a process, unpacking and the rest, with
# the unpacking against lzari's decoding of the same payloads, and the
# installer's peak memory. PRODUCT_MIB (default "20 200") sets the sizes.

# Real files, binaries and text in turn, copied into DIR up to MIB MiB (a
# file that would go over is passed by; the first is always taken); their
# names, one per line, in install order.
gather_product() { # MIB DIR
    local limit=$(($1 << 20)) total=0 n=0 file size
    mkdir -p "$2"
    while IFS= read -r file; do
        size=$(stat -c %s "$file")
        [ "$n" -eq 0 ] || [ $((total + size)) -le "$limit" ] || continue
        n=$((n + 1))
        cp "$file" "$2/F$(printf %05d "$n").BIN"
        echo "F$(printf %05d "$n").BIN"
        total=$((total + size))
        [ "$total" -lt $((limit - limit / 100)) ] || break
    done < <(paste -d '\n' <(find /usr/lib/x86_64-linux-gnu -maxdepth 1 -type f -size +8k | sort) \
        <(find /usr/share/doc /usr/include -type f -size +8k | sort) | grep .)
}

# The manifest of a product whose program is the reference product's and
# whose other rows are NAMES (stdin); the logo and icon are the reference's.
write_manifest() { # DIR ARCH
    cp "$root/product/logo.bmp" "$root/product/icon.ico" "$1/"
    printf '[product]\nname = "Bench"\nversion = "1.0"\ndefault_folder = %s\ngroup = "Bench"\n' "'C:\\Bench'"
    printf 'description = ["A product of real files", "packed to be timed", "by scripts/bench.sh"]\n'
    printf 'logo = "logo.bmp"\nicon = "icon.ico"\narch = "%s"\n\n[[file]]\nname = "Bench.EXE"\n' "$2"
    while IFS= read -r name; do printf '\n[[file]]\nname = "%s"\n' "$name"; done
}

# mkinstaller's wall time and peak memory for a product: "S s, MB MB".
pack_figures() { # MANIFEST STUB OUT
    local figures
    figures=$( { /usr/bin/time -f '%e %M' build/release/tools/mkinstaller/mkinstaller "$1" --stub "$2" -o "$3" \
        --no-progress >/dev/null; } 2>&1 | tail -1)
    echo "${figures% *} s, $((${figures#* } / 1024)) MB"
}

# Seconds (3 decimals) from the driver's start of PROGRAM to the prompt, or
# to the program's exit when PROGRAM is no installer; then its peak memory.
driver_times() { # DRIVER PROGRAM prompt|exit
    local steps=(start "$2") line started="" shown="" memory=0 pid
    if [ "$3" = prompt ]; then
        # The pause keeps the installer up while its memory is read.
        steps+=(wait-visible SelectButton 1 600000 sleep 2000)
    else
        steps+=(wait-exit 0)
    fi
    while IFS= read -r line; do
        case ${line%$'\r'} in
            "ok   step 1 "*) started=$EPOCHREALTIME ;;
            "ok   step 2 "*)
                shown=$EPOCHREALTIME
                # The largest of the processes named after it: the installer's.
                for pid in $(pgrep -f 'bench.Bench' || true); do
                    memory=$(awk -v m="$memory" '/VmHWM/ { k = int($2 / 1024); print (k > m ? k : m) }' \
                        "/proc/$pid/status" 2>/dev/null || echo "$memory")
                done ;;
        esac
    done < <(wine_layer run "$WINEPREFIX" "$1" "${steps[@]}" 2>&1)
    wine_prefix_finish
    [ -n "$started" ] && [ -n "$shown" ] || { echo "n/a n/a"; return; }
    echo "$(awk -v a="$started" -v b="$shown" 'BEGIN { printf "%.3f", b - a }') $memory"
}

# The rows of one stub: time to the prompt for a product of one file and of
# MIB MiB, and lzari's decoding of that product's payloads.
prompt_rows() { # ARCH PRESET DRIVER MIB DIR
    local arch=$1 problem="" dir=$5
    [ "$arch" = x86 ] && problem=$(. scripts/wine-env.sh && wine_32bit_problem)
    if [ -n "$problem" ]; then
        row "time to the prompt ($arch)" "n/a: $problem"
        return
    fi
    (
        . scripts/wine-env.sh
        WINE_HARNESS_ARCH=$arch wine_env_init "build/$2"
        export WINE_HARNESS_ARCH=$arch WINEPREFIX="$work/prefix-$arch"
        wine_prefix_new "$WINEPREFIX" "$([ "$arch" = x64 ] && echo win64 || echo win32)" >/dev/null
        unset DISPLAY
        wine_display_start >/dev/null
        driver=$(wine_stage "$WINEPREFIX" "$3" harness)
        read -r process _ < <(driver_times "$driver" 'C:\windows\system32\hostname.exe' exit)
        read -r small baseline < <(driver_times "$driver" "$(wine_stage "$WINEPREFIX" "$dir/Benchsmall-$arch.exe" bench)" prompt)
        read -r large memory < <(driver_times "$driver" "$(wine_stage "$WINEPREFIX" "$dir/Bench$4-$arch.exe" bench)" prompt)
        wine_display_stop
        decode=$( { /usr/bin/time -f %e build/release/tools/lzari/lzari -t "$dir/payload-$4.lzr"; } 2>&1 | tail -1)
        row "time to the prompt ($arch, $4 MiB), s" "$large: Wine start $process, unpacking $(awk -v l="$large" -v s="$small" \
            'BEGIN { printf "%.3f", l - s }'), the rest $(awk -v s="$small" -v p="$process" 'BEGIN { printf "%.3f", s - p }')"
        row "unpacking / lzari -t of its payloads ($arch)" "$(awk -v l="$large" -v s="$small" -v d="$decode" \
            'BEGIN { printf "%.2f (lzari -t %.2f s)", (l - s) / d, d }')"
        row "setup.exe peak memory ($arch), MB" "$memory for $4 MiB, $baseline for one small file"
    )
}

installer_rows() {
    local sizes=${PRODUCT_MIB:-20 200} mib arch stub preset dir="$work/products"
    command -v /usr/bin/time >/dev/null || { row "installer rows" "n/a (no GNU time)"; return; }
    # "small": the program and one file, for what unpacking does not take.
    mkdir -p "$dir"
    for mib in small $sizes; do
        gather_product "${mib/small/0}" "$dir/$mib" >"$dir/names-$mib"
    done
    for arch in x64 x86; do
        preset=windows-x64 stub=build/windows-x64/app/setup-stub-x64.exe
        [ "$arch" = x86 ] && preset=windows stub=build/windows/app/setup-stub.exe
        if [ ! -f "$stub" ]; then row "installer rows ($arch)" "n/a (build the $preset preset)"; continue; fi
        for mib in small $sizes; do
            cp "build/$preset/product/programs/Varnoset.EXE" "$dir/$mib/Bench.EXE"
            write_manifest "$dir/$mib" "$arch" <"$dir/names-$mib" >"$dir/$mib/manifest.toml"
            figures=$(pack_figures "$dir/$mib/manifest.toml" "$stub" "$dir/Bench$mib-$arch.exe")
            [ "$mib" = small ] || row "mkinstaller pack ($arch, $mib MiB, $(nproc) threads)" "$figures"
        done
    done
    for mib in $sizes; do
        build/release/tools/lzari/lzari -c "$dir/$mib"/*.BIN >"$dir/payload-$mib.lzr"
        prompt_rows x64 windows-x64 build/windows-x64/tools/verify/driver/driver-x64.exe "$mib" "$dir"
        prompt_rows x86 windows build/windows/tools/verify/driver/driver.exe "$mib" "$dir"
    done
}
