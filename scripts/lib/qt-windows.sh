#!/usr/bin/env bash
# Qt for Windows, cross-built from Debian's own qt6-base source with mingw-w64, Debian's Qt tools
# standing in as the host Qt. Built once into a cache folder outside the clone, keyed by Qt's
# version and the options below; prints that folder as its last line.
#   qt-windows.sh            build when missing, then print the folder
#   qt-windows.sh --where    print the folder only
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(cd "$here/../.." && pwd)"

# The very Qt the Linux build uses: the Debian version of qt6-base-dev on this machine.
debian_version=$(dpkg-query -W -f='${Version}' qt6-base-dev)
qt_version=${debian_version%%+*}

# Only what Kestrova uses: Core, Gui, Widgets, Test, the windows platform and the images it
# carries. Debian's source leaves out the tablet header for its licence; without OpenGL the
# platform plugin only compiles with dynamic GL off too. Windows draws text itself.
options=(
  -DBUILD_SHARED_LIBS=ON -DCMAKE_BUILD_TYPE=Release
  -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF
  -DFEATURE_network=OFF -DFEATURE_sql=OFF -DFEATURE_dbus=OFF -DFEATURE_opengl=OFF
  -DFEATURE_dynamicgl=OFF -DFEATURE_printsupport=OFF -DFEATURE_xml=OFF -DFEATURE_concurrent=OFF
  -DFEATURE_tabletevent=OFF -DFEATURE_vulkan=OFF -DFEATURE_freetype=OFF -DFEATURE_harfbuzz=OFF
  -DFEATURE_icu=OFF -DFEATURE_sql_sqlite=OFF -DFEATURE_system_zlib=OFF -DFEATURE_system_png=OFF
  -DFEATURE_system_jpeg=OFF -DFEATURE_system_pcre2=OFF -DFEATURE_system_doubleconversion=OFF
)
key=$(printf '%s\n' "$debian_version" "${options[@]}" | sha256sum | cut -c1-12)
cache="${KESTROVA_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/kestrova}"
prefix="$cache/qt-$qt_version-mingw64-$key"

if [ "${1:-}" = "--where" ] || [ -f "$prefix/.complete" ]; then
  echo "$prefix"
  exit 0
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/kestrova-qt.XXXXXX")
trap 'rm -rf "$work"' EXIT
started=$SECONDS

# A deb-src entry for the archive this machine takes qt6-base-dev from, in apt lists of our own:
# the machine's sources and lists stay as they were.
origin=$(apt-cache policy qt6-base-dev | awk '/^ \*\*\*/ { getline; print $2, $3; exit }')
read -r uri dist <<<"$origin"
mkdir -p "$work/apt/lists/partial" "$work/apt/cache/archives/partial"
echo "deb-src [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] $uri ${dist%%/*} ${dist#*/}" \
  >"$work/apt/sources.list"
apt=(-o "Dir::Etc::SourceList=$work/apt/sources.list" -o Dir::Etc::SourceParts=/dev/null
  -o "Dir::State::Lists=$work/apt/lists" -o "Dir::Cache=$work/apt/cache"
  -o Debug::NoLocking=1 -o APT::Sandbox::User="$(id -un)")
apt-get "${apt[@]}" -qq update
(cd "$work" && apt-get "${apt[@]}" -qq source "qt6-base=$debian_version" >/dev/null)
source_dir=$(find "$work" -maxdepth 1 -type d -name 'qt6-base-*' | head -n1)
found=$(sed -n 's/^set(QT_REPO_MODULE_VERSION "\(.*\)")$/\1/p' "$source_dir/.cmake.conf")
if [ "$found" != "$qt_version" ]; then
  echo "qt6-base source is Qt $found, the Linux build uses $qt_version" >&2
  exit 1
fi

cmake -S "$source_dir" -B "$work/build" -G Ninja -Wno-dev \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" \
  -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR="/usr/lib/$(gcc -print-multiarch)/cmake" \
  -DCMAKE_INSTALL_PREFIX="$prefix.partial" "${options[@]}" >"$work/configure.log" ||
  { tail -n 60 "$work/configure.log" >&2; exit 1; }
cmake --build "$work/build" --parallel "$(nproc)"
rm -rf "$prefix.partial"
cmake --install "$work/build" --strip >/dev/null
echo "Qt $qt_version for Windows built in $((SECONDS - started)) s" >"$prefix.partial/.complete"
rm -rf "$prefix"
mv "$prefix.partial" "$prefix"
cat "$prefix/.complete" >&2
echo "$prefix"
