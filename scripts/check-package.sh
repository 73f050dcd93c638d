#!/usr/bin/env bash
# Builds the Debian package from a Release build of the two programs and checks it: lintian
# finds no error, the menu entry and the AppStream metadata validate, the package holds every
# file it should, and the programs run from the unpacked package on the system's Qt.
# Usage: scripts/check-package.sh [BUILD_DIR]   (default build-pkg, kept between runs)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-pkg}

# Linked as Debian links its own packages: read-only relocations, bound at start.
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DSETZAIKO_TESTS=OFF \
      -DSETZAIKO_BENCH=OFF \
      -DCMAKE_EXE_LINKER_FLAGS="$(DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get LDFLAGS)" \
      >/dev/null
cmake --build "$build" --parallel "$(nproc)" --target setzaiko setzaiko-cli
rm -f "$build"/setzaiko_*.deb
(cd "$build" && cpack -G DEB >cpack.log 2>&1) || { cat "$build/cpack.log"; exit 1; }
debs=("$build"/setzaiko_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || { echo "expected one package in $build"; exit 1; }
deb=${debs[0]}
version=$(dpkg-deb -f "$deb" Version)
echo "package: $deb ($(stat -c %s "$deb") bytes)"
dpkg-deb -f "$deb" Depends Recommends

fail() { echo "check-package: $*" >&2; exit 1; }

# Dependencies: the libraries found in the binaries, the font and the Qt translations.
depends=$(dpkg-deb -f "$deb" Depends)
for wanted in libqt6widgets6 libqt6core6 libc6 fonts-ipafont-gothic; do
    grep -q "\b$wanted\b" <<<"$depends" || fail "Depends lacks $wanted: $depends"
done
grep -q '\bqt6-translations-l10n\b' <<<"$(dpkg-deb -f "$deb" Recommends)" \
    || fail "Recommends lacks qt6-translations-l10n"
[ -n "$(dpkg-deb -f "$deb" Maintainer)" ] || fail "no maintainer"
[ "$(dpkg-deb -f "$deb" Description | wc -l)" -gt 2 ] || fail "no long description"

# The files the package must hold.
contents=$(dpkg-deb -c "$deb" | awk '{print $NF}')
appid=$(sed -n 's/^set(SETZAIKO_APP_ID "\(.*\)")$/\1/p' cmake/Packaging.cmake)
expected=(./usr/bin/setzaiko ./usr/bin/setzaiko-cli
          ./usr/share/applications/setzaiko.desktop
          "./usr/share/metainfo/$appid.metainfo.xml"
          ./usr/share/icons/hicolor/scalable/apps/setzaiko.svg
          ./usr/share/man/man1/setzaiko-cli.1.gz ./usr/share/man/man1/setzaiko.1.gz
          ./usr/share/doc/setzaiko/copyright ./usr/share/doc/setzaiko/changelog.gz)
for size in 16 22 24 32 48 64 128 256; do
    expected+=("./usr/share/icons/hicolor/${size}x${size}/apps/setzaiko.png")
done
for file in "${expected[@]}"; do
    grep -qxF "$file" <<<"$contents" || fail "the package lacks $file"
done

# lintian: errors fail the check, everything else is shown.
lintian --fail-on error --display-info "$deb" 2>&1 | tee "$build/lintian.log" \
    || fail "lintian reports an error"

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg -x "$deb" "$root"
desktop-file-validate "$root/usr/share/applications/setzaiko.desktop"
appstreamcli validate --no-net "$root/usr/share/metainfo/$appid.metainfo.xml"
for page in setzaiko-cli setzaiko; do
    warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z \
               "$root/usr/share/man/man1/$page.1.gz" 2>&1 >/dev/null)
    [ -z "$warnings" ] || fail "$page.1: $warnings"
done

# The unpacked programs, with only the system's libraries to find.
unset LD_LIBRARY_PATH
cli="$root/usr/bin/setzaiko-cli"
[ "$("$cli" --version)" = "setzaiko-cli $version" ] || fail "setzaiko-cli --version: $("$cli" --version)"
[ "$("$root/usr/bin/setzaiko" --version)" = "setzaiko $version" ] || fail "setzaiko --version"
if ldd "$cli" "$root/usr/bin/setzaiko" | grep -q 'not found'; then
    fail "a library is missing: $(ldd "$cli" "$root/usr/bin/setzaiko" | grep 'not found')"
fi
imported=$("$cli" import examples/sample.xls) || fail "setzaiko-cli import failed: $imported"
grep -qx '合計 248 件のデータを抽出しました' <<<"$imported" || fail "unexpected import: $imported"
echo "package checks passed: $deb"
