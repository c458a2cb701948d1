#!/usr/bin/env bash
# Usage: deb_installs_and_runs.sh BUILD_DIR BIN_DIR
# Builds the .deb, unpacks it into a temporary root and checks the installation: the layout, the
# desktop integration, the declared dependencies, and the installed tavrolab-cli started through
# its launcher reading the installed data folder (it must price exactly as the build tree does).
set -euo pipefail
build=$1
bin=$2
work=$(mktemp -d "${TMPDIR:-/tmp}/tavrolab-deb.XXXXXX")
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/pkg" >"$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log"; fail "cpack -G DEB"; }
debs=("$work"/pkg/tavrolab_*.deb)
[ -f "${debs[0]}" ] || fail "no package in $work/pkg"
deb=${debs[0]}

# Declared dependencies: the libraries the programs link and what they load without linking.
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
# The order journal's SQL drivers are plugins: loaded, not linked.
for dep in libc6 libstdc++6 libicu fonts-liberation libqt6sql6-sqlite libqt6sql6-psql qt6-translations-l10n; do
    [[ "$depends" == *"$dep"* ]] || fail "Depends lacks $dep"
done
if [ -x "$bin/tavrolab" ]; then
    for dep in libqt6widgets6 libqt6gui6 qt6-qpa-plugins; do
        [[ "$depends" == *"$dep"* ]] || fail "Depends lacks $dep"
    done
fi
if ldd "$bin/tavrolab-cli" | grep -q libqrencode; then
    [[ "$depends" == *libqrencode* ]] || fail "Depends lacks libqrencode"
fi

root=$work/root
dpkg-deb -x "$deb" "$root"
app=$root/opt/tavrolab/bin
for f in "$app/tavrolab-cli" "$app/profiles/price.csv" "$app/profiles/colors_price.csv" \
         "$app/profiles/rollers.csv" "$app/config/logo.jpg"; do
    [ -f "$f" ] || fail "missing ${f#"$root"}"
done
[ -d "$app/materials" ] || fail "missing the materials folder"
[ -L "$root/usr/bin/tavrolab-cli" ] || fail "usr/bin/tavrolab-cli is not a link"
[ "$(readlink -f "$root/usr/bin/tavrolab-cli")" = "$(readlink -f "$app/tavrolab-cli")" ] ||
    fail "usr/bin/tavrolab-cli does not lead to the installed program"

if [ -x "$bin/tavrolab" ]; then
    [ -x "$app/tavrolab" ] || fail "missing the desktop program"
    [ -L "$root/usr/bin/tavrolab" ] || fail "usr/bin/tavrolab is not a link"
    desktop=$root/usr/share/applications/tavrolab.desktop
    mime=$root/usr/share/mime/packages/tavrolab.xml
    [ -f "$desktop" ] || fail "missing the desktop entry"
    [ -f "$root/usr/share/icons/hicolor/scalable/apps/tavrolab.svg" ] || fail "missing the icon"
    [ -f "$mime" ] || fail "missing the MIME type"
    grep -qx 'Exec=tavrolab %f' "$desktop" || fail "the desktop entry does not pass the file"
    type=$(sed -n 's/^MimeType=\(.*\);$/\1/p' "$desktop")
    grep -q "type=\"$type\"" "$mime" || fail "the desktop entry's MIME type $type is not declared"
    grep -q 'pattern="\*.tav"' "$mime" || fail "the MIME type does not claim *.tav"
fi

# A new three-door order priced by the installed tool, started through its launcher from
# another folder, against the price list of the build tree's tool: the same text.
sketch=$work/заказ.tav
"$bin/tavrolab-cli" --new --width 2400 --height 2600 --doors 3 --save "$sketch"
(cd "$work" && "$root/usr/bin/tavrolab-cli" "$sketch") >"$work/installed.txt" ||
    fail "the installed tavrolab-cli failed"
"$bin/tavrolab-cli" "$sketch" >"$work/built.txt"
diff -u "$work/built.txt" "$work/installed.txt" || fail "the installed tool prices differently"
grep -Eq '^Итого +[1-9][0-9]*,[0-9]{2} руб\.$' "$work/installed.txt" ||
    fail "the installed tool priced nothing: it did not find its data folder"
echo "OK: $(basename "$deb"), $(dpkg-deb -c "$deb" | wc -l) entries"
