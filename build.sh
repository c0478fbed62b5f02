#!/usr/bin/env bash
# Palavex: build and start the program, or build and run every test.
#
#   ./build.sh start   install what is missing, build, start the desktop program
#   ./build.sh test    install what is missing, build, run every test
#
# Meant for a Debian 12 machine; run as root (or with sudo available) so that
# missing packages can be installed with apt-get.
set -euo pipefail
cd "$(dirname "$0")"
ROOT=$(pwd)
JOBS=$(nproc 2>/dev/null || echo 2)

BUILD_PACKAGES=(cmake ninja-build g++ pkg-config ccache qt6-base-dev qt6-qpa-plugins fonts-dejavu-core
                libgtest-dev libgmock-dev libbenchmark-dev)
TEST_PACKAGES=(clang libclang-rt-14-dev imagemagick python3 desktop-file-utils appstream shared-mime-info
               help2man)
START_PACKAGES=(xvfb xauth)

install_missing() {
  local missing=() pkg
  for pkg in "$@"; do
    dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" || missing+=("$pkg")
  done
  ((${#missing[@]})) || return 0
  echo "Installing: ${missing[*]}"
  local sudo=()
  [ "$(id -u)" -eq 0 ] || sudo=(sudo)
  "${sudo[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

configure_and_build() { # dir, then extra cmake arguments
  local dir=$1; shift
  local launcher=()
  if command -v ccache >/dev/null; then
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
    # Hits across clones of the repository in other folders.
    export CCACHE_BASEDIR="$ROOT" CCACHE_NOHASHDIR=true
  fi
  cmake -S "$ROOT" -B "$dir" -G Ninja "${launcher[@]}" "$@" >/dev/null
  cmake --build "$dir" -j "$JOBS"
}

run_ctest() { # dir
  QT_QPA_PLATFORM=offscreen ctest --test-dir "$1" --output-on-failure -j "$JOBS" --timeout 300
}

cmd_start() {
  install_missing "${BUILD_PACKAGES[@]}"
  configure_and_build build -DCMAKE_BUILD_TYPE=Release -DVANTOR_BUILD_TESTS=OFF
  local program=build/bin/vantor
  if [ ! -x "$program" ]; then
    echo "The desktop program is not built yet; showing the command-line tool instead."
    exec build/bin/vantor-cli --help
  fi
  if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    install_missing "${START_PACKAGES[@]}"
    echo "No display found: starting Palavex on a virtual X server (xvfb-run)."
    exec xvfb-run -a -s "-screen 0 1280x1024x24" "$program" "$@"
  fi
  exec "$program" "$@"
}

cmd_test() {
  install_missing "${BUILD_PACKAGES[@]}" "${TEST_PACKAGES[@]}"
  # One build serves every test: optimised a little, with AddressSanitizer and
  # UndefinedBehaviorSanitizer watching every run. The benchmarks are built to keep them working;
  # run them from a Release build (cmake --preset release).
  echo "== Build, then run every test under AddressSanitizer and UndefinedBehaviorSanitizer"
  configure_and_build build-test -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-g1 -O1" \
    -DVANTOR_SANITIZE=ON -DVANTOR_BUILD_TESTS=ON -DVANTOR_BUILD_BENCH=ON
  ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 run_ctest build-test
  echo "== Install into a staging folder and check the desktop integration"
  data/check-install build-test
  if [ -x fuzz/run-smoke ]; then
    echo "== Short fuzzing pass"
    fuzz/run-smoke
  fi
}

case "${1:-}" in
  start) shift; cmd_start "$@" ;;
  test) shift; cmd_test "$@" ;;
  *) echo "usage: $0 start|test" >&2; exit 1 ;;
esac
