#!/usr/bin/env bash
# Checks a built .deb: unpacked into a temporary folder, its files lie where the installed
# layout puts them, its metadata is sound, and the program runs from there, reading the
# languages it ships and keeping Config.ini in the user's own folder.
set -euo pipefail
deb=$1
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() {
    echo "package check: $*" >&2
    exit 1
}

dpkg-deb -x "$deb" "$tmp/root"
dpkg-deb -e "$deb" "$tmp/control"
root=$tmp/root/usr
for file in bin/zephran bin/zephran-sim \
    share/zephran/Language/english.ini share/zephran/Language/chinese.ini \
    share/applications/com.zephranfpv.Zephran.desktop \
    share/icons/hicolor/scalable/apps/com.zephranfpv.Zephran.svg \
    share/metainfo/com.zephranfpv.Zephran.metainfo.xml \
    share/man/man1/zephran.1.gz share/man/man1/zephran-sim.1.gz; do
    [ -f "$root/$file" ] || fail "missing /usr/$file"
done
[ -x "$root/bin/zephran" ] && [ -x "$root/bin/zephran-sim" ] || fail "programs not executable"
gzip -t "$root/share/man/man1/zephran.1.gz" "$root/share/man/man1/zephran-sim.1.gz"

depends=$(dpkg-deb -f "$deb" Depends)
for library in libqt6widgets6 libc6; do
    grep -q "$library" <<<"$depends" || fail "Depends lacks $library: $depends"
done
grep -q dialout "$tmp/control/postinst" || fail "postinst does not mention the dialout group"
appstreamcli validate --no-net "$root/share/metainfo/com.zephranfpv.Zephran.metainfo.xml" >/dev/null ||
    fail "appstreamcli validate failed"

# Debian's own checker: no error and no warning.
lintian_output=$(lintian "$deb" 2>&1) || true
if grep -E '^[EW]: ' <<<"$lintian_output"; then
    fail "lintian found the errors or warnings above"
fi
for file in share/doc/zephran/copyright share/doc/zephran/changelog.gz; do
    [ -f "$root/$file" ] || fail "missing /usr/$file"
done
grep -q 'GPL-3.0-or-later' "$root/share/metainfo/com.zephranfpv.Zephran.metainfo.xml" ||
    fail "the AppStream file does not name the licence"

version=$("$root/bin/zephran" --version)
[[ $version =~ ^zephran\ [0-9]+\.[0-9]+ ]] || fail "unexpected --version output: $version"

# No language chosen yet: the program falls back to English, found under share/zephran.
output=$(printf 'menubar\nquit\n' |
    XDG_CONFIG_HOME="$tmp/config" XDG_DATA_HOME="$tmp/data" \
        "$root/bin/zephran" --headless --port "$tmp/no-such-port")
grep -q "Unable to locate" <<<"$output" && fail "languages not found: $output"
grep -q "^Connection" <<<"$output" || fail "no English menu bar: $output"
[ -f "$tmp/config/ZephranFPV/Config.ini" ] || fail "Config.ini not in the user's config folder"
[ ! -e "$root/bin/Config.ini" ] || fail "Config.ini written beside the installed program"
echo "package check: $(basename "$deb") ok"
