#!/usr/bin/env bash
# Installs the build into a staging folder (DESTDIR, prefix /usr) and checks
# what a Linux desktop needs. One part per call, so that a missing validator
# skips only its own check:
#
#   install_test.sh BUILD_DIR SOURCE_DIR layout    programs, help file, icons,
#                                                  the installed programs run
#   install_test.sh BUILD_DIR SOURCE_DIR desktop   desktop entry, validated
#   install_test.sh BUILD_DIR SOURCE_DIR metainfo  AppStream metainfo, validated
#   install_test.sh BUILD_DIR SOURCE_DIR mime      the .wvd file type: the staged
#                                                  MIME database maps x.wvd to it
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
  mime)
    command -v update-mime-database >/dev/null \
      || skip "update-mime-database not found (package shared-mime-info)"
    command -v xdg-mime >/dev/null || skip "xdg-mime not found (package xdg-utils)"
    # xdg-mime asks gio for a file's type on a GNOME desktop.
    command -v gio >/dev/null || skip "gio not found (package libglib2.0-bin)" ;;
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
  # The help pages as HTML, for desktops without a viewer for the compiled file.
  for page in "$source"/help/pages/*; do
    expect_file "share/tamsor/help/$(basename "$page")"
  done

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
  # The installed batch command writes the calculation book.
  if ! out=$(XDG_CONFIG_HOME="$stage/config" "$root/bin/tamsor-batch" --pdf "$stage/book.pdf" \
               --date 2026-03-01 "$source/examples/single_mass.wvd" 2>&1); then
    fail "installed tamsor-batch --pdf failed: $out"
  elif [ "$(head -c 5 "$stage/book.pdf")" != "%PDF-" ]; then
    fail "installed tamsor-batch --pdf wrote no PDF"
  fi
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
  grep -qx 'Exec=tamsor %f' "$desktop" || fail "desktop entry does not start tamsor with the file"
  grep -qx 'MimeType=application/x-tamsor-project;' "$desktop" \
    || fail "desktop entry does not open the project files"
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
  grep -q '<mediatype>application/x-tamsor-project</mediatype>' "$metainfo" \
    || fail "metainfo does not name the project file type"
  appstreamcli validate --no-net --no-color "$metainfo" || fail "appstreamcli refused the metainfo"
}

check_mime() {
  expect_file "share/mime/packages/$app_id.xml"
  [ -f "$root/share/mime/packages/$app_id.xml" ] || return 0
  # What the package's trigger does on installation, here on the staged tree.
  local log
  log=$(XDG_DATA_DIRS="$root/share:/usr/share" update-mime-database "$root/share/mime" 2>&1) \
    || fail "update-mime-database failed: $log"
  [ -z "$log" ] || fail "update-mime-database complained: $log"
  # A project file (not empty: an empty file has a type of its own) asked
  # for its type as a GNOME file manager asks, with the staged database
  # before the system's and no user database.
  local probe="$stage/probe"
  mkdir -p "$probe/data" "$probe/config" "$probe/cache"
  cp "$source/examples/single_mass.wvd" "$probe/x.wvd"
  local type
  type=$(XDG_CURRENT_DESKTOP=GNOME XDG_DATA_HOME="$probe/data" XDG_CONFIG_HOME="$probe/config" \
    XDG_CACHE_HOME="$probe/cache" XDG_DATA_DIRS="$root/share:/usr/share" \
    xdg-mime query filetype "$probe/x.wvd" 2>&1) || true
  [ "$type" = "application/x-tamsor-project" ] || fail "x.wvd has the type '$type'"
  grep -q '<comment xml:lang="zh_CN">' "$root/share/mime/application/x-tamsor-project.xml" \
    || fail "the file type has no Chinese comment"
}

"check_$part"
[ $status -eq 0 ] && echo "install check '$part': OK"
exit $status
