#!/usr/bin/env bash
# The installed tree and its launcher: `cmake --install` into a fresh prefix,
# then the installed program started by a new user, in place: its settings go
# to the user's configuration folder, blank; nothing is copied into the home.
#   launcher_test.sh BUILD_DIR
set -euo pipefail
build="$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

prefix="$work/prefix"
cmake --install "$build" --prefix "$prefix" >/dev/null
program_dir="$prefix/lib/quorvin"
for f in quorvin libglimmet.so.2 exchange-emulator demo/Quorvin.ini.in demo/BO.txt demo/ISIN.txt \
  demo/11DPA6UX.TXT demo/payin_10-Dec-2026.txt; do
  [ -e "$program_dir/$f" ] || fail "$f not installed"
done
grep -qx "Exec=$prefix/bin/quorvin" "$prefix/share/applications/quorvin.desktop" ||
  fail "the desktop entry does not name the launcher"
grep -qx "Exec=$prefix/bin/quorvin --demo" "$prefix/share/applications/quorvin.desktop" ||
  fail "the desktop entry has no demo action"
[ -f "$prefix/share/icons/hicolor/scalable/apps/quorvin.svg" ] || fail "no icon"

# A home whose path holds what the shell would read specially, and a letter outside ASCII.
home="$work/home & |josé"
mkdir -p "$home"
start() {
  # The program runs until it is stopped: give it time to start, then stop it.
  HOME="$home" XDG_CONFIG_HOME="${config:-}" QT_QPA_PLATFORM=offscreen \
    timeout 4 "$prefix/bin/quorvin" "$@" >/dev/null 2>&1 || true
}

start
ini="$home/.config/quorvin/Quorvin.ini"
[ -f "$ini" ] || fail "no Quorvin.ini in the user's configuration folder"
[ "$(cat "$ini")" = $'Broker ID : \r\nClearing BOID : \r\nDefault BOID Format : \r\nBackup Location : ' ] ||
  fail "the first Quorvin.ini is not blank: $(cat "$ini")"
[ -z "$(find "$home" -name 'quorvin' -type f -o -name 'libglimmet*' -o -name 'BO.txt')" ] ||
  fail "the home holds a copy of the program or demo data: $(find "$home")"

# The clerk's own settings stay as they are.
printf 'Broker ID : 999999\r\n' >"$ini"
start
[ "$(cat "$ini")" = $'Broker ID : 999999\r' ] || fail "the user's Quorvin.ini was replaced"

# $XDG_CONFIG_HOME is honoured.
config="$work/config" start
[ -f "$work/config/quorvin/Quorvin.ini" ] || fail "XDG_CONFIG_HOME was not used"

# The demo leaves nothing in the home.
before="$(find "$home" | sort)"
start --demo
[ "$(find "$home" | sort)" = "$before" ] || fail "the demo wrote into the home"
echo "launcher test passed"
