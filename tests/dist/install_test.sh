#!/usr/bin/env bash
# Installs the build into a staging folder (DESTDIR, prefix /usr) and checks
# what a Linux desktop needs. One part per call, so that a missing validator
# skips only its own check:
#
#   install_test.sh BUILD_DIR SOURCE_DIR layout    programs, help file, icons,
#                                                  the installed programs run
#   install_test.sh BUILD_DIR SOURCE_DIR desktop   desktop entry, validated
#   install_test.sh BUILD_DIR SOURCE_DIR metainfo  AppStream metainfo, validated
#
# Exit 77 (skipped) names the missing tool.
set -euo pipefail
build=$1
source=$2
part=${3:-layout}
app_id=io.github.tamsor.Tamsor

skip() { echo "SKIPPED: $*"; exit 77; }
case "$part" in
  desktop) command -v desktop-file-validate >/dev/null \
             || skip "desktop-file-validate not found (package desktop-file-utils)" ;;
  metainfo) command -v appstreamcli >/dev/null || skip "appstreamcli not found (package appstream)" ;;
  layout) ;;
  *) echo "unknown part: $part" >&2; exit 2 ;;
esac

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT

DESTDIR="$stage" cmake --install "$build" --prefix /usr >/dev/null
root="$stage/usr"

status=0
fail() { echo "FAIL: $*"; status=1; }

expect_file() {
  [ -f "$root/$1" ] || fail "not installed: $1"
}

check_layout() {
  expect_file bin/tamsor
  expect_file bin/tamsor-batch
  [ -x "$root/bin/tamsor" ] || fail "bin/tamsor is not executable"
  [ -x "$root/bin/tamsor-batch" ] || fail "bin/tamsor-batch is not executable"
  # The window looks for its help in ../share/tamsor relative to its folder.
  # Without chmcmd the help file is not built (the configure step says so).
  if [ -f "$build/help/wind_Help.chm" ]; then
    expect_file share/tamsor/wind_Help.chm
    [ "$(head -c 4 "$root/share/tamsor/wind_Help.chm" 2>/dev/null)" = "ITSF" ] \
      || fail "share/tamsor/wind_Help.chm is not a compiled help file"
  else
    echo "note: wind_Help.chm was not built (no chmcmd), its installation is not checked"
  fi
  for size in 16 22 24 32 48 64 128 256; do
    icon=share/icons/hicolor/${size}x${size}/apps/tamsor.png
    expect_file "$icon"
    if [ -f "$root/$icon" ]; then
      # PNG header: width and height are big-endian at bytes 16..23.
      dims=$(od -An -tu1 -j16 -N8 "$root/$icon" | tr -s ' ')
      want=" 0 0 $((size >> 8)) $((size & 255)) 0 0 $((size >> 8)) $((size & 255))"
      [ "$dims" = "$want" ] || fail "$icon is not ${size}x${size} (header:$dims)"
    fi
  done
  expect_file share/icons/hicolor/scalable/apps/tamsor.svg

  # The installed batch command computes every example project.
  shopt -s nullglob
  examples=("$source"/examples/*.wvd)
  [ ${#examples[@]} -gt 0 ] || fail "no example projects in $source/examples"
  for wvd in "${examples[@]}"; do
    if ! out=$("$root/bin/tamsor-batch" --format json "$wvd" 2>&1); then
      fail "installed tamsor-batch failed on $(basename "$wvd"): $out"
    elif ! grep -q '"eqStaticLoad"' <<<"$out"; then
      fail "installed tamsor-batch printed no results for $(basename "$wvd")"
    fi
  done
  # The one-point worked example of the help file.
  out=$("$root/bin/tamsor-batch" --format json "$source/examples/single_mass.wvd")
  grep -q '"eqStaticLoad":\[12\.714' <<<"$out" \
    || fail "single_mass.wvd: equivalent static load is not 12.71 kN: $out"

  # The installed window starts (offscreen) and waits for the user: still
  # running after 3 s counts as a start.
  set +e
  QT_QPA_PLATFORM=offscreen timeout 3 "$root/bin/tamsor" >/dev/null 2>&1
  rc=$?
  set -e
  [ $rc -eq 124 ] || fail "installed tamsor ended at start with status $rc"
}

check_desktop() {
  desktop="$root/share/applications/$app_id.desktop"
  expect_file "share/applications/$app_id.desktop"
  [ -f "$desktop" ] || return 0
  grep -q '^Exec=tamsor' "$desktop" || fail "desktop entry does not start tamsor"
  grep -qx 'Icon=tamsor' "$desktop" || fail "desktop entry does not name the icon tamsor"
  grep -qx 'Name\[zh_CN\]=Tamsor 风振计算' "$desktop" || fail "desktop entry has no Chinese name"
  desktop-file-validate "$desktop" || fail "desktop-file-validate refused the desktop entry"
}

check_metainfo() {
  metainfo="$root/share/metainfo/$app_id.metainfo.xml"
  expect_file "share/metainfo/$app_id.metainfo.xml"
  [ -f "$metainfo" ] || return 0
  grep -q "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" "$metainfo" \
    || fail "metainfo does not launch the desktop entry"
  grep -q '<release version="[0-9]' "$metainfo" || fail "metainfo release has no version"
  appstreamcli validate --no-net --no-color "$metainfo" || fail "appstreamcli refused the metainfo"
}

"check_$part"
[ $status -eq 0 ] && echo "install check '$part': OK"
exit $status
