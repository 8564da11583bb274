#!/usr/bin/env bash
# The replay page at scale: 5 000 objects over 600 steps. Writes the page of a made-up run where every
# object moves (waves, orbits with fading, bounces, destroyed ones) and the page of a real vohost run of
# a generated scene, prints their sizes, and measures opening and playback in headless Chromium.
#   bench/replay_playback.sh BUILD_DIR      (make bench-replay builds and runs it on build/release)
set -euo pipefail
build=${1:?usage: bench/replay_playback.sh BUILD_DIR}
here=$(cd "$(dirname "$0")/.." && pwd)
out="$build/replay-bench"
mkdir -p "$out"

objects=5000
steps=600

echo "== made-up run: every object moves"
TIMEFORMAT="written in %R s"
time "$build/tests/replay_sample" $objects $steps "$out/moving.html"

echo "== vohost run of a generated scene ($objects objects, $steps steps, a TEXT and a value logged per step)"
node -e '
  const [objects, steps] = process.argv.slice(1).map(Number);
  const instances = Array.from({ length: objects }, (_, i) =>
    ({ x: (i * 37) % 640, y: (i * 53) % 480, width: 24, height: 24, hotSpotX: 12, hotSpotY: 12 }));
  console.log(JSON.stringify({
    frame: { width: 640, height: 480, frameRate: 60, frames: steps },
    objects: [{ name: "Ball", instances }],
    nimbo: [{ text: "start" }],
    events: [{ conditions: [{ host: "every frame" }],
               actions: [{ host: "log", name: "TEXT", value: { expression: 0 } }] }],
  }));' $objects $steps >"$out/scene.json"
# The trace of such a run is half a gigabyte of JSON lines: it is written, and thrown away.
TIMEFORMAT="run, trace and page written in %R s"
time "$build/vohost/vohost" run "$out/scene.json" --trace /dev/null --html "$out/scene.html" | tail -1

echo "== playback in Chromium"
node "$here/tests/browser/replay_playback.mjs" "$out/moving.html"
node "$here/tests/browser/replay_playback.mjs" "$out/scene.html"
