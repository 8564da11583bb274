/* NimboRenderer: draws a run of a NIMBO scene on a canvas, for the replay page and the studio page. A
   plain script that needs nothing else (no modules, no network); a page embeds it inline, with
   replay_renderer.css. docs/replay.md describes the replay page's data.

     const run = NimboRenderer.decodeRun(data);   // the replay page's embedded data -> a run
     const view = NimboRenderer.create(canvas, run);
     view.options                  // { labels, motion, trails, trailLength, hidden: Set of types, pointed }
     view.draw(step);              // step -1 is the frame as created, before the first step
     view.hitTest(x, y, step);     // canvas pixels -> the topmost object drawn there, or -1
     view.describe(object, step);  // -> its type, instance, place, state, alterable values and motion
     view.drawn;                   // what the last draw put down: objects, labels, walls, orbits
     NimboRenderer.legend(element, view, onChange);      // per type: swatch, name, count; a click hides it
     NimboRenderer.describeInto(element, description);   // a description as a table
     NimboRenderer.playback(page);                       // the playback bar's steps, play and keys
     NimboRenderer.bounded(input, low, high, fallback);  // a number field's value, kept within bounds

   A page with data of its own builds the run itself: { frame: {width, height, frameRate}, steps,
   types: [{name, active}], objects: [{type, instance, width, height, hotSpotX, hotSpotY}],
   field(name) -> (object, step) -> number, for "x", "y", "direction", "animationFrame", "alpha",
   "inkEffect", "destroyed" (1 or 0) and "A" to "E"; motionAt(step) -> [{nimbo, object, group, kind,
   moving, rejectDelay, walls: [top, left, right, bottom] or null, orbit: {x, y, radiusX, radiusY} or
   null}] }. Objects and types are indexes into those lists; steps run from -1 to steps - 1. */
"use strict";
const NimboRenderer = (() => {
  const FIELDS = ["x", "y", "direction", "animationFrame", "alpha", "inkEffect", "destroyed",
                  "A", "B", "C", "D", "E"];
  const VALUE_NAMES = ["A", "B", "C", "D", "E"];
  const MARGIN = 48;  // dark border around the window, where objects outside it still show
  const ALPHA_INK = 13;  // the ink effect under which the host applies an object's alpha
  const MAX_TRAIL_POINTS = 40000;  // a step never draws many more trail points than this
  // Past this many walls and orbits in a step, each group's name is drawn once (a name beside each of a
  // thousand orbits hides the objects and tells nothing more), and orbits are not dashed.
  const CROWDED_MOTION_MARKS = 100;
  const FONT = "11px system-ui, sans-serif";
  const LABEL_HEIGHT = 14, LABEL_PAD = 3, LABEL_BASELINE = 11;
  const MOTION_KINDS = { 0: "null motion", 1: "horizontal", 2: "vertical", 3: "horizontal with a sine wave",
                         4: "vertical with a sine wave", 5: "orbit", 7: "move toward" };
  // Which walls a kind turns at: across (left and right) or up and down (top and bottom).
  const ACROSS = new Set([1, 3]), UP_DOWN = new Set([2, 4]);

  const typeHue = (t) => (t * 137.508 + 210) % 360;
  const typeColor = (t) => `hsl(${typeHue(t)}, 70%, 42%)`;
  const typeFill = (t) => `hsla(${typeHue(t)}, 70%, 55%, 0.28)`;

  // The last change at or before step k of a list of [step, ...] entries, or null.
  function changeAt(changes, k) {
    let lo = 0, hi = changes.length - 1, found = null;
    while (lo <= hi) {
      const mid = (lo + hi) >> 1;
      if (changes[mid][0] <= k) { found = changes[mid]; lo = mid + 1; } else hi = mid - 1;
    }
    return found;
  }

  // --- The page's data -------------------------------------------------------------------------------

  // A track is its first value, then runs of equal differences (a run flagged as repeated carries its
  // count less one, 0 meaning to the end of the track); numbers are zigzag base-32 digits in base64url
  // characters, the sixth bit marking that another digit follows. Each field of each object
  // becomes a number when it holds for the whole run, else its value at every step in the smallest typed
  // array that holds them: memory is what opening a long run costs most.
  const DIGITS = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_";
  const digitValue = new Int8Array(128).fill(-1);
  for (let d = 0; d < 64; d++) digitValue[DIGITS.charCodeAt(d)] = d;
  const unzigzag = (z) => (z % 2 ? -(z + 1) / 2 : z / 2);

  function decodeTracks(objects, count) {
    const columns = FIELDS.map(() => new Array(objects.length));
    const scratch = new Int32Array(count);
    const keep = (column, i) => {
      let min = scratch[0], max = scratch[0];
      for (let k = 1; k < count; k++) {
        if (scratch[k] < min) min = scratch[k];
        if (scratch[k] > max) max = scratch[k];
      }
      const Type = min >= -128 && max <= 127 ? Int8Array : min >= -32768 && max <= 32767 ? Int16Array : Int32Array;
      column[i] = new Type(count);
      column[i].set(scratch);
    };
    objects.forEach((object, i) => {
      const text = object[6];
      let at = 0;
      const read = () => {
        let number = 0, scale = 1, digit;
        do {
          digit = at < text.length ? digitValue[text.charCodeAt(at++)] : -1;
          if (!(digit >= 0)) throw new Error("replay data: object " + i + " has a broken track");
          number += (digit & 31) * scale;
          scale *= 32;
        } while (digit & 32);
        return number;
      };
      const varying = read();
      for (let f = 0; f < FIELDS.length; f++) {
        let value = unzigzag(read());
        if (!(varying & (1 << f))) {
          columns[f][i] = value;
          continue;
        }
        scratch[0] = value;
        for (let k = 1; k < count;) {
          const token = read();
          const repeat = token % 2 ? read() : -1;  // 0: to the end of the track
          const run = repeat < 0 ? 1 : repeat === 0 ? count - k : repeat + 1;
          const difference = unzigzag((token - (token % 2)) / 2);
          if (k + run > count) throw new Error("replay data: object " + i + " has more steps than the run");
          for (let r = 0; r < run; r++) scratch[k++] = value += difference;
        }
        keep(columns[f], i);
      }
    });
    return columns;
  }

  // Each controlled object's changes: [step, 0] while it is not listed, else its state.
  function decodeMotion(motion) {
    return motion.map(([nimbo, object, changes]) => changes.map(([step, s]) => [step, s === 0 ? null : {
      nimbo, object, group: s[0], kind: s[1], moving: s[2] === 1, rejectDelay: s[3], walls: s[4],
      orbit: s[5] && { x: s[5][0], y: s[5][1], radiusX: s[5][2], radiusY: s[5][3] },
    }]));
  }

  function decodeRun(data) {
    const columns = decodeTracks(data.objects, data.steps + 1);
    const motion = decodeMotion(data.motion || []);
    let motionStep = NaN, motionShown = [];
    return {
      frame: data.frame,
      steps: data.steps,
      types: data.types.map(([name, active]) => ({ name, active: active === 1 })),
      objects: data.objects.map((o) => ({ type: o[0], instance: o[1], width: o[2], height: o[3], hotSpotX: o[4],
                                          hotSpotY: o[5] })),
      field(name) {
        const column = columns[FIELDS.indexOf(name)];
        return (i, k) => {
          const v = column[i];
          return typeof v === "number" ? v : v[k + 1];
        };
      },
      motionAt(k) {
        if (k !== motionStep) {
          motionStep = k;
          motionShown = [];
          for (const changes of motion) {
            const change = changeAt(changes, k);
            if (change && change[1]) motionShown.push(change[1]);
          }
        }
        return motionShown;
      },
    };
  }

  // --- Labels that never overlap -------------------------------------------------------------------

  // Rectangles {left, top, width, height} bucketed by the cells they cover, so a new one is tested only
  // against its neighbours. Touching edges do not overlap.
  const CELL = 48;
  function rectGrid() {
    const cells = new Map();
    const keys = (r, visit) => {
      for (let cx = Math.floor(r.left / CELL); cx <= Math.floor((r.left + r.width - 1) / CELL); cx++) {
        for (let cy = Math.floor(r.top / CELL); cy <= Math.floor((r.top + r.height - 1) / CELL); cy++) {
          if (visit(cx * 1e6 + cy) === true) return true;
        }
      }
      return false;
    };
    const overlap = (a, b) => a.left < b.left + b.width && b.left < a.left + a.width &&
                              a.top < b.top + b.height && b.top < a.top + a.height;
    return {
      add(r) {
        keys(r, (key) => {
          if (!cells.has(key)) cells.set(key, []);
          cells.get(key).push(r);
        });
      },
      hits(r, except) {
        return keys(r, (key) => (cells.get(key) || []).some((other) => other !== except && overlap(r, other)));
      },
    };
  }

  // Places of a w x h label around a box, in order of preference: above, below, right, left, then the
  // other corners, then inside its top left corner.
  function aroundBox(b, w, h) {
    const right = b.left + b.width, bottom = b.top + b.height, middle = Math.round(b.top + (b.height - h) / 2);
    return [[b.left, b.top - h - 1], [b.left, bottom + 1], [right + 2, middle], [b.left - w - 2, middle],
            [right - w, b.top - h - 1], [right - w, bottom + 1], [b.left + 1, b.top + 1]];
  }
  const aroundPoint = (x, y, w, h) => [[x + 4, y - h - 2], [x + 4, y + 2], [x - w - 4, y - h - 2],
                                       [x - w - 4, y + 2]];
  // Where an entry's walls stand: [vertical, position] for the pair its motion turns at.
  function wallsOf(entry) {
    if (!entry.walls) return [];
    const [top, left, right, bottom] = entry.walls;
    if (ACROSS.has(entry.kind)) return [[true, left], [true, right]];
    if (UP_DOWN.has(entry.kind)) return [[false, top], [false, bottom]];
    return [];
  }
  const addOnce = (list, item) => list.includes(item) || list.push(item);

  // --- The view ----------------------------------------------------------------------------------------

  function create(canvas, run) {
    const W = run.frame.width, H = run.frame.height, N = run.objects.length;
    const ctx = canvas.getContext("2d");
    canvas.width = W + 2 * MARGIN;
    canvas.height = H + 2 * MARGIN;
    const [X, Y, DIR, ANIM, ALPHA, INK, DESTROYED] = FIELDS.slice(0, 7).map((name) => run.field(name));
    const VALUES = VALUE_NAMES.map((name) => run.field(name));
    const membersOf = run.types.map(() => []);
    run.objects.forEach((object, i) => membersOf[object.type].push(i));
    const options = { labels: N <= 400, motion: true, trails: false, trailLength: 30, hidden: new Set(),
                      pointed: -1 };
    const widths = new Map();
    let drawn = { objects: [], labels: [], walls: [], orbits: [] };

    const shown = (i, k) => !DESTROYED(i, k) && !options.hidden.has(run.objects[i].type);
    const opacity = (i, k) => (INK(i, k) === ALPHA_INK ? Math.min(255, Math.max(0, ALPHA(i, k))) / 255 : 1);
    const boxOf = (i, k) => {
      const o = run.objects[i];
      const left = X(i, k) - o.hotSpotX, top = Y(i, k) - o.hotSpotY;
      return { left, top, width: o.width, height: o.height };
    };
    const textWidth = (text) => {
      if (!widths.has(text)) widths.set(text, Math.ceil(ctx.measureText(text).width) + 2 * LABEL_PAD);
      return widths.get(text);
    };
    const trailLength = () => Math.min(10000, Math.max(2, Math.round(Number(options.trailLength)) || 30));

    // A trail is the object's path over the last steps; a jump across half the window (a wrap) breaks it.
    function drawTrails(k) {
      const length = trailLength();
      const stride = Math.max(1, Math.ceil((N * length) / MAX_TRAIL_POINTS));
      ctx.lineWidth = 1;
      ctx.globalAlpha = 0.55;
      membersOf.forEach((members, t) => {
        if (options.hidden.has(t)) return;
        ctx.beginPath();
        for (const i of members) {
          let open = false, lastX = 0, lastY = 0;
          for (let j = k - Math.floor(length / stride) * stride; j <= k; j += stride) {
            if (j < -1) continue;
            if (DESTROYED(i, j)) {
              open = false;
              continue;
            }
            const x = X(i, j), y = Y(i, j);
            if (open && Math.abs(x - lastX) <= W / 2 && Math.abs(y - lastY) <= H / 2) ctx.lineTo(x, y);
            else ctx.moveTo(x, y);
            open = true;
            lastX = x;
            lastY = y;
          }
        }
        ctx.strokeStyle = typeColor(t);
        ctx.stroke();
      });
      ctx.globalAlpha = 1;
    }

    // One box per object at its hot spot, with a line from the hot spot along its direction (0 = right,
    // counted anticlockwise in 32 steps). Objects of one type and one opacity share a path.
    function traceObject(i, k, active) {
      const o = run.objects[i], x = X(i, k), y = Y(i, k);
      ctx.rect(x - o.hotSpotX + 0.5, y - o.hotSpotY + 0.5, Math.max(1, o.width - 1), Math.max(1, o.height - 1));
      if (!active) return;
      const angle = (DIR(i, k) * Math.PI) / 16;
      const length = Math.max(6, Math.min(o.width, o.height) / 2 + 4);
      ctx.moveTo(x, y);
      ctx.lineTo(x + Math.cos(angle) * length, y - Math.sin(angle) * length);
    }
    function paint(t) {
      ctx.fillStyle = typeFill(t);
      ctx.fill();
      ctx.strokeStyle = typeColor(t);
      ctx.stroke();
    }
    function drawObjects(k) {
      ctx.lineWidth = 1;
      membersOf.forEach((members, t) => {
        if (options.hidden.has(t)) return;
        const active = run.types[t].active;
        ctx.beginPath();
        for (const i of members) {
          if (DESTROYED(i, k)) continue;
          drawn.objects.push(i);
          if (opacity(i, k) === 1) traceObject(i, k, active);
        }
        paint(t);
        for (const i of members) {
          const a = opacity(i, k);
          if (DESTROYED(i, k) || a === 1) continue;
          ctx.globalAlpha = a;
          ctx.beginPath();
          traceObject(i, k, active);
          paint(t);
        }
        ctx.globalAlpha = 1;
      });
    }

    function drawPointed(k) {
      const i = options.pointed;
      if (!(i >= 0 && i < N) || !shown(i, k)) return;
      const b = boxOf(i, k);
      ctx.lineWidth = 3;
      ctx.strokeStyle = "#ffb300";
      ctx.strokeRect(b.left - 1, b.top - 1, b.width + 2, b.height + 2);
      ctx.lineWidth = 1;
      ctx.strokeStyle = "#202124";
      ctx.strokeRect(b.left - 2.5, b.top - 2.5, b.width + 5, b.height + 5);
    }

    // Walls as dashed lines across the canvas, orbits as their ellipse and a cross at the centre, each
    // once however many entries share it; their group names go to the labels.
    function collectMotion(k) {
      const walls = new Map(), orbits = new Map();
      for (const entry of run.motionAt(k)) {
        if (entry.object < 0 || entry.object >= N || !shown(entry.object, k)) continue;
        const type = run.objects[entry.object].type;
        for (const [vertical, at] of wallsOf(entry)) {
          const key = (vertical ? "x" : "y") + at;
          if (!walls.has(key)) walls.set(key, { vertical, at, groups: [], type });
          addOnce(walls.get(key).groups, entry.group);
        }
        const o = entry.orbit;
        if (!o || typeof o.x !== "number") continue;
        const key = [o.x, o.y, o.radiusX, o.radiusY].join();
        if (!orbits.has(key)) orbits.set(key, { ...o, groups: [], objects: [], type });
        orbits.get(key).objects.push(entry.object);
        addOnce(orbits.get(key).groups, entry.group);
      }
      drawn.walls = [...walls.values()];
      drawn.orbits = [...orbits.values()];
    }
    const crowdedMotion = () => drawn.walls.length + drawn.orbits.length > CROWDED_MOTION_MARKS;
    // Orbits and crosses of one type share a path: a thousand strokes of their own take the page longer to
    // paint than all the rest. A dash starts afresh on each ellipse as on one of its own.
    function drawMotion() {
      ctx.lineWidth = 1;
      ctx.setLineDash([6, 4]);
      for (const wall of drawn.walls) {
        ctx.beginPath();
        if (wall.vertical) {
          ctx.moveTo(wall.at + 0.5, -MARGIN);
          ctx.lineTo(wall.at + 0.5, H + MARGIN);
        } else {
          ctx.moveTo(-MARGIN, wall.at + 0.5);
          ctx.lineTo(W + MARGIN, wall.at + 0.5);
        }
        ctx.strokeStyle = typeColor(wall.type);
        ctx.stroke();
      }
      // Crowded orbits are faint solid lines: dashing a thousand ellipses takes longer than all the rest.
      const pointedOrbit = (orbit) => orbit.objects.includes(options.pointed);
      if (crowdedMotion()) {
        ctx.globalAlpha = 0.45;
      } else {
        ctx.setLineDash([2, 3]);
      }
      strokeByType(drawn.orbits.filter((orbit) => !pointedOrbit(orbit)), 1, traceOrbit);
      ctx.globalAlpha = 1;
      strokeByType(drawn.orbits.filter(pointedOrbit), 2, traceOrbit);
      ctx.setLineDash([]);
      strokeByType(drawn.orbits, 1.5, (orbit) => {
        ctx.moveTo(orbit.x - 5, orbit.y);
        ctx.lineTo(orbit.x + 5, orbit.y);
        ctx.moveTo(orbit.x, orbit.y - 5);
        ctx.lineTo(orbit.x, orbit.y + 5);
      });
    }
    function traceOrbit(orbit) {
      const radiusX = Math.abs(orbit.radiusX), radiusY = Math.abs(orbit.radiusY);
      ctx.moveTo(orbit.x + radiusX, orbit.y);
      ctx.ellipse(orbit.x, orbit.y, radiusX, radiusY, 0, 0, 2 * Math.PI);
    }
    // Each type's things traced into one path and stroked in its colour.
    function strokeByType(things, lineWidth, trace) {
      const byType = new Map();
      for (const thing of things) {
        if (!byType.has(thing.type)) byType.set(thing.type, []);
        byType.get(thing.type).push(thing);
      }
      ctx.lineWidth = lineWidth;
      for (const [type, ofType] of byType) {
        ctx.beginPath();
        for (const thing of ofType) trace(thing);
        ctx.strokeStyle = typeColor(type);
        ctx.stroke();
      }
    }

    // Places of a w-wide group tag at a wall's ends, in the margin where objects seldom are.
    function alongWall(wall, w) {
      const a = wall.at, h = LABEL_HEIGHT, far = (wall.vertical ? H : W) + MARGIN - h - 2;
      if (wall.vertical) return [[a + 3, -MARGIN + 2], [a - w - 2, -MARGIN + 2], [a + 3, far], [a - w - 2, far]];
      const end = W + MARGIN - w - 2;
      return [[-MARGIN + 2, a - h - 1], [-MARGIN + 2, a + 2], [end, a - h - 1], [end, a + 2]];
    }
    const onCanvas = (r) => r.left >= -MARGIN && r.top >= -MARGIN && r.left + r.width <= W + MARGIN &&
                            r.top + r.height <= H + MARGIN;
    // The part of a box on the canvas, or null when it is wholly off it.
    function clipped(b) {
      const left = Math.max(b.left, -MARGIN), top = Math.max(b.top, -MARGIN);
      const right = Math.min(b.left + b.width, W + MARGIN), bottom = Math.min(b.top + b.height, H + MARGIN);
      return right > left && bottom > top ? { left, top, width: right - left, height: bottom - top } : null;
    }

    // The names of what is drawn, each at the first place around its thing that no other label takes,
    // preferring places that cover no object; a name with no free place is left out (pointing at its
    // object shows it). The pointed object's name is placed first, so it is always there.
    function placeLabels(k) {
      const pointed = options.pointed;
      const pointedShown = pointed >= 0 && pointed < N && shown(pointed, k);
      if (!options.labels && !pointedShown && drawn.walls.length + drawn.orbits.length === 0) return;
      ctx.font = FONT;
      const placed = rectGrid(), boxes = rectGrid(), ownBox = new Map();
      for (const i of drawn.objects) {
        const b = clipped(boxOf(i, k));
        if (!b) continue;
        boxes.add(b);
        ownBox.set(i, b);
      }
      const place = (text, places, own, label) => {
        const width = textWidth(text);
        for (const mayCover of [false, true]) {
          for (const [left, top] of places(width)) {
            const r = { left: Math.round(left), top: Math.round(top), width, height: LABEL_HEIGHT };
            if (!onCanvas(r) || placed.hits(r) || (!mayCover && boxes.hits(r, own))) continue;
            placed.add(r);
            drawn.labels.push(Object.assign(r, label, { text }));
            return;
          }
        }
      };
      const nameObject = (i) => {
        const b = ownBox.get(i), o = run.objects[i];
        if (!b) return;
        place(`${run.types[o.type].name} ${o.instance}`, (w) => aroundBox(b, w, LABEL_HEIGHT), b, { object: i });
      };
      if (pointedShown) nameObject(pointed);
      const crowded = crowdedMotion(), named = new Set();
      const nameGroups = (groups, places, type) => {
        const text = groups.join(", ");
        if (crowded && named.has(text)) return;
        const count = drawn.labels.length;
        place(text, places, null, { group: true, type });
        if (drawn.labels.length > count) named.add(text);
      };
      for (const orbit of drawn.orbits) {
        nameGroups(orbit.groups, (w) => aroundPoint(orbit.x, orbit.y, w, LABEL_HEIGHT), orbit.type);
      }
      for (const wall of drawn.walls) nameGroups(wall.groups, (w) => alongWall(wall, w), wall.type);
      if (!options.labels) return;
      for (const i of drawn.objects) if (i !== pointed) nameObject(i);
    }

    // Object names in dark type on a light halo; group names in white on their type's colour.
    function drawLabels() {
      ctx.font = FONT;
      ctx.lineJoin = "round";
      for (const label of drawn.labels) {
        if (label.group) {
          ctx.fillStyle = typeColor(label.type);
          ctx.fillRect(label.left, label.top, label.width, label.height);
          ctx.fillStyle = "#fff";
        } else {
          ctx.strokeStyle = "rgba(255, 255, 255, 0.85)";
          ctx.lineWidth = 3;
          ctx.strokeText(label.text, label.left + LABEL_PAD, label.top + LABEL_BASELINE);
          ctx.fillStyle = label.object === options.pointed ? "#000" : "#202124";
        }
        ctx.fillText(label.text, label.left + LABEL_PAD, label.top + LABEL_BASELINE);
      }
    }

    function draw(k) {
      drawn = { objects: [], labels: [], walls: [], orbits: [] };
      ctx.setTransform(1, 0, 0, 1, 0, 0);
      ctx.fillStyle = "#2b2f36";
      ctx.fillRect(0, 0, canvas.width, canvas.height);
      ctx.fillStyle = "#fafbfc";
      ctx.fillRect(MARGIN, MARGIN, W, H);
      ctx.setTransform(1, 0, 0, 1, MARGIN, MARGIN);
      if (options.motion) collectMotion(k);
      drawMotion();
      if (options.trails) drawTrails(k);
      drawObjects(k);
      drawPointed(k);
      placeLabels(k);
      drawLabels();
    }

    // The topmost object under a canvas point: the last one drawn there.
    function hitTest(x, y, k) {
      const fx = x - MARGIN, fy = y - MARGIN;
      for (let i = N - 1; i >= 0; i--) {
        if (!shown(i, k)) continue;
        const b = boxOf(i, k);
        if (fx >= b.left && fy >= b.top && fx < b.left + b.width && fy < b.top + b.height) return i;
      }
      return -1;
    }

    function describe(i, k) {
      const o = run.objects[i], type = run.types[o.type];
      const description = {
        type: type.name, instance: o.instance, active: type.active, x: X(i, k), y: Y(i, k), width: o.width,
        height: o.height, hotSpotX: o.hotSpotX, hotSpotY: o.hotSpotY, direction: DIR(i, k),
        animationFrame: ANIM(i, k), values: {}, alpha: ALPHA(i, k), inkEffect: INK(i, k),
        destroyed: DESTROYED(i, k) === 1, motion: run.motionAt(k).filter((entry) => entry.object === i),
      };
      VALUE_NAMES.forEach((name, v) => (description.values[name] = VALUES[v](i, k)));
      return description;
    }

    return {
      options, draw, hitTest, describe, run, margin: MARGIN,
      get drawn() { return drawn; },
      colorOf: typeColor,
    };
  }

  // --- Page parts: the legend and an object's description --------------------------------------------

  function legend(element, view, onChange) {
    const counts = view.run.types.map(() => 0);
    for (const object of view.run.objects) counts[object.type]++;
    element.replaceChildren();
    element.classList.add("nr-legend");
    view.run.types.forEach((type, t) => {
      const item = document.createElement("button");
      item.type = "button";
      item.className = "nr-legend-item";
      item.dataset.type = String(t);
      item.title = `Hide or show every ${type.name}`;
      item.setAttribute("aria-pressed", "true");
      const swatch = document.createElement("span");
      swatch.className = "nr-swatch";
      swatch.style.background = view.colorOf(t);
      const name = document.createElement("span");
      name.className = "nr-name";
      name.textContent = type.name;
      const count = document.createElement("span");
      count.className = "nr-count";
      count.textContent = String(counts[t]);
      item.append(swatch, name, count);
      item.addEventListener("click", () => {
        const hidden = !view.options.hidden.has(t);
        if (hidden) view.options.hidden.add(t); else view.options.hidden.delete(t);
        item.setAttribute("aria-pressed", String(!hidden));
        item.classList.toggle("nr-off", hidden);
        onChange();
      });
      element.appendChild(item);
    });
  }

  // --- Page parts: the playback bar ------------------------------------------------------------------

  // A field's whole number within its bounds, whatever was typed; the field then shows the value used.
  // Left alone when already so, so that a field being typed in keeps its caret.
  function bounded(input, low, high, fallback) {
    const value = Math.round(Number(input.value));
    const kept = input.value === "" || !Number.isFinite(value) ? fallback : Math.min(high, Math.max(low, value));
    if (String(kept) !== input.value) input.value = String(kept);
    return kept;
  }

  // The bar both pages carry (#created, #first, #back, #play, #forward, #last, #slider, #step and
  // #frame-count), its keys and the play clock. The page gives:
  //   steps()      how many steps its run has (it may run again with another count)
  //   showStep(k)  draws step k (-1 the frame as created) and its panel
  //   rate()       steps a second at 1x; speed(), the factor (1 if not given)
  //   typing(target)  whether a key belongs to the field it was typed in (none if not given)
  //   played(), ticked(now)  told when playing starts and at each animation frame of it
  // It gives show(k), stepTo(k) (which pauses), showSteps() (after a run), restartClock() (after a
  // change of speed), current and playing.
  function playback(page) {
    const CREATED = -1;
    const $ = (id) => document.getElementById(id);
    const speed = page.speed || (() => 1);
    let current = 0, playing = false, playFrom = 0, playStart = 0;

    function show(k) {
      current = Math.max(CREATED, Math.min(page.steps() - 1, k));
      page.showStep(current);
      $("slider").value = String(current);
      $("step").value = current === CREATED ? "" : String(current);
      $("created").setAttribute("aria-pressed", String(current === CREATED));
      document.body.dataset.frame = String(current);
    }
    function showSteps() {
      const steps = page.steps();
      $("frame-count").textContent = String(steps);
      $("slider").max = String(Math.max(CREATED, steps - 1));
      $("step").max = String(Math.max(0, steps - 1));
    }
    // The step comes from the time since playing started, so a slow draw skips steps, never slows the run.
    function tick(now) {
      if (!playing) return;
      if (page.ticked) page.ticked(now);
      const last = page.steps() - 1;
      const k = Math.min(last, playFrom + Math.floor((Math.max(0, now - playStart) / 1000) * page.rate() * speed()));
      if (k !== current) show(k);
      if (k >= last) pause(); else requestAnimationFrame(tick);
    }
    function restartClock() {
      playFrom = Math.max(0, current);
      playStart = performance.now();
    }
    function play() {
      if (page.steps() < 2 || playing) return;
      if (current >= page.steps() - 1) show(0);
      playing = true;
      if (page.played) page.played();
      restartClock();
      $("play").textContent = "Pause";
      document.body.dataset.playing = "true";
      requestAnimationFrame(tick);
    }
    function pause() {
      playing = false;
      $("play").textContent = "Play";
      document.body.dataset.playing = "false";
    }
    function stepTo(k) {
      pause();
      show(k);
    }

    $("play").addEventListener("click", () => (playing ? pause() : play()));
    $("created").addEventListener("click", () => stepTo(CREATED));
    $("first").addEventListener("click", () => stepTo(0));
    $("back").addEventListener("click", () => stepTo(current - 1));
    $("forward").addEventListener("click", () => stepTo(current + 1));
    $("last").addEventListener("click", () => stepTo(page.steps() - 1));
    $("slider").addEventListener("input", () => stepTo(Number($("slider").value)));
    $("step").addEventListener("change", () => {
      stepTo(bounded($("step"), 0, Math.max(0, page.steps() - 1), Math.max(0, current)));
    });
    // Taken before any control sees them, so a button, a checkbox or the slider last clicked keeps none.
    const keys = {
      " ": () => (playing ? pause() : play()), ArrowLeft: () => stepTo(current - 1),
      ArrowRight: () => stepTo(current + 1), Home: () => stepTo(0), End: () => stepTo(page.steps() - 1),
    };
    document.addEventListener("keydown", (event) => {
      if (!keys[event.key] || event.altKey || event.ctrlKey || event.metaKey) return;
      if (page.typing && page.typing(event.target)) return;
      event.preventDefault();
      event.stopPropagation();
      keys[event.key]();
    }, true);

    return {
      show, showSteps, stepTo, restartClock,
      get current() { return current; },
      // A page may choose the step its next show starts from without showing it (a new scene, step 0).
      set current(k) { current = k; },
      get playing() { return playing; },
    };
  }

  function wallsText(entry) {
    const [top, left, right, bottom] = entry.walls;
    if (ACROSS.has(entry.kind)) return `left ${left}, right ${right}`;
    if (UP_DOWN.has(entry.kind)) return `top ${top}, bottom ${bottom}`;
    return `top ${top}, left ${left}, right ${right}, bottom ${bottom}`;
  }

  function motionRows(entry) {
    const rows = [["motion group", entry.nimbo > 0 ? `${entry.group} (NIMBO ${entry.nimbo})` : entry.group]];
    let motion = MOTION_KINDS[entry.kind] || `kind ${entry.kind}`;
    if (!entry.moving && entry.kind !== 0) motion += ", stopped";
    if (typeof entry.rejectDelay === "number") motion += `, rejected: delay ${entry.rejectDelay}`;
    rows.push(["motion", motion]);
    if (entry.walls) rows.push(["walls", wallsText(entry)]);
    if (entry.orbit) {
      const o = entry.orbit;
      if (typeof o.x === "number") rows.push(["orbit centre", `(${o.x}, ${o.y})`]);
      const across = o.radiusX === o.radiusY ? String(o.radiusX) : `${o.radiusX} across, ${o.radiusY} down`;
      rows.push(["radius", across]);
    }
    return rows;
  }

  function describeInto(element, d) {
    const rows = [["type", d.type], ["instance", d.instance], ["x", d.x], ["y", d.y]];
    if (d.active) {
      rows.push(["direction", d.direction], ["animation frame", d.animationFrame]);
      for (const name of VALUE_NAMES) rows.push([`value ${name}`, d.values[name]]);
      rows.push(["alpha", d.alpha], ["ink effect", d.inkEffect]);
    }
    if (d.destroyed) rows.push(["destroyed", "yes"]);
    for (const entry of d.motion) rows.push(...motionRows(entry));
    const table = document.createElement("table");
    table.className = "nr-describe";
    for (const [key, value] of rows) {
      const row = table.insertRow();
      row.insertCell().textContent = key;
      row.insertCell().textContent = String(value);
    }
    element.replaceChildren(table);
  }

  return Object.freeze({ decodeRun, create, legend, describeInto, playback, bounded, changeAt, FIELDS });
})();
