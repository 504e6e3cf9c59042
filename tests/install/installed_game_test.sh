#!/usr/bin/env bash
# The installed game as a player gets it: installed into a staging prefix,
# that prefix moved elsewhere, the game started from an unrelated folder with
# no --data-dir. It must find its data, play a fight of 300 frames headless,
# write nothing under the prefix, and say where it looked when the data is gone.
# The desktop entry and the AppStream file must validate.
# Usage: installed_game_test.sh BUILD_DIR
set -euo pipefail
build="$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

DESTDIR="$work/stage" cmake --install "$build" --prefix /opt/brawl >/dev/null
mkdir -p "$work/moved" "$work/elsewhere" "$work/home"
mv "$work/stage/opt/brawl" "$work/moved/prefix"
prefix="$work/moved/prefix"
game="$prefix/bin/veltmoore-brawl"
[ -x "$game" ] || fail "no executable bin/veltmoore-brawl"
for f in share/veltmoore-brawl/data/game/game.ini share/applications/veltmoore-brawl.desktop \
         share/icons/hicolor/64x64/apps/veltmoore-brawl.png share/icons/hicolor/128x128/apps/veltmoore-brawl.png \
         share/icons/hicolor/256x256/apps/veltmoore-brawl.png share/man/man6/veltmoore-brawl.6.gz \
         share/metainfo/net.veltmoore.brawl.metainfo.xml share/doc/veltmoore-brawl/copyright; do
  [ -f "$prefix/$f" ] || fail "$f is not installed"
done

before="$(cd "$prefix" && find . -printf '%p %s %T@\n' | sort)"
cd "$work/elsewhere"
run() {
  env -u VELTMOORE_BRAWL_DATA HOME="$work/home" XDG_DATA_HOME="$work/home/.local/share" \
    XDG_CONFIG_HOME="$work/home/.config" SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy "$@"
}
run "$game" --fighter 1 --benchmark 300 >"$work/out" 2>"$work/err" || fail "the installed game failed: $(cat "$work/err")"
grep -q '^benchmark: frames run \[300\]$' "$work/out" || fail "no fight of 300 frames: $(tail -5 "$work/out")"
grep -q 'load config \[game\\fighter\\kastrell_char.ini\]' "$work/out" || fail "the fighters were not loaded"
if grep -q '^ERROR' "$work/out" "$work/err"; then fail "errors: $(grep -h '^ERROR' "$work/out" "$work/err")"; fi
# F9 saves the run so far: in the player's home, never beside the installed data.
printf '100 f9 down\n102 f9 up\n' >"$work/keys"
run "$game" --fighter 1 --script "$work/keys" --frames 120 --no-limiter >"$work/out" 2>"$work/err" || fail "F9 run: $(cat "$work/err")"
grep -q "^NOTICE: replay of the run so far (100 frames) saved as $work/home/" "$work/out" \
  || fail "F9 did not save in the home folder: $(grep -h 'replay' "$work/out" "$work/err")"
rm "$work/keys"
[ "$before" = "$(cd "$prefix" && find . -printf '%p %s %T@\n' | sort)" ] || fail "something was written under the prefix"
[ -z "$(ls -A "$work/elsewhere")" ] || fail "something was written in the folder it started from"

version="$(run "$game" --version | tail -n 1)"  # after the start-up lines every run prints
[[ "$version" =~ ^veltmoore-brawl\ [0-9]+\.[0-9]+\.[0-9]+$ ]] || fail "--version printed: $version"

# Without its data the game stops with one line naming every place it looked.
mv "$prefix/share/veltmoore-brawl/data" "$prefix/share/veltmoore-brawl/elsewhere"
status=0
run "$game" --frames 1 >"$work/out" 2>"$work/err" || status=$?
[ "$status" = 2 ] || fail "without data: exit status $status"
[ "$(grep -c '^ERROR' "$work/err")" = 1 ] || fail "without data: $(cat "$work/err")"
grep '^ERROR' "$work/err" | grep -qF "$work/elsewhere" || fail "the error does not name the current folder: $(cat "$work/err")"
grep '^ERROR' "$work/err" | grep -qF "$prefix/share/veltmoore-brawl/data" || fail "the error does not name the installed data: $(cat "$work/err")"

desktop-file-validate "$prefix/share/applications/veltmoore-brawl.desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net "$prefix/share/metainfo/net.veltmoore.brawl.metainfo.xml" || fail "appstreamcli validate"
echo "installed game: OK"
