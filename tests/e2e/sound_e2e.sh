#!/usr/bin/env bash
# Hears the game through SDL's disk driver, which writes every byte the mixer sends to the sound
# card into a file: the title plays nothing but silence (its music goes through FluidSynth, which
# finds no device here and stays quiet without holding anything up), clicking NEW GAME writes one
# of the nineteen clicks byte for byte, answering the question clicks again, and closing the
# title window releases the sounds and ends the program.
# Usage: sound_e2e.sh GAME_DIR OUT_DIR   (run inside xvfb-run, or with DISPLAY set)
set -euo pipefail
source "$(dirname "$0")/title_steps.sh"
game_src=$1
out=$2
rm -rf "$out"
mkdir -p "$out/config"
export QT_QPA_PLATFORM=xcb
game="$out/game"
cp -r "$game_src" "$game"
rm -f "$game/dat/my.dat"
# The mixer's own defaults (8-bit mono 11025 Hz, the format the clicks are made in), whatever
# PCMMIX.INI the person running this keeps.
export XDG_CONFIG_HOME="$out/config"
export SDL_AUDIODRIVER=disk
export SDL_DISKAUDIOFILE="$out/sound.raw"
export SDL_DISKAUDIODELAY=0

failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

"$game/quelmarin" >"$out/game.log" 2>&1 &
pid=$!
trap 'kill $pid 2>/dev/null || true' EXIT

# How often the clicks' bytes stand in the output from byte $1 on; the mixer plays a sound up to,
# not including, its last byte. Prints "count first-click-seen".
clicks_in() {
  python3 - "$SDL_DISKAUDIOFILE" "$game/dat" "$1" <<'PY'
import struct, sys
out, dat, start = sys.argv[1], sys.argv[2], int(sys.argv[3])
with open(out, "rb") as f:
    f.seek(start)
    heard = f.read()
count, first = 0, "-"
for n in range(19):
    wav = open(f"{dat}/{n}.wav", "rb").read()
    at = wav.index(b"data")
    size = struct.unpack("<I", wav[at + 4:at + 8])[0]
    body = wav[at + 8:at + 8 + size - 1]
    found = heard.count(body)
    if found and first == "-":
        first = f"{n}.wav"
    count += found
print(count, first)
PY
}
# Waits up to 6 s for at least $2 clicks from byte $1 on; prints "count first-click-seen".
await_clicks() {
  local result
  for _ in $(seq 1 20); do
    result=$(clicks_in "$1")
    [ "${result%% *}" -ge "$2" ] && break
    sleep 0.3
  done
  echo "$result"
}
size_of() { stat -c %s "$SDL_DISKAUDIOFILE" 2>/dev/null || echo 0; }
# True when the output from byte $1 on is silence (128) alone.
silent_from() {
  python3 -c "
import sys
f = open(sys.argv[1], 'rb'); f.seek(int(sys.argv[2])); d = f.read()
sys.exit(0 if d.strip(b'\x80') == b'' else 1)" "$SDL_DISKAUDIOFILE" "$1"
}

title=$(qm_wait_window "$pid" "Tellivar")
[ -n "$title" ] || { echo "FAIL: the title window never appeared"; cat "$out/game.log"; exit 1; }
qm_origin "$title"
sleep 1
[ "$(size_of)" -gt 0 ] || fail "the mixer did not open the sound device"
silent_from 0 || fail "the title made a sound before anything was clicked"

before=$(size_of)
qm_click 328 174  # NEW GAME
box=$(qm_wait_window "$pid" "確認")
[ -n "$box" ] || fail "NEW GAME did not ask"
read -r heard first < <(await_clicks "$before" 1)
echo "NEW GAME: $heard click(s) written, the first $first"
[ "$heard" -ge 1 ] || fail "clicking NEW GAME wrote no click"

qm_answer "$pid" alt+n || fail "the question could not be answered"
read -r heard_after _ < <(await_clicks "$before" $((heard + 1)))
echo "after answering no: $heard_after click(s) written"
[ "$heard_after" -gt "$heard" ] || fail "answering no did not click"

# Closing the title window ends the program, giving back the waves and the device on the way.
qm_close_window "$title"
if qm_wait_exit "$pid"; then
  status=0
  wait "$pid" || status=$?
  [ "$status" -eq 0 ] || fail "the game ended with status $status"
else
  fail "the game did not end when its title window closed"
fi
trap - EXIT
# For a person to listen to: what the game sent to the sound card, each stretch of silence cut
# to a tenth of a second; then the raw capture goes, tens of megabytes of mostly silence.
python3 - "$SDL_DISKAUDIOFILE" "$out/heard.wav" <<'PY'
import re, sys, wave
raw = open(sys.argv[1], "rb").read()
quiet = b"\x80" * 1102
heard = re.sub(b"\x80{1103,}", quiet, raw)
with wave.open(sys.argv[2], "wb") as w:
    w.setnchannels(1)
    w.setsampwidth(1)
    w.setframerate(11025)
    w.writeframes(heard)
PY
rm -f "$SDL_DISKAUDIOFILE"

if [ $failures -eq 0 ]; then
  echo "sound_e2e: 1 passed, 0 failed"
else
  cat "$out/game.log"
  echo "sound_e2e: 0 passed, 1 failed"
  exit 1
fi
