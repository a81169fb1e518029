#!/usr/bin/env bash
# Installs every Debian package the project needs. Idempotent: packages that
# are already present are left alone, so every other script may call it first.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config git
  clang clang-format libclang-rt-14-dev libfuzzer-14-dev
  googletest libgtest-dev libbenchmark-dev
  libtomlplusplus-dev libcli11-dev zlib1g-dev liblzma-dev libstb-dev
  osslsigncode openssl
  mingw-w64 g++-mingw-w64-i686 g++-mingw-w64-x86-64 binutils-mingw-w64-i686
  wine wine64 wine32:i386 fonts-wine
  xvfb x11-utils imagemagick icoutils
  bubblewrap  # bwrap, the sandbox of mkinstaller verify
  python3 time  # time: GNU time, for the benchmark's peak memory
  python3-pefile  # reads every packed setup.exe back in the tests
  dpkg-dev file  # the tools' .deb: dpkg-shlibdeps, and file, which CPack finds the programs with
  lintian  # the tools' package test holds the .deb to Debian's rules
  mandoc  # the manual pages as HTML in the Windows tools' .zip
)

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

if ! dpkg --print-foreign-architectures | grep -qx i386; then
  "${sudo_cmd[@]}" dpkg --add-architecture i386
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
