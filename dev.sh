#!/usr/bin/env bash
# Sets up a Debian 12 machine for Tamsor, builds it, and either starts the
# program or runs every test.
#
#   ./dev.sh run     install what is missing, build, start the window
#   ./dev.sh test    install what is missing, build, run all tests (plain build
#                    with warnings as errors and the benchmarks, then an
#                    ASan/UBSan build), run each libFuzzer target for 20 s
#                    (TAMSOR_FUZZ_SECONDS), then build, install, run and
#                    remove the Debian package
#   ./dev.sh check   the plain build and its tests only, for day-to-day work
set -euo pipefail
cd "$(dirname "$0")"

PACKAGES=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev libgl-dev
  googletest libgtest-dev libgmock-dev libbenchmark-dev rapidjson-dev
  fonts-noto-cjk fonts-dejavu-core locales-all xvfb xauth poppler-utils
  fp-utils python3 desktop-file-utils appstream file
  qt6-translations-l10n shared-mime-info xdg-utils libglib2.0-bin
  clang clang-format libclang-rt-14-dev dpkg-dev
)

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

install_deps() {
  local missing=()
  for p in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    as_root apt-get update
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
  fi
}

JOBS=$(nproc 2>/dev/null || echo 2)

# git diff shows the GB2312 golden pages as text (tests/data/report/.gitattributes).
diff_driver() {
  if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    git config diff.gb2312.textconv "iconv -f GB2312 -t UTF-8" || true
  fi
}

build() { # build DIR [cmake options...]
  local dir=$1; shift
  cmake -S . -B "$dir" -G Ninja "$@"
  cmake --build "$dir" -j "$JOBS"
}

run_tests() { # run_tests DIR
  (cd "$1" && ctest --output-on-failure -j "$JOBS" --timeout 300)
}

fuzz() { # libFuzzer targets, built with clang, each run for a bounded time
  cmake -S . -B build-fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DTAMSOR_BUILD_FUZZERS=ON -DTAMSOR_BUILD_TESTS=OFF -DTAMSOR_BUILD_BENCHMARKS=OFF
  cmake --build build-fuzz -j "$JOBS" --target tamsor_fuzzers
  fuzz/run_fuzzers.sh build-fuzz "${TAMSOR_FUZZ_SECONDS:-20}"
}

package_test() { # DIR: build the Debian package there, install it, run the installed programs
  local dir=$1 deb
  rm -f "$dir"/tamsor_*.deb
  (cd "$dir" && cpack -G DEB >/dev/null)
  deb=$(ls "$dir"/tamsor_*.deb)
  dpkg-deb -f "$deb" Depends | grep -q libqt6widgets6
  dpkg-deb -f "$deb" Depends | grep -q qt6-translations-l10n
  dpkg-deb -f "$deb" Depends | grep -q fonts-noto-cjk
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y --reinstall --no-install-recommends "$(realpath "$deb")"
  /usr/bin/tamsor-batch examples/single_mass.wvd
  local book
  book=$(mktemp --suffix=.pdf)
  /usr/bin/tamsor-batch --pdf "$book" examples/single_mass.wvd >/dev/null
  [ "$(head -c 5 "$book")" = "%PDF-" ]
  rm -f "$book"
  test -f /usr/share/tamsor/wind_Help.chm
  test -f /usr/share/tamsor/help/index.htm
  # shared-mime-info's trigger has rebuilt the MIME database with the .wvd type.
  grep -q ':application/x-tamsor-project:\*\.wvd$' /usr/share/mime/globs2
  local rc=0
  QT_QPA_PLATFORM=offscreen timeout 5 /usr/bin/tamsor || rc=$?
  if [ "$rc" -ne 124 ]; then
    echo "installed tamsor ended at start with status $rc" >&2
    return 1
  fi
  as_root env DEBIAN_FRONTEND=noninteractive apt-get remove -y tamsor >/dev/null
  echo "Debian package $(basename "$deb"): installed, both programs ran, removed again."
}

case "${1:-}" in
  run)
    install_deps
    build build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAMSOR_BUILD_TESTS=OFF -DTAMSOR_BUILD_BENCHMARKS=OFF
    if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
      echo "No display found: starting Tamsor under Xvfb (xvfb-run)."
      exec xvfb-run -a ./build/ui/tamsor
    fi
    exec ./build/ui/tamsor
    ;;
  check)
    diff_driver
    build build-ci -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAMSOR_WERROR=ON
    run_tests build-ci
    ;;
  test)
    install_deps
    diff_driver
    build build-ci -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAMSOR_WERROR=ON -DTAMSOR_BUILD_BENCHMARKS=ON
    run_tests build-ci
    build build-asan -DCMAKE_BUILD_TYPE=Debug -DTAMSOR_WERROR=ON -DTAMSOR_SANITIZE=ON \
      -DTAMSOR_BUILD_BENCHMARKS=OFF
    ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
      run_tests build-asan
    fuzz
    package_test build-ci
    ;;
  *)
    echo "usage: $0 run|test|check" >&2
    exit 2
    ;;
esac
