#!/usr/bin/env bash
# Installs the Debian packages the project needs that are not installed yet.
# Usage: scripts/install-deps.sh build|package|test
set -euo pipefail

build_packages=(cmake ninja-build g++ pkg-config qt6-base-dev libgl-dev fonts-ipafont-gothic
                libzip-dev zlib1g-dev libexpat1-dev qt6-translations-l10n)
# ISA-L's inflate is built for these architectures only; elsewhere zlib's inflates.
case "$(dpkg --print-architecture)" in
amd64 | arm64) build_packages+=(libisal-dev) ;;
esac
test_packages=(libgtest-dev libgmock-dev libbenchmark-dev libfreexl-dev
               python3 python3-xlrd python3-xlwt python3-openpyxl clang libclang-rt-14-dev
               clang-format time xvfb xauth openbox x11-utils lintian desktop-file-utils appstream
               man-db python3-pyatspi at-spi2-core dbus)
# cpack's DEB generator reads the libraries the binaries need with dpkg-shlibdeps and file.
package_packages=(dpkg-dev file)

wanted=("${build_packages[@]}")
case "${1:-build}" in
package) wanted+=("${package_packages[@]}") ;;
test) wanted+=("${package_packages[@]}" "${test_packages[@]}") ;;
esac

missing=()
for package in "${wanted[@]}"; do
    status=$(dpkg-query -W -f='${db:Status-Status}' "$package" 2>/dev/null || true)
    [ "$status" = installed ] || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
    sudo_cmd=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
