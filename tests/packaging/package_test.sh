#!/usr/bin/env bash
# Installs the build tree into a scratch prefix and packs it as a .deb, then checks both the way
# a desktop, dpkg and lintian see them.   package_test.sh BUILD_DIR VERSION
set -euo pipefail
build=$1 version=$2
for tool in cpack dpkg-shlibdeps desktop-file-validate appstreamcli lintian; do
  command -v "$tool" >/dev/null || { echo "$tool is not installed; skipped"; exit 77; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$work/prefix" >/dev/null
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/cpack" >"$work/cpack.log" 2>&1 ||
  { cat "$work/cpack.log"; fail cpack; }
deb="$work/cpack/kestrova_${version}_$(dpkg --print-architecture).deb"
[ -f "$deb" ] || fail "cpack made $(ls "$work/cpack"), not $(basename "$deb")"

# The package carries under /usr exactly what an install puts into its prefix.
dpkg -x "$deb" "$work/root"
list() { (cd "$1" && find . -type f -o -type l | sort); }
diff <(list "$work/prefix") <(list "$work/root/usr") || fail "the package and the install differ"

cd "$work/root/usr"
for size in 16 24 32 48 64 128 256; do
  [ -f "share/icons/hicolor/${size}x${size}/apps/kestrova.png" ] || fail "no ${size} px icon"
done
# A copyright file, a changelog and a stripped binary are lintian's to check, below.
[ -f share/man/man1/kestrova.1.gz ] || fail "no manual page"
desktop=share/applications/org.quillmere.Kestrova.desktop
metainfo=share/metainfo/org.quillmere.Kestrova.metainfo.xml
desktop-file-validate "$desktop" || fail "desktop-file-validate rejects $desktop"
appstreamcli validate --no-net "$metainfo" || fail "appstreamcli rejects $metainfo"
{ grep -qx 'Exec=kestrova' "$desktop" && grep -qx 'Icon=kestrova' "$desktop"; } || fail "the entry starts or shows something else"
grep -q "<launchable type=\"desktop-id\">$(basename "$desktop")</launchable>" "$metainfo" ||
  fail "the store description launches another entry"
grep -q "<release version=\"$version\"" "$metainfo" || fail "the store description lacks release $version"

# Dependencies read off the binary, with versions; the Wayland platform recommended.
depends=$(dpkg-deb -f "$deb" Depends)
for library in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6; do
  [[ ", $depends" == *", $library (>= "[0-9]* ]] || fail "Depends lacks a versioned $library: $depends"
done
[[ $(dpkg-deb -f "$deb" Recommends) == *qt6-wayland* ]] || fail "qt6-wayland is not recommended"

lintian_args=(--fail-on error --display-level ">=warning")
[ "$(id -u)" -ne 0 ] || lintian_args+=(--allow-root)
lintian "${lintian_args[@]}" "$deb" || fail "lintian finds errors"
echo "packaging checks passed"
