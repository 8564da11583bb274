// The studio page in headless Chromium, used as a designer would: it opens from disk with the network
// off; the playback bar and its keys step through the run shown; a zigzag and an orbit built by clicking
// the catalog's menus run, and the saved scene run by vohost puts every object where the page shows it,
// and loads back; an edited parameter runs again at once, in a large scene too; a hostile regex shows the
// regex error and the page stays responsive. Keeps three screenshots in OUT_DIR.
//   node studio_test.mjs STUDIO_HTML VOHOST OUT_DIR
// Exits 77 (skipped) when Chromium or playwright-core is missing.
import assert from "node:assert/strict";
import { execFileSync } from "node:child_process";
import { mkdirSync, readFileSync, rmSync, writeFileSync } from "node:fs";
import path from "node:path";
import { after, before, test } from "node:test";
import { pathToFileURL } from "node:url";
import { chromium, chromiumPath } from "./chromium.mjs";

const [pagePath, vohost, outDir] = process.argv.slice(2).map((arg) => path.resolve(arg));
const pageUrl = pathToFileURL(pagePath).href;
let browser;

before(async () => {
  mkdirSync(outDir, { recursive: true });
  browser = await chromium.launch({ executablePath: chromiumPath, headless: true, timeout: 120_000 });
});
after(async () => browser && browser.close());

// A fresh tab with the network off: every request but the page's own file is refused and noted.
async function openStudio() {
  const context = await browser.newContext({ offline: true, viewport: { width: 1500, height: 1000 },
                                             acceptDownloads: true });
  const tab = await context.newPage();
  const requests = [], errors = [];
  await tab.route("**/*", (route) => {
    requests.push(route.request().url());
    return route.request().url() === pageUrl ? route.continue() : route.abort();
  });
  tab.on("pageerror", (error) => errors.push(error.message));
  await tab.goto(pageUrl);
  await tab.waitForSelector("body[data-ready], body[data-failed]", { timeout: 120_000 });
  return { tab, requests, errors };
}

// Opens the submenus of a catalog part down to the item and clicks it.
async function useMenu(tab, kind, menus, item) {
  let scope = tab.locator(`#menus > details[data-kind="${kind}"]`);
  if (!(await scope.evaluate((details) => details.open))) await scope.locator(":scope > summary").click();
  for (const name of menus) {
    scope = scope.locator(`:scope > details[data-menu="${name}"]`);
    if (!(await scope.evaluate((details) => details.open))) await scope.locator(":scope > summary").click();
  }
  await scope.locator(":scope > button.item", { hasText: item }).first().click();
}

// Types into a field and waits for the run the edit causes; a field that holds the value already causes none.
async function setField(tab, locator, value) {
  if ((await locator.inputValue()) === String(value)) return;
  const runs = Number(await tab.evaluate(() => document.body.dataset.runs));
  await locator.fill(String(value));
  await tab.waitForFunction((before) => Number(document.body.dataset.runs) > before, runs);
}
const part = (tab, line, kind, index) => tab.locator(`#lines > li[data-line="${line}"] .part[data-${kind}="${index}"]`);

async function addObject(tab, name, count, size) {
  await tab.click("#add-object");
  const row = tab.locator("#objects tr").last();
  await setField(tab, row.locator('input[aria-label="name"]'), name);
  await setField(tab, row.locator('input[aria-label="instances"]'), count);
  await setField(tab, row.locator('input[aria-label="width"]'), size);
  await setField(tab, row.locator('input[aria-label="height"]'), size);
}

// The objects of every step natively: type, instance, x, y, destroyed. The trace goes once read.
function vohostPositions(scenePath) {
  const trace = scenePath.replace(/\.json$/, ".trace.jsonl");
  execFileSync(vohost, ["run", scenePath, "--trace", trace], { stdio: "pipe" });
  const positions = readFileSync(trace, "utf8").trim().split("\n").map((line) => JSON.parse(line).objects
    .map(({ type, instance, x, y, destroyed }) => ({ type, instance, x, y, destroyed })));
  rmSync(trace);
  return positions;
}

test("the page opens from disk with the network off and requests nothing but itself", async () => {
  const { tab, requests, errors } = await openStudio();
  assert.deepEqual(errors, []);
  assert.equal(await tab.evaluate(() => document.body.dataset.failed), undefined);
  assert.deepEqual(requests, [pageUrl]);
  assert.equal(await tab.evaluate(() => window.studio.error), null);
  console.log(`studio page: ${readFileSync(pagePath).length} bytes, first picture ${
    (await tab.evaluate(() => window.studio.loadMs)).toFixed(0)} ms after navigation`);
  await tab.context().close();
});

// The playback bar and its keys are the replay page's; here they must follow the run shown, and leave the
// editor's fields their own keys.
test("the playback bar steps through the run shown, and a field being typed in keeps its keys", async () => {
  const { tab, errors } = await openStudio();
  const frame = () => tab.evaluate(() => window.studio.frame);
  await setField(tab, tab.locator("#frame-rate"), 1);
  await setField(tab, tab.locator("#frames"), 30);
  assert.equal(await tab.locator("#frame-count").textContent(), "30");
  assert.equal(await tab.locator("#slider").getAttribute("max"), "29");
  await tab.locator("#trails").focus();
  for (const [key, shown] of [["End", 29], ["Home", 0], ["ArrowRight", 1], ["ArrowRight", 2], ["ArrowLeft", 1]]) {
    await tab.keyboard.press(key);
    assert.equal(await frame(), shown, key);
  }
  await tab.click("#created");
  assert.equal(await frame(), -1);
  assert.equal(await tab.locator("#created").getAttribute("aria-pressed"), "true");
  assert.equal(await tab.locator("#step").inputValue(), "");
  for (const [typed, shown] of [["99999", 29], ["-40", 0], ["17.6", 18]]) {
    await tab.fill("#step", typed);
    await tab.press("#step", "Enter");
    assert.equal(await frame(), shown, typed);
    assert.equal(await tab.locator("#step").inputValue(), String(shown));
  }
  await tab.locator("#frame-rate").focus();
  await tab.keyboard.press("End");
  await tab.keyboard.press("ArrowLeft");
  assert.equal(await frame(), 18, "the keys stay in the field being typed in");
  // At one step a second, the run is still playing when Space pauses it.
  await tab.locator("#trails").focus();
  await tab.keyboard.press("Space");
  assert.equal(await tab.evaluate(() => document.body.dataset.playing), "true");
  assert.equal(await tab.locator("#play").textContent(), "Pause");
  await tab.keyboard.press("Space");
  assert.equal(await tab.evaluate(() => document.body.dataset.playing), "false");
  assert.equal(await tab.locator("#trails").isChecked(), false, "Space plays, not ticks the box");
  assert.deepEqual(errors, []);
  await tab.context().close();
});

test("a zigzag and an orbit built from the catalog run in the page as vohost runs the saved scene", async () => {
  const { tab, errors } = await openStudio();
  await tab.click("#new");
  await addObject(tab, "Gem", 12, 20);
  await addObject(tab, "Planet", 1, 40);
  await addObject(tab, "Moon", 4, 12);
  await setField(tab, tab.locator("#frames"), 90);

  // Dragging the planet places it in the frame as created.
  await tab.locator("#view").scrollIntoViewIfNeeded();
  const box = await tab.locator("#view").boundingBox();
  const scale = box.width / (await tab.evaluate(() => document.getElementById("view").width));
  const origin = await tab.evaluate(() => window.studio.view);
  const planet = (await tab.evaluate(() => window.studio.objectsAt(-1))).find((o) => o.type === "Planet");
  const at = (x, y) => [box.x + (origin.originX + x) * scale, box.y + (origin.originY + y) * scale];
  await tab.mouse.move(...at(planet.x, planet.y));
  await tab.mouse.down();
  await tab.mouse.move(...at(planet.x + 40, planet.y + 30), { steps: 4 });
  await tab.mouse.move(...at(450, 300), { steps: 4 });
  await tab.mouse.up();
  const placed = (await tab.evaluate(() => window.studio.objectsAt(-1))).find((o) => o.type === "Planet");
  assert.ok(Math.abs(placed.x - 450) <= 2 && Math.abs(placed.y - 300) <= 2,
            `the planet dropped at ${placed.x}, ${placed.y}`);

  await useMenu(tab, "conditions", ["vohost"], "Start of frame");
  await useMenu(tab, "actions", ["OBJECT ALIGN", "Horizontal"], "Align LEFT :: ZigZag");
  const zigzag = part(tab, 1, "action", 0);
  await setField(tab, zigzag.locator('input[type="number"]').nth(0), 40);
  await setField(tab, zigzag.locator('input[type="number"]').nth(1), 100);
  await setField(tab, zigzag.locator('input[type="number"]').nth(2), 30);
  assert.equal(await zigzag.locator(".display").textContent(),
               "Align LEFT Gem , Horizontal, ZigZag, ( XY-Position = 40 , 100 ), X-Margin 30 Pixel");
  await useMenu(tab, "actions", [" + A - MOTiONS", "Orbital"], "Orbital TARGET.XY as Center XY");
  const orbit = part(tab, 1, "action", 1);
  await orbit.locator("select").nth(0).selectOption("Moon");
  await orbit.locator("select").nth(1).selectOption("Planet");
  await setField(tab, orbit.locator('input[type="number"]').nth(0), 60);
  await setField(tab, orbit.locator('input[type="number"]').nth(1), 3);
  await tab.click("#run");
  await tab.click("#first");
  await tab.screenshot({ path: path.join(outDir, "studio-layout-edited.png"), fullPage: true });

  const [download] = await Promise.all([tab.waitForEvent("download"), tab.click("#save")]);
  const saved = path.join(outDir, "studio-scene.json");
  await download.saveAs(saved);
  const scene = JSON.parse(readFileSync(saved, "utf8"));
  assert.deepEqual(scene, await tab.evaluate(() => window.studio.scene));
  assert.deepEqual(scene.events[0].actions.map((a) => a.action), [11, 22]);

  const native = vohostPositions(saved);
  assert.equal(native.length, 90);
  assert.equal(await tab.evaluate(() => window.studio.steps), 90);
  for (let k = 0; k < native.length; k++) {
    assert.deepEqual(await tab.evaluate((step) => window.studio.objectsAt(step), k), native[k], `step ${k}`);
  }
  // What was built is what was meant: a zigzag on two rows 30 pixels apart, moons 60 pixels round the planet.
  const gems = native[0].filter((o) => o.type === "Gem");
  assert.deepEqual([...new Set(gems.map((o) => o.y))].length, 2);
  assert.ok(gems.every((o, i) => i === 0 || o.x > gems[i - 1].x));
  for (const step of [10, 60]) {
    for (const moon of native[step].filter((o) => o.type === "Moon")) {
      const radius = Math.hypot(moon.x - placed.x, moon.y - placed.y);
      assert.ok(Math.abs(radius - 60) <= 2, `moon ${moon.instance} at step ${step}, ${radius} from the planet`);
    }
  }
  const drawn = await tab.evaluate(() => window.studio.drawn());
  assert.ok(drawn.orbits.length >= 1, "the orbit is drawn");

  // An edited parameter runs at once: a wider margin spreads the zigzag.
  await setField(tab, zigzag.locator('input[type="number"]').nth(2), 50);
  const wider = (await tab.evaluate(() => window.studio.objectsAt(0))).filter((o) => o.type === "Gem");
  assert.equal(wider[1].x - wider[0].x, gems[1].x - gems[0].x + 20);

  // The saved scene loads back as it was saved; a file that is no scene leaves the scene shown.
  await tab.click("#new");
  await tab.setInputFiles("#load", saved);
  await tab.waitForFunction(() => window.studio.steps === 90);
  assert.deepEqual(await tab.evaluate(() => window.studio.scene), scene);
  assert.deepEqual(await tab.evaluate(() => window.studio.objectsAt(30)), native[30]);
  const broken = { name: "broken.json", mimeType: "application/json", buffer: Buffer.from('{"frame": ') };
  await tab.setInputFiles("#load", broken);
  await tab.waitForFunction(() => window.studio.error !== null);
  assert.match(await tab.evaluate(() => window.studio.error),
               /^broken\.json is not a scene: .*the scene shown is kept$/);
  const typeless = { name: "typeless.json", mimeType: "application/json", buffer: Buffer.from('{"objects": [5]}') };
  await tab.setInputFiles("#load", typeless);
  await tab.waitForFunction(() => window.studio.error.startsWith("typeless.json"));
  assert.equal(await tab.evaluate(() => window.studio.error), "typeless.json is not a scene: its objects are not a " +
               "list of types, each with a list of instances; the scene shown is kept");
  assert.deepEqual(await tab.evaluate(() => window.studio.scene), scene);
  await tab.click("#run");
  assert.equal(await tab.evaluate(() => window.studio.error), null, "a run of the kept scene clears the message");

  await tab.click("#play");
  await tab.waitForFunction(() => window.studio.frame >= 20);
  await tab.screenshot({ path: path.join(outDir, "studio-motion-playing.png"), fullPage: true });
  assert.equal(await tab.evaluate(() => document.body.dataset.playing), "true");
  assert.deepEqual(errors, []);
  await tab.context().close();
});

// A run long enough to be felt shows the step in view from a shorter run first; whatever the machine's
// speed, the whole run that follows is vohost's.
test("an edit of a large scene draws the step in view first, then the whole run, each step where vohost puts it", async () => {
  const { tab, errors } = await openStudio();
  const instances = Array.from({ length: 1000 },
                               (_, i) => ({ x: (i * 37) % 640, y: (i * 53) % 480, width: 4, height: 4 }));
  const orbit = { nimbo: 0, action: 21, params: [{ object: "Dot" }, 24, 3] };
  const large = path.join(outDir, "studio-large.json");
  writeFileSync(large, JSON.stringify({
    frame: { width: 640, height: 480, frameRate: 60, frames: 300 }, objects: [{ name: "Dot", instances }], nimbo: [{}],
    events: [{ conditions: [{ host: "start of frame" }], actions: [orbit] }],
  }));
  await tab.setInputFiles("#load", large);
  await tab.waitForFunction(() => window.studio.steps === 300);
  await tab.fill("#step", "150");
  await tab.press("#step", "Enter");
  // Its run is felt, so the edit draws the step in view alone first, then the whole run; both pictures
  // of the step are the same.
  const radius = part(tab, 1, "action", 0).locator('input[type="number"]').nth(0);
  const [picture, whole] = await radius.evaluate(async (input) => {
    const nextTask = () => new Promise((resolve) => setTimeout(resolve, 0));
    const { runs, partialRuns } = document.body.dataset;
    input.value = "40";
    input.dispatchEvent(new Event("input", { bubbles: true }));
    while (document.body.dataset.partialRuns === partialRuns) await nextTask();
    const canvas = document.getElementById("view");
    const shown = [document.body.dataset.runs === runs, canvas.toDataURL()];
    while (document.body.dataset.runs === runs) await nextTask();
    return [shown, canvas.toDataURL()];
  });
  assert.ok(picture[0], "the step in view is drawn before the whole run");
  assert.ok(picture[1] === whole, "the step in view alone is drawn as the whole run draws it");
  assert.equal(await tab.evaluate(() => window.studio.steps), 300);
  assert.equal(await tab.evaluate(() => window.studio.frame), 150);
  writeFileSync(large, JSON.stringify(await tab.evaluate(() => window.studio.scene)));
  const native = vohostPositions(large);
  for (const step of [0, 150, 299]) {
    assert.deepEqual(await tab.evaluate((k) => window.studio.objectsAt(k), step), native[step], `step ${step}`);
  }
  assert.deepEqual(errors, []);
  await tab.context().close();
});

test("a hostile regex shows the regex error, a run of them stops, and the page stays responsive", async () => {
  const { tab, errors } = await openStudio();
  await tab.click("#new");
  await setField(tab, tab.locator("#frames"), 3);
  await setField(tab, tab.locator("#nimbo-text"), "NIMBO studio");
  await useMenu(tab, "conditions", ["REGEX"], "Search :: Partial");
  const search = part(tab, 1, "condition", 0);
  await setField(tab, search.locator('input[type="text"]').nth(0), "a".repeat(40) + "c");
  await setField(tab, search.locator('input[type="text"]').nth(1), "(a+)+b");
  await useMenu(tab, "expressions", ["Regular Expression (C++17 STL)"], "Get String Regex Replaced");
  const replace = part(tab, 1, "action", 0);
  await setField(tab, replace.locator('input[type="text"]').nth(1), "[A-Z]");
  await setField(tab, replace.locator('input[type="text"]').nth(2), "*");

  const started = Date.now();
  await tab.click("#first");
  const boxes = await tab.locator("#boxes .box").allTextContents();
  assert.equal(boxes.length, 1);
  assert.match(boxes[0], /^INFO/);
  assert.match(boxes[0], /complexity/i);
  // The page answers: a step forward is shown at once, and a sane pattern runs as it should.
  await tab.click("#forward");
  assert.equal(await tab.evaluate(() => window.studio.frame), 1);
  assert.ok(Date.now() - started < 30_000);
  await setField(tab, search.locator('input[type="text"]').nth(1), "a+c");
  await tab.click("#first");
  assert.equal(await tab.locator("#boxes .box").count(), 0);
  assert.deepEqual(await tab.locator("#log td").allTextContents(), ["GetRegexRepalce$(", "***** studio"]);
  await setField(tab, search.locator('input[type="text"]').nth(1), "(a+)+b");
  await tab.click("#first");
  await tab.screenshot({ path: path.join(outDir, "studio-regex-tools.png"), fullPage: true });

  // Each step's search runs to the work bound on a long TEXT: the run stops with the steps it made and
  // says why, and the page goes on.
  await setField(tab, search.locator('input[type="text"]').nth(0), "a".repeat(4000) + "c");
  await setField(tab, tab.locator("#frames"), 2000);
  assert.match(await tab.evaluate(() => window.studio.error), /^vohost: the run was stopped after step \d+: /);
  const made = await tab.evaluate(() => window.studio.steps);
  assert.ok(made > 0 && made < 2000, `${made} steps`);
  await tab.click("#last");
  assert.equal(await tab.evaluate(() => window.studio.frame), made - 1);
  assert.equal(await tab.locator("#boxes .box").count(), 1);
  assert.deepEqual(errors, []);
  await tab.context().close();
});
