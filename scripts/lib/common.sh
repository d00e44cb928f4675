# Shared by the scripts: make sure the Debian packages are there, then build.
# shellcheck shell=bash

KESTROVA_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"

# The program needs only the build list; its tests, picture generator and benchmarks the test
# list; the Windows build and its installer the windows list.
declare -A PACKAGES=(
  [build]="cmake ninja-build g++ qt6-base-dev qt6-base-private-dev fonts-dejavu-core qt6-tools-dev
    qt6-l10n-tools qt6-translations-l10n"
  [test]="git clang-format black flake8 shellcheck pkgconf libgif-dev libgtest-dev libgmock-dev
    libbenchmark-dev libxcb1-dev xvfb xauth xdotool x11-utils desktop-file-utils appstream openbox
    dbus at-spi2-core python3-pytest python3-pyatspi python3-pil clang libclang-rt-14-dev dpkg-dev
    lintian sway wtype grim qt6-wayland"
  [windows]="g++-mingw-w64-x86-64-posix wine64 nsis dpkg-dev"
)

# Installs only what is missing of the lists named; a ready machine installs nothing and needs no
# network.
ensure_packages() {
  local missing=() pkg list
  for list in "$@"; do
    for pkg in ${PACKAGES[$list]}; do
      if ! dpkg-query -W -f='${db:Status-Status}' "$pkg" 2>/dev/null | grep -qx installed; then
        missing+=("$pkg")
      fi
    done
  done
  if [ ${#missing[@]} -eq 0 ]; then
    return 0
  fi
  if [ "$(id -u)" -ne 0 ]; then
    echo "Missing Debian packages. Run this as root first:" >&2
    echo "  apt-get update && apt-get install -y ${missing[*]}" >&2
    exit 1
  fi
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update
  apt-get install -y --no-install-recommends "${missing[@]}"
}

# Configures the given preset afresh when it has no build yet or the presets (or the Qt for Windows
# they name) changed since, then builds it; quiet when nothing changed.
build_preset() {
  local preset="$1" stamp
  cd "$KESTROVA_ROOT" || exit 1
  stamp="$(cat CMakePresets.json; echo "${KESTROVA_QT_WINDOWS:-}")"
  if [ "$stamp" != "$(cat "build/$preset/.presets" 2>/dev/null)" ]; then
    cmake --fresh --preset "$preset"
    echo "$stamp" >"build/$preset/.presets"
  fi
  cmake --build --preset "$preset" --parallel "$(nproc)"
}
