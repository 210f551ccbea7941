#!/usr/bin/env bash
# whole_demo_test.sh TV ARM_PROGRAM PC_PROGRAM DATA_DIR EMULATOR...: the whole demo on the
# simulated console as ARM code (ARM_PROGRAM under EMULATOR) and as the PC's program, on the output
# TV: every painted frame's digest, the music, the caption file and three stills must be the same
# bytes. Says where they first differ.
set -euo pipefail
tv=$1 arm=$2 pc=$3 data=$4
shift 4
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

record() {
  local name=$1
  shift
  if ! "$@" --headless --tv "$tv" --no-progress --demo-stills 0,30000,100000 --frames "$work/$name" \
      --frame-digests "$work/$name.txt" --captions "$work/$name.scc" --wav "$work/$name.wav" \
      --data "$data" >"$work/$name.log" 2>&1; then
    echo "the $name program failed on $tv:"
    cat "$work/$name.log"
    return 1
  fi
}
record pc "$pc"
record arm "$@" "$arm"

failed=0
frames=$(wc -l <"$work/arm.txt")
if [ "$frames" -ne 5865 ]; then
  echo "$frames painted frames on ARM, 5865 wanted (0, 20, ..., 117280 ms)"
  failed=1
fi
if ! cmp -s "$work/pc.txt" "$work/arm.txt"; then
  paste -d ' ' "$work/pc.txt" "$work/arm.txt" | awk '
    $1 != $3 || $2 != $4 {
      if (!n++) printf "first differing frame: %s ms %s on the PC, %s ms %s on ARM\n", $1, $2, $3, $4
    }
    END { printf "%d painted frames differ\n", n }'
  failed=1
fi
# The whole demo's music: 117.3 s or more of 16-bit stereo at 22050 Hz.
if [ "$(stat -c %s "$work/arm.wav")" -lt 10346000 ]; then
  echo "the music written on ARM is shorter than the demo"
  failed=1
fi
for file in wav scc; do
  cmp "$work/pc.$file" "$work/arm.$file" || failed=1
done
for still in frame_000000.bmp frame_000001.bmp frame_000002.bmp; do
  cmp "$work/pc/$still" "$work/arm/$still" || failed=1
done
[ "$failed" -eq 0 ] && echo "$tv: $frames painted frames, the music and the captions the same on ARM"
exit "$failed"
