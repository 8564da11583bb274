// The studio's module, nimbo_studio.js, against the native vohost it is built from: every example scene
// gives the lines `vohost run SCENE` prints, byte for byte but for addresses in diagnostic listings
// (each build's own, as between Linux and Windows), and the data of the replay page `--html` writes;
// --frames too; a step's picture (replayStep) is that step of the whole run; a bad scene gives vohost's
// message;
// hostile regexes give the regex error box, the same box natively, instead of a hung or crashed page;
// the catalog is `vohost catalog --json`'s.
//   node studio_test.mjs MODULE VOHOST SOURCE_DIR WORK_DIR
import assert from "node:assert/strict";
import { spawnSync } from "node:child_process";
import { cpSync, mkdirSync, opendirSync, readFileSync, readdirSync, rmSync, writeFileSync } from "node:fs";
import { createRequire } from "node:module";
import path from "node:path";
import { test } from "node:test";
import vm from "node:vm";

const [modulePath, vohost, sourceDir, workDir] = process.argv.slice(2).map((arg) => path.resolve(arg));
const NimboStudio = createRequire(import.meta.url)(modulePath);
const examples = readdirSync(path.join(sourceDir, "examples"))
  .filter((name) => name.endsWith(".json"))
  .sort();

// What is each system's own, as scripts/test-windows.sh has it: object addresses in diagnostic listings,
// and the order in which the file system lists a folder the scene wrote (the names logged as "... file").
const platformNeutral = (text) =>
  text.replace(/0x[0-9a-f]+/g, "0x?").replace(/("name":"[a-z]+ file","value":)"[^"]*"/g, '$1"?"');

// The first line that differs, shown around its first differing character.
function assertSameTrace(studioText, nativeText) {
  const studio = studioText.split("\n");
  const native = nativeText.split("\n");
  const line = studio.findIndex((text, i) => text !== native[i]);
  if (line === -1 && studio.length === native.length) return;
  const at = line === -1 ? studio.length : line;
  const [a, b] = [studio[at] ?? "(no line)", native[at] ?? "(no line)"];
  let column = 0;
  while (column < a.length && a[column] === b[column]) ++column;
  const near = (text) => text.slice(Math.max(0, column - 120), column + 200);
  assert.fail(`trace line ${at + 1} differs at column ${column + 1}:\n  studio: ${near(a)}\n  native: ${near(b)}`);
}

function runNative(args, cwd) {
  const run = spawnSync(vohost, args, { cwd, encoding: "utf8", maxBuffer: 1 << 30 });
  assert.ok(run.error === undefined, `vohost did not run: ${run.error}`);
  return run;
}

// A fresh module, as each native run is a fresh process, whose file system holds the folder `dir` of
// the disk, entries in the order the disk lists them (a listing's order is the file system's), and
// whose working folder is `dir`, so a scene's relative paths name the same files in both runs.
async function studioIn(dir) {
  const studio = await NimboStudio();
  const mirror = (from) => {
    studio.FS.mkdirTree(from);
    const entries = opendirSync(from);
    for (let entry; (entry = entries.readSync()) !== null; ) {
      const at = path.join(from, entry.name);
      if (entry.isDirectory()) mirror(at);
      else studio.FS.writeFile(at, readFileSync(at));
    }
    entries.closeSync();
  };
  mirror(dir);
  studio.FS.chdir(dir);
  return studio;
}

// A folder of its own for each run, holding a copy of examples/, which the scenes list.
function freshFolder(name) {
  const dir = path.join(workDir, name);
  rmSync(dir, { recursive: true, force: true });
  mkdirSync(dir, { recursive: true });
  cpSync(path.join(sourceDir, "examples"), path.join(dir, "examples"), { recursive: true });
  return dir;
}

async function sameRun(name, sceneFile, frames) {
  const dir = freshFolder(name);
  const studio = await studioIn(dir);
  const native = runNative(["run", sceneFile, ...(frames === null ? [] : ["--frames", String(frames)])], dir);
  assert.equal(native.status, 0, native.stderr);
  const result = studio.runScene(readFileSync(path.join(dir, sceneFile), "utf8"), frames);
  assert.equal(result.error, null);
  assert.ok(result.trace.length > 0);
  assertSameTrace(platformNeutral(result.trace.map((line) => line + "\n").join("")), platformNeutral(native.stdout));
  return result;
}

test("every example scene gives the native trace", async (t) => {
  for (const example of examples) {
    await t.test(example, () => sameRun(path.basename(example, ".json"), path.join("examples", example), null));
  }
});

// The replay page's data, as vohost run --html embeds it and as replayScene gives it, platform-neutral.
const pageData = (html) =>
  JSON.parse(/<script id="replay-data" type="application\/json">(.*?)<\/script>/s.exec(html)[1]);
// The logged names of listed files are [step, name, value] there.
const neutralData = ({ title, ...data }) =>
  JSON.parse(platformNeutral(JSON.stringify(data)).replace(/(\[\d+,"[a-z]+ file",)"[^"]*"/g, '$1"?"'));

test("every example scene gives the data of its native replay page", async (t) => {
  for (const example of examples) {
    await t.test(example, async () => {
      const dir = freshFolder("replay-" + path.basename(example, ".json"));
      const studio = await studioIn(dir);
      const scene = path.join("examples", example);
      const native = runNative(["run", scene, "--trace", "trace.jsonl", "--html", "page.html"], dir);
      assert.equal(native.status, 0, native.stderr);
      const expected = neutralData(pageData(readFileSync(path.join(dir, "page.html"), "utf8")));
      const result = studio.replayScene(readFileSync(path.join(dir, scene), "utf8"), null, true);
      assert.equal(result.error, null);
      // Every example lists fewer entries over its run than the studio's budget, so each step's listing is
      // read, as --html reads it.
      assert.deepEqual(neutralData(JSON.parse(result.data)), expected);
    });
  }
});

// The state at step k of a [step, state] change list.
const stateAt = (changes, k) => changes.filter(([step]) => step <= k).at(-1)?.[1];

test("past the listing budget the walls and orbits are read every few steps, the last one too", async () => {
  const dir = freshFolder("budget");
  const instances = Array.from({ length: 200 }, (_, i) => ({ x: 20 + (i % 20) * 30, y: 20 + (i >> 4) * 30 }));
  // The orbits grow, so their radii change at every step.
  const scene = JSON.stringify({
    frame: { frames: 100 }, objects: [{ name: "Dot", instances }], nimbo: [{}],
    events: [{ conditions: [{ host: "start of frame" }],
               actions: [{ action: 28, params: ["Dots", { object: "Dot" }, "20,20,5,0,0,0"] },
                         { action: 45, params: ["Dots", "60,10,+1,1,-1,  60,10,+1,1,-1"] }] }],
  });
  writeFileSync(path.join(dir, "budget.json"), scene);
  const native = runNative(["run", "budget.json", "--trace", "trace.jsonl", "--html", "page.html"], dir);
  assert.equal(native.status, 0, native.stderr);
  const expected = pageData(readFileSync(path.join(dir, "page.html"), "utf8")).motion;
  const studio = await studioIn(dir);
  const data = JSON.parse(studio.replayScene(scene, null, true).data);
  assert.equal(data.motion.length, 200);
  for (const [i, [, object, changes]] of data.motion.entries()) {
    assert.equal(object, expected[i][1]);
    for (const step of [0, 99]) {
      assert.deepEqual(stateAt(changes, step), stateAt(expected[i][2], step), `object ${object} at step ${step}`);
    }
    // 200 entries over 100 steps: a reading every second step, and the last one.
    const readings = `${changes.length} readings noted of ${expected[i][2].length}`;
    assert.ok(changes.length <= expected[i][2].length / 2 + 2, readings);
  }
});

test("a step's picture is that step of the whole run: its objects, TEXT, walls and orbits", async (t) => {
  const renderer = readFileSync(path.join(sourceDir, "vohost/replay/replay_renderer.js"), "utf8");
  const { decodeRun, changeAt, FIELDS } = vm.runInNewContext(renderer + "\nNimboRenderer;", {});
  for (const example of ["motion.json", "showcase.json"]) {
    await t.test(example, async () => {
      const scene = readFileSync(path.join(sourceDir, "examples", example), "utf8");
      // Each run in a module of its own, as the page's picture and whole run each start the scene afresh.
      const fresh = async (name) => studioIn(freshFolder(name + "-" + path.basename(example, ".json")));
      const wholeData = JSON.parse((await fresh("whole")).replayScene(scene, null, true).data);
      const whole = decodeRun(wholeData);
      for (const k of [-1, 0, 7, whole.steps - 1]) {
        const result = (await fresh("step")).replayStep(scene, k + 1, true);
        assert.equal(result.error, null);
        const data = JSON.parse(result.data);
        const picture = decodeRun(data);
        assert.equal(picture.steps, 0);
        for (const field of FIELDS) {
          const at = (run, step) => run.objects.map((_, i) => run.field(field)(i, step));
          assert.deepEqual(at(picture, -1), at(whole, k), `${field} at step ${k}`);
        }
        assert.deepEqual(picture.motionAt(-1), whole.motionAt(k), `walls and orbits at step ${k}`);
        assert.deepEqual(data.texts.map((changes) => changeAt(changes, -1)[1]),
                         wholeData.texts.map((changes) => changeAt(changes, k)[1]), `TEXT at step ${k}`);
      }
    });
  }
});

test("a frame count given to runScene is --frames", async () => {
  const result = await sameRun("frames", "examples/showcase.json", 5);
  assert.equal(result.trace.length, 5);
});

test("a bad scene gives vohost's own message, and the steps before a failure are kept", async (t) => {
  const studio = await NimboStudio();
  const badScenes = {
    syntax: "{",
    unknownKey: JSON.stringify({ frame: { frames: 2 }, colour: 1 }),
    wrongParameter: JSON.stringify({ nimbo: [{}], events: [{ actions: [{ nimbo: 0, action: 0, params: [7] }] }] }),
  };
  const dir = freshFolder("bad");
  for (const [name, scene] of Object.entries(badScenes)) {
    await t.test(name, () => {
      const file = path.join(dir, `${name}.json`);
      writeFileSync(file, scene);
      const native = runNative(["run", file], dir);
      assert.equal(native.status, 2);
      const result = studio.runScene(scene, null);
      assert.deepEqual(result.trace, []);
      assert.equal(typeof result.error, "string");
      assert.ok(native.stderr.startsWith("vohost: ") && native.stderr.endsWith(`${result.error}\n`), native.stderr);
    });
  }
  for (const frames of [-1, 1.5, "3", Number.NaN]) {
    assert.match(studio.runScene(JSON.stringify({}), frames).error, /is not a number of frame steps/);
  }
});

// A NIMBO instance that shows its regex errors in a box, searching `text` for `pattern`.
const regexScene = (text, pattern) =>
  JSON.stringify({
    nimbo: [{ popup: 1 }],
    events: [
      {
        conditions: [{ nimbo: 0, condition: 4, params: [text, pattern] }],
        actions: [{ host: "log", name: "found", value: 1 }],
      },
    ],
  });
const boxesOf = (result) => JSON.parse(result.trace[0]).desk.messageBoxes;
const WORK_ERROR = { caption: "INFO", text: "Complexity of regex match exceeded implementation limits" };
const STACK_ERROR = { caption: "INFO", text: "Insufficient memory to determine regex match" };

test("a hostile regex gives the regex error box, as natively", async (t) => {
  const studio = await NimboStudio();
  const dir = freshFolder("hostile");
  const cases = [
    ["alternatives over a million units", "a".repeat(1_000_000), "(a|b|c)*", STACK_ERROR],
    ["nested stars on 40 units", "a".repeat(40), "(((((a*)*)*)*)*)*b", WORK_ERROR],
    ["a backtracking search over 40 000 units", "a".repeat(40_000), "a*d", WORK_ERROR],
  ];
  for (const [name, text, pattern, box] of cases) {
    await t.test(name, () => {
      const file = path.join(dir, "hostile.json");
      writeFileSync(file, regexScene(text, pattern));
      const native = runNative(["run", file], dir);
      assert.equal(native.status, 0, native.stderr);
      const result = studio.runScene(regexScene(text, pattern), null);
      assert.equal(result.error, null);
      assert.deepEqual(boxesOf(result), [box]);
      assertSameTrace(result.trace.join("\n") + "\n", native.stdout);
    });
  }
  await t.test("the module still matches afterwards", () => {
    const result = studio.runScene(regexScene("xxabc", "b"), null);
    assert.deepEqual(boxesOf(result), []);
    assert.deepEqual(JSON.parse(result.trace[0]).log, [{ name: "found", value: 1 }]);
  });
});

// libc++ searches anew from each match on: over pointers the text is not copied each time, and the
// meter counts the matcher's states, so a long replace is no more work than natively.
test("a replace with a match at each of 40 000 units gives the native result", async () => {
  const studio = await NimboStudio();
  const dir = freshFolder("replace");
  const scene = JSON.stringify({
    nimbo: [{ popup: 1, text: "a".repeat(40_000) }],
    events: [{ actions: [{ host: "log", name: "replaced", value: { expression: 1, params: ["a", "b"] } }] }],
  });
  writeFileSync(path.join(dir, "replace.json"), scene);
  const native = runNative(["run", "replace.json"], dir);
  assert.equal(native.status, 0, native.stderr);
  const result = studio.runScene(scene, null);
  assert.deepEqual(JSON.parse(result.trace[0]).log, [{ name: "replaced", value: "b".repeat(40_000) }]);
  assertSameTrace(result.trace.join("\n") + "\n", native.stdout);
});

test("a pattern nested deeper than the browser's call stack holds gets the stack error", async () => {
  const studio = await NimboStudio();
  const nested = (open, depth) => open.repeat(depth) + "a" + ")".repeat(depth);
  for (const [open, depth] of [["(", 5000], ["(?=", 1000], ["(?:", 2000]]) {
    assert.deepEqual(boxesOf(studio.runScene(regexScene("aaa", nested(open, depth)), null)), [STACK_ERROR], open);
  }
  for (const open of ["(", "(?="]) {
    assert.deepEqual(boxesOf(studio.runScene(regexScene("aaa", nested(open, 980)), null)), [], open);
  }
});

test("the catalog is vohost catalog --json", async () => {
  const studio = await NimboStudio();
  const native = runNative(["catalog", "--json"], workDir);
  assert.equal(native.status, 0, native.stderr);
  assert.equal(studio.catalog() + "\n", native.stdout);
  const catalog = JSON.parse(studio.catalog());
  for (const kind of ["actions", "conditions", "expressions"]) assert.ok(catalog[kind].length > 0, kind);
});
