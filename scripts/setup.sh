#!/usr/bin/env bash
# Installs what building and testing need on Debian 12, only what is missing, and the two
# locales the wizard is tested under. Idempotent; says what it does.
set -euo pipefail

packages=(
    cmake ninja-build g++ googletest zlib1g-dev pkg-config              # native build
    g++-mingw-w64-x86-64-posix libz-mingw-w64-dev                       # Windows build
    wine wine64 locales                                                 # running it
    libcrypto++-dev libcrypto++-utils php-cli libbenchmark-dev time     # test oracles, benchmarks
    clang libclang-rt-14-dev                                            # fuzzing
    liblnk-utils icoutils python3-pefile imagemagick                    # independent readers
    xvfb xauth fonts-wqy-zenhei fonts-droid-fallback nsis x11-utils bc  # screenshots, comparison
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "setup: installing ${missing[*]}"
    SUDO=; [ "$(id -u)" -eq 0 ] || SUDO=sudo
    $SUDO apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
else
    echo "setup: all packages present"
fi

for loc in en_US.UTF-8 zh_CN.UTF-8; do
    if ! locale -a 2>/dev/null | grep -qi "^${loc%.UTF-8}.utf8$"; then
        echo "setup: generating locale $loc"
        SUDO=; [ "$(id -u)" -eq 0 ] || SUDO=sudo
        $SUDO sed -i "s/^# *\(${loc} UTF-8\)/\1/" /etc/locale.gen
        grep -q "^${loc} UTF-8" /etc/locale.gen || echo "${loc} UTF-8" | $SUDO tee -a /etc/locale.gen >/dev/null
        $SUDO locale-gen >/dev/null
    fi
done
