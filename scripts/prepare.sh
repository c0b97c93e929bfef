# Shared by run.sh and test.sh: installs what is missing, configures and builds.
# Sourced, not run; BUILD_DIR and CMAKE_ARGS may be set by the caller.

BUILD_DIR=${BUILD_DIR:-build}
PACKAGES=(cmake g++ make qt6-base-dev qt6-svg-dev libqt6sql6-sqlite qt6-tools-dev qt6-tools-dev-tools
          qt6-translations-l10n fonts-liberation2 fonts-dejavu-core xvfb xauth xdotool openbox)
# The end-to-end runs ask which window is under the pointer before they click (xwininfo).
PACKAGES+=(x11-utils)
# The package check validates the menu entries with desktop-file-validate; the printout tests
# read the printed PDF back with pdftotext and pdftoppm.
PACKAGES+=(desktop-file-utils poppler-utils)
# The style check lays the sources out with clang-format.
PACKAGES+=(clang-format)
# The ileum tutorial's graphs.
PACKAGES+=(qt6-charts-dev)

missing_packages() {
  local p
  for p in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || echo "$p"
  done
}

install_packages() {
  local missing
  missing=$(missing_packages)
  [ -z "$missing" ] && return 0
  echo "Installing: $missing"
  local sudo=""
  if [ "$(id -u)" -ne 0 ]; then
    command -v sudo >/dev/null || { echo "Need root or sudo to install: $missing" >&2; exit 1; }
    sudo="sudo"
  fi
  # shellcheck disable=SC2086
  $sudo apt-get update -q && DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q $missing
}

build_suite() {
  if [ ! -f "$BUILD_DIR/CMakeCache.txt" ]; then
    # shellcheck disable=SC2086
    cmake -S . -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=RelWithDebInfo ${CMAKE_ARGS:-}
  fi
  cmake --build "$BUILD_DIR" -j "$(nproc)"
}

install_packages
build_suite
