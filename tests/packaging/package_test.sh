#!/usr/bin/env bash
# Installs the build tree into a scratch prefix and packs it as a .deb, then checks both the way
# a desktop, dpkg and lintian see them.
#   package_test.sh BUILD_DIR VERSION
set -euo pipefail
build=$1 version=$2
for tool in cpack dpkg-deb dpkg-shlibdeps desktop-file-validate appstreamcli lintian readelf; do
  if ! command -v "$tool" >/dev/null; then
    echo "$tool is not installed; skipped"
    exit 77
  fi
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() {
  echo "FAIL: $*" >&2
  exit 1
}

cmake --install "$build" --prefix "$work/prefix" >"$work/install.log"
if ! cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/cpack" >"$work/cpack.log" 2>&1; then
  cat "$work/cpack.log"
  fail "cpack"
fi
deb="$work/cpack/kestrova_${version}_$(dpkg --print-architecture).deb"
[ -f "$deb" ] || fail "cpack made $(cd "$work/cpack" && echo *.deb), not $(basename "$deb")"
dpkg-deb --info "$deb"

# The package carries under /usr exactly what an install puts into its prefix.
dpkg -x "$deb" "$work/root"
list() { (cd "$1" && find . -type f -o -type l | sort); }
diff <(list "$work/prefix") <(list "$work/root/usr") || fail "the package and the install differ"

for prefix in "$work/prefix" "$work/root/usr"; do
  cd "$prefix"
  for size in 16 24 32 48 64 128 256; do
    [ -f "share/icons/hicolor/${size}x${size}/apps/kestrova.png" ] || fail "no ${size} px icon in $prefix"
  done
  for file in share/man/man1/kestrova.1.gz share/doc/kestrova/copyright share/doc/kestrova/changelog.gz; do
    [ -f "$file" ] || fail "no $file in $prefix"
  done
  [ "$(head -c 4 bin/kestrova | od -An -tx1 | tr -d ' ')" = 7f454c46 ] || fail "bin/kestrova is no ELF file"

  desktop=share/applications/org.quillmere.Kestrova.desktop
  metainfo=share/metainfo/org.quillmere.Kestrova.metainfo.xml
  desktop-file-validate "$desktop" || fail "desktop-file-validate rejects $desktop"
  appstreamcli validate --no-net "$metainfo" || fail "appstreamcli rejects $metainfo"
  # What the entry and the store description name is there to be found.
  grep -qx 'Exec=kestrova' "$desktop" || fail "the entry does not start bin/kestrova"
  grep -qx 'Icon=kestrova' "$desktop" || fail "the entry names another icon"
  grep -q "<launchable type=\"desktop-id\">$(basename "$desktop")</launchable>" "$metainfo" ||
    fail "the store description launches another entry"
  grep -q "<release version=\"$version\"" "$metainfo" || fail "the store description lacks release $version"
done

# Stripped in the package only; the build keeps its debugging information.
if [[ $(readelf -S "$work/root/usr/bin/kestrova") == *.debug_info* ]]; then
  fail "the packaged binary is not stripped"
fi

# Dependencies read off the binary carry the versions of the libraries it was linked against.
depends=$(dpkg-deb -f "$deb" Depends)
for library in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6; do
  [[ ", $depends" == *", $library (>= "[0-9]* ]] || fail "Depends lacks a versioned $library: $depends"
done

lintian_args=(--fail-on error --display-level ">=warning")
[ "$(id -u)" -ne 0 ] || lintian_args+=(--allow-root)
lintian "${lintian_args[@]}" "$deb" || fail "lintian finds errors"
echo "packaging checks passed"
