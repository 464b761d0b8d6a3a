#!/usr/bin/env bash
# The installed tree and its launcher: `cmake --install` into a fresh prefix,
# then the launcher started for a new user, again after the user changed the
# settings, and again after the installed program changed.
#   launcher_test.sh BUILD_DIR
set -euo pipefail
build="$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

prefix="$work/prefix"
cmake --install "$build" --prefix "$prefix" >/dev/null
program_dir="$prefix/lib/quorvin"
for f in quorvin libglimmet.so.2 Quorvin.ini.in demo/BO.txt demo/ISIN.txt demo/11DPA6UX.TXT \
  demo/payin_10-Dec-2026.txt; do
  [ -e "$program_dir/$f" ] || fail "$f not installed"
done
grep -qx "Exec=$prefix/bin/quorvin" "$prefix/share/applications/quorvin.desktop" ||
  fail "the desktop entry does not name the launcher"
[ -f "$prefix/share/icons/hicolor/scalable/apps/quorvin.svg" ] || fail "no icon"

# A home whose path holds what sed and the shell would read specially.
home="$work/home & |one"
mkdir -p "$home"
start() {
  # The program runs until it is stopped: give it time to start, then stop it.
  HOME="$home" XDG_DATA_HOME="" QT_QPA_PLATFORM=offscreen timeout 4 "$prefix/bin/quorvin" \
    >/dev/null 2>&1 || true
}
mine="$home/.local/share/quorvin"

start
[ -f "$mine/Quorvin.ini" ] || fail "no Quorvin.ini in the user's program folder"
expected="$(sed "s|@BACKUP_LOCATION@|$(printf '%s' "$home/Quorvin/" | sed 's/[\\|&]/\\&/g')|" \
  "$program_dir/Quorvin.ini.in")"
[ "$(cat "$mine/Quorvin.ini")" = "$expected" ] || fail "Quorvin.ini: $(cat "$mine/Quorvin.ini")"
grep -qxF "Backup Location : $home/Quorvin/" "$mine/Quorvin.ini" ||
  fail "the data folder is not the user's ~/Quorvin/"
cmp -s "$program_dir/quorvin" "$mine/quorvin" || fail "the program was not copied"
[ "$(readlink -f "$mine/libglimmet.so.2")" = "$(readlink -f "$program_dir/libglimmet.so.2")" ] ||
  fail "libglimmet is not linked"
for f in BO.txt ISIN.txt 11DPA6UX.TXT payin_10-Dec-2026.txt payout_10-Dec-2026.txt; do
  cmp -s "$program_dir/demo/$f" "$home/Quorvin/$f" || fail "demo $f not copied"
done
# The copied program finds the library through the link.
# (ldd's whole output is read first: grep -q leaving early would end ldd with
# SIGPIPE, and pipefail would take that for a failure.)
libraries="$(ldd "$mine/quorvin")"
grep -qF "libglimmet.so.2 => $mine/libglimmet.so.2" <<<"$libraries" ||
  fail "the copy does not load libglimmet from its folder"

# The clerk's own settings and data stay as they are.
printf 'Broker ID : 999999\r\n' >"$mine/Quorvin.ini"
echo "mine" >"$home/Quorvin/BO.txt"
start
[ "$(cat "$mine/Quorvin.ini")" = $'Broker ID : 999999\r' ] || fail "the user's Quorvin.ini was replaced"
[ "$(cat "$home/Quorvin/BO.txt")" = "mine" ] || fail "the user's BO.txt was replaced"

# A new installed program replaces the user's copy at the next start.
printf '\0' >>"$program_dir/quorvin"
start
cmp -s "$program_dir/quorvin" "$mine/quorvin" || fail "the copy was not renewed"
echo "launcher test passed"
