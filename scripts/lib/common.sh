# Shared by scripts/run and scripts/test: make sure the Debian packages are there, then build.
# shellcheck shell=bash

KESTROVA_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"

# The program needs only these; the tests, the picture generator and the benchmarks need the rest.
BUILD_PACKAGES=(cmake ninja-build g++ qt6-base-dev qt6-base-private-dev fonts-dejavu-core)
TEST_PACKAGES=(git clang-format pkgconf libgif-dev libgtest-dev libgmock-dev libbenchmark-dev libxcb1-dev xvfb xauth xdotool x11-utils imagemagick
  desktop-file-utils appstream openbox dbus at-spi2-core python3-pyatspi clang libclang-rt-14-dev
  dpkg-dev lintian libsm6 libice6 sway wtype grim qt6-wayland g++-mingw-w64-x86-64-posix wine64)

# Installs only what is missing; a ready machine installs nothing and needs no network.
ensure_packages() {
  local missing=() pkg
  for pkg in "$@"; do
    if ! dpkg-query -W -f='${db:Status-Status}' "$pkg" 2>/dev/null | grep -qx installed; then
      missing+=("$pkg")
    fi
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

# Configures and builds the given preset; quiet when nothing changed.
build_preset() {
  local preset="$1"
  cd "$KESTROVA_ROOT"
  if [ ! -f "build/$preset/CMakeCache.txt" ]; then
    cmake --preset "$preset"
  fi
  cmake --build --preset "$preset" --parallel "$(nproc)"
}
