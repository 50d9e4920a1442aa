#!/usr/bin/env bash
# Checks the Debian package that cpack left in the build folder: the files it installs and
# the control fields apt reads. Usage: check_package.sh BUILD_DIR VERSION
set -euo pipefail
build=$1
version=$2
arch=$(dpkg --print-architecture)
deb="$build/newsbell_${version}_${arch}.deb"
[ -f "$deb" ] || { echo "no package at $deb"; exit 1; }

fail=0
files=$(dpkg-deb -c "$deb" | awk '{print $6}')
for wanted in ./usr/bin/newsbell ./usr/bin/newsbell-extract ./usr/bin/htmltext-render \
              ./usr/share/applications/newsbell.desktop \
              ./usr/share/icons/hicolor/scalable/apps/newsbell.svg; do
    grep -qx -- "$wanted" <<<"$files" || { echo "missing from the package: $wanted"; fail=1; }
done
if grep -E '^\./(usr/)?(include|lib/cmake|src)/|_tests$|_bench$' <<<"$files"; then
    echo "the package holds build or test files"; fail=1
fi

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = newsbell ] || { echo "Package: $(field Package)"; fail=1; }
[ "$(field Version)" = "$version" ] || { echo "Version: $(field Version)"; fail=1; }
[ "$(field Architecture)" = "$arch" ] || { echo "Architecture: $(field Architecture)"; fail=1; }
grep -q '^;' <<<"$(field Description)" && { echo "Description has lines joined with ';'"; fail=1; }
depends=$(field Depends)
for library in libc6 libqt6core6 libqt6widgets6 libqt6webenginewidgets6 libqt6multimedia6 \
               libqt6svg6 fonts-dejavu-core; do
    grep -q "\b$library\b" <<<"$depends" || { echo "Depends lacks $library: $depends"; fail=1; }
done
desktop=$(dpkg-deb --fsys-tarfile "$deb" | tar -xO ./usr/share/applications/newsbell.desktop)
for line in 'Exec=newsbell' 'Icon=newsbell' 'Categories=Office;Finance;' 'Name[ru]='; do
    grep -qF -- "$line" <<<"$desktop" || { echo "menu entry lacks $line"; fail=1; }
done
exit $fail
