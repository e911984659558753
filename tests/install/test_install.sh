#!/usr/bin/env bash
# An install for one person lands where desktops look for it, passes the
# desktop validators, and neither a reinstall nor an uninstall loses records.
set -euo pipefail
build=$1 source=$2
prefix=$(mktemp -d) stage=$(mktemp -d)
trap 'rm -rf "$prefix" "$stage"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
app=$prefix/lib/hopsala
id=de.hopsala.Hopsala
install() { cmake --install "$build" --prefix "$prefix" >/dev/null; }
uninstall() { cmake -DPREFIX="$prefix" -P "$build/uninstall.cmake" >/dev/null; }

install
for file in lib/hopsala/Hopsala1 share/applications/$id.desktop share/metainfo/$id.metainfo.xml \
            share/icons/hicolor/{16x16,32x32,48x48,64x64,128x128}/apps/$id.png share/man/man6/{hopsala,Hopsala1}.6 \
            bin/hopsala; do
    [ -s "$prefix/$file" ] || fail "$file was not installed"
done
[ -x "$app/Hopsala1" ] || fail "the program is not executable"
[ -w "$app" ] || fail "the program's folder is not writable, so no record could be stored"
[ "$(readlink -f "$prefix/bin/Hopsala1")" = "$(readlink -f "$app/Hopsala1")" ] || fail "bin/Hopsala1 does not lead to the program"
cmp -s "$source/assets/Wahl.txt" "$app/Wahl.txt" || fail "the default Wahl.txt was not placed"
grep -qx "Exec=$app/Hopsala1" "$prefix/share/applications/$id.desktop" || fail "the entry does not start the installed program"
desktop-file-validate "$prefix/share/applications/$id.desktop" || fail "desktop-file-validate"
grep -q "<binary>Hopsala1</binary>" "$prefix/share/metainfo/$id.metainfo.xml" ||
    fail "the metainfo names another program than the one installed"
# The project has no homepage: AppStream 1.0 warns of that (0.16 does not);
# any other warning or error fails.
report=$(appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml") || {
    grep -q ': url-homepage-missing$' <<<"$report" &&
        ! grep -E '^[EW]:' <<<"$report" | grep -qv ': url-homepage-missing$'; } || fail "appstreamcli validate: $report"

# Staged under DESTDIR, as a package build stages it, the tree can move into place: its
# links lead within it, and it holds none of the caches that belong to the system.
DESTDIR=$stage cmake --install "$build" --prefix /opt/h >/dev/null
for link in bin/Hopsala1 bin/hopsala share/man/man6/Hopsala1.6; do
    [ -e "$stage/opt/h/$link" ] && [[ $(readlink "$stage/opt/h/$link") != "$stage"* ]] || fail "$link leads out of the tree"
done
[ -z "$(find "$stage" -name '*.cache')" ] || fail "the stage holds the system's caches"

# A player's records survive a reinstall, byte for byte.
printf '"Profi"\r\n"31","J\xf6rg"\r\n9,"Igel"\r\n0,"unbekannt"\r\n' > "$app/Wahl.txt"
cp "$app/Wahl.txt" "$prefix/records"
install
cmp -s "$prefix/records" "$app/Wahl.txt" || fail "a reinstall changed Wahl.txt"

# An uninstall removes the program and keeps the records.
uninstall
[ ! -e "$app/Hopsala1" ] || fail "the program is still there"
[ ! -L "$prefix/bin/Hopsala1" ] || fail "the link is still there"
[ ! -e "$prefix/share/applications/$id.desktop" ] || fail "the desktop entry is still there"
[ ! -e "$prefix/share/metainfo/$id.metainfo.xml" ] || fail "the metainfo is still there"
[ ! -e "$prefix/share/icons/hicolor/32x32/apps/$id.png" ] || fail "an icon is still there"
cmp -s "$prefix/records" "$app/Wahl.txt" || fail "the uninstall changed Wahl.txt"
echo "install, reinstall and uninstall keep the records"
