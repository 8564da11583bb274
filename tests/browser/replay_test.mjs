// The replay page in headless Chromium, checked the way a person looks at it: it loads cleanly, shows
// the run's step count, each step shows the objects where the trace has them and the TEXT, logged
// values, message boxes and desktop of that step, and Play moves on by itself.
//   node replay_test.mjs VOHOST REPLAY_SAMPLE SCENE OUT_DIR SCREENSHOT.png
// Exits 77 (skipped) when Chromium or playwright-core is missing.
import assert from "node:assert/strict";
import { execFileSync } from "node:child_process";
import { existsSync, mkdirSync, readFileSync } from "node:fs";
import path from "node:path";
import { after, before, test } from "node:test";
import { pathToFileURL } from "node:url";

const SKIPPED = 77;
const [vohost, replaySample, scene, outDir, screenshot] = process.argv.slice(2);
const chromiumPath = process.env.CHROMIUM || "/usr/bin/chromium";

if (!existsSync(chromiumPath)) {
  console.log(`SKIPPED: no Chromium at ${chromiumPath} (install Debian's chromium package; make test does)`);
  process.exit(SKIPPED);
}
let chromium;
try {
  ({ chromium } = await import("playwright-core"));
} catch {
  console.log("SKIPPED: playwright-core is not installed (npm ci in tests/browser; make test does)");
  process.exit(SKIPPED);
}

mkdirSync(outDir, { recursive: true });
const readTrace = (file) => readFileSync(file, "utf8").trim().split("\n").map((line) => JSON.parse(line));
const WINDOW_BACKGROUND = [250, 251, 252];

let browser;
let scenePage, sceneTrace, samplePage, sampleTrace, emptyHtml;

before(async () => {
  const sceneHtml = path.join(outDir, "replay_scene.html");
  const sceneJsonl = path.join(outDir, "replay_scene.jsonl");
  execFileSync(vohost, ["run", scene, "--trace", sceneJsonl, "--html", sceneHtml], { stdio: "pipe" });
  sceneTrace = readTrace(sceneJsonl);

  const sampleHtml = path.join(outDir, "replay_sample.html");
  const sampleJsonl = path.join(outDir, "replay_sample.jsonl");
  execFileSync(replaySample, ["40", "240", sampleHtml, sampleJsonl, "--extremes"], { stdio: "pipe" });
  sampleTrace = readTrace(sampleJsonl);

  emptyHtml = path.join(outDir, "replay_empty.html");
  execFileSync(vohost, ["run", scene, "--frames", "0", "--html", emptyHtml], { stdio: "pipe" });

  browser = await chromium.launch({ executablePath: chromiumPath, headless: true, timeout: 120_000 });
  scenePage = await openPage(sceneHtml);
  samplePage = await openPage(sampleHtml);
});

after(async () => {
  await browser?.close();
});

async function openPage(file) {
  const page = await browser.newPage({ viewport: { width: 1280, height: 860 } });
  page.setDefaultTimeout(60_000);
  page.problems = [];
  page.on("console", (message) => {
    if (message.type() === "error") page.problems.push(message.text());
  });
  page.on("pageerror", (error) => page.problems.push(error.message));
  page.on("request", (request) => {
    if (!request.url().startsWith("file:") && !request.url().startsWith("data:")) {
      page.problems.push("request to " + request.url());
    }
  });
  // A page whose code fails never gets ready: say why at once instead of waiting for the timeout.
  const failed = new Promise((_, reject) => page.once("pageerror", (error) => reject(error)));
  failed.catch(() => {});
  await page.goto(pathToFileURL(file).href);
  await Promise.race([page.waitForFunction(() => document.body.dataset.ready === "true"), failed]);
  return page;
}

async function shownFrame(page) {
  return Number(await page.locator("#frame-number").textContent());
}

// A person drags the slider to step k; the page answers when the step number shows k.
async function goTo(page, k) {
  await page.locator("#slider").fill(String(k));
  await page.waitForFunction((step) => document.body.dataset.frame === String(step), k);
}

// Chromium composites after a frame; two animation frames make sure the canvas holds the last draw.
async function nextPaint(page) {
  await page.evaluate(() => new Promise((done) => requestAnimationFrame(() => requestAnimationFrame(done))));
}

async function pixel(page, x, y) {
  return page.evaluate(
    ([px, py]) => Array.from(document.getElementById("view").getContext("2d").getImageData(px, py, 1, 1).data),
    [x, y],
  );
}

function expectObjectsLikeTrace(shown, traced, step) {
  assert.equal(shown.length, traced.length, `objects at step ${step}`);
  traced.forEach((want, i) => {
    const got = shown[i];
    const where = `step ${step}, ${want.type} ${want.instance}`;
    assert.equal(got.type, want.type, where);
    assert.equal(got.instance, want.instance, where);
    for (const key of ["x", "y", "destroyed", "direction", "animationFrame", "alpha", "inkEffect"]) {
      if (key in want) assert.equal(got[key], want[key], `${where}: ${key}`);
    }
  });
}

test("the scene's page loads without errors and shows the run's step count", async () => {
  assert.deepEqual(scenePage.problems, []);
  assert.equal(await scenePage.title(), "replay_scene.json - NIMBO replay");
  assert.equal(await scenePage.locator("#frame-count").textContent(), String(sceneTrace.length));
  assert.equal(await scenePage.evaluate(() => window.replay.frameCount), sceneTrace.length);
  assert.equal(await shownFrame(scenePage), 0);
});

test("each step of the scene shows its objects, TEXT, logged values, message boxes and desktop", async () => {
  for (let k = 0; k < sceneTrace.length; k++) {
    const step = sceneTrace[k];
    await goTo(scenePage, k);
    expectObjectsLikeTrace(await scenePage.evaluate((s) => window.replay.objectsAt(s), k), step.objects, k);

    const logRows = await scenePage.locator("#log tr").evaluateAll((rows) =>
      rows.map((row) => Array.from(row.cells, (cell) => cell.textContent)),
    );
    const shownValue = (value) => (typeof value === "string" ? JSON.stringify(value) : String(value));
    assert.deepEqual(logRows, step.log.map((entry) => [entry.name, shownValue(entry.value)]), `log at step ${k}`);
    const logged = step.log.find((entry) => entry.name === "TEXT");
    if (logged) assert.equal(await scenePage.locator("#text-0").textContent(), logged.value);

    const boxes = await scenePage.locator("#boxes .box").evaluateAll((shown) =>
      shown.map((box) => [box.querySelector(".caption").textContent, box.querySelector(".text").textContent]),
    );
    assert.deepEqual(boxes, step.desk.messageBoxes.map((box) => [box.caption, box.text]), `boxes at step ${k}`);

    const { window, taskBar, clipboard } = step.desk;
    assert.equal(await scenePage.locator("#window-caption").textContent(), window.caption);
    assert.equal(await scenePage.locator("#desk-show").textContent(), window.show);
    assert.equal(await scenePage.locator("#desk-taskbar").textContent(), taskBar.visible ? "shown" : "hidden");
    assert.equal(await scenePage.locator("#desk-clipboard").textContent(), clipboard.text ? "holds text" : "no text");
  }
  // The run's TEXT before it was set, and the markup in it shown as text.
  await goTo(scenePage, 0);
  assert.equal(await scenePage.locator("#text-0").textContent(), "first");
  await goTo(scenePage, 1);
  assert.equal(await scenePage.locator("#text-0 b").count(), 0);
  assert.deepEqual(scenePage.problems, []);
});

// Each box is drawn at its hot spot: inside it the canvas is not the window's background; for a box with
// its hot spot in the middle and no other object near, just past each corner it is.
test("moving objects are where the trace says at every step, on the canvas too", async () => {
  assert.deepEqual(samplePage.problems, []);
  assert.equal(await samplePage.evaluate(() => window.replay.frameCount), sampleTrace.length);
  const view = await samplePage.evaluate(() => window.replay.view);
  await samplePage.locator("#labels").uncheck();
  const inWindow = ([x, y]) => x >= 0 && y >= 0 && x < view.width && y < view.height;
  const pixelAt = async ([x, y]) => (await pixel(samplePage, view.originX + x, view.originY + y)).slice(0, 3);
  let isolatedChecked = 0;
  for (const k of [0, 1, 2, 59, 60, 61, 119, 120, 200, sampleTrace.length - 1]) {
    await goTo(samplePage, k);
    const objects = await samplePage.evaluate((s) => window.replay.objectsAt(s), k);
    expectObjectsLikeTrace(objects, sampleTrace[k].objects, k);
    await nextPaint(samplePage);
    const drawn = objects.filter((o) => !o.destroyed && Math.abs(o.x) < 10_000);
    const box = (o) => ({ left: o.x - o.hotSpotX, top: o.y - o.hotSpotY, right: o.x - o.hotSpotX + o.width,
                          bottom: o.y - o.hotSpotY + o.height });
    // A box widened by the longest direction line the page draws for these sizes.
    const near = ([x, y], o) => {
      const b = box(o);
      return x >= b.left - 24 && x < b.right + 24 && y >= b.top - 24 && y < b.bottom + 24;
    };
    for (const o of drawn) {
      const b = box(o), where = `step ${k}: ${o.type} ${o.instance}`;
      const faint = o.inkEffect === 13 && o.alpha < 128;  // drawn, but it may barely show
      for (const inside of [[b.left + 2, b.top + 2], [b.right - 3, b.bottom - 3]]) {
        if (inWindow(inside) && !faint) assert.notDeepEqual(await pixelAt(inside), WINDOW_BACKGROUND, `${where} inside`);
      }
      const centred = o.hotSpotX === o.width >> 1 && o.hotSpotY === o.height >> 1;
      const corners = [[b.left - 3, b.top - 3], [b.right + 2, b.top - 3], [b.left - 3, b.bottom + 2],
                       [b.right + 2, b.bottom + 2]];
      if (!centred || !corners.every(inWindow)) continue;
      if (drawn.some((other) => other !== o && corners.some((corner) => near(corner, other)))) continue;
      for (const corner of corners) assert.deepEqual(await pixelAt(corner), WINDOW_BACKGROUND, `${where} past ${corner}`);
      isolatedChecked++;
    }
  }
  assert.ok(isolatedChecked >= 10, `only ${isolatedChecked} boxes stood alone`);
  await samplePage.locator("#labels").check();
});

test("the step buttons and the keyboard move one step, and the object under the pointer is described", async () => {
  await goTo(samplePage, 100);
  await samplePage.locator("#forward").click();
  assert.equal(await shownFrame(samplePage), 101);
  await samplePage.locator("#back").click();
  await samplePage.locator("#back").click();
  assert.equal(await shownFrame(samplePage), 99);
  await samplePage.locator("#last").click();
  assert.equal(await shownFrame(samplePage), sampleTrace.length - 1);
  await samplePage.locator("#first").click();
  assert.equal(await shownFrame(samplePage), 0);
  await samplePage.keyboard.press("ArrowRight");
  await samplePage.keyboard.press("ArrowRight");
  await samplePage.keyboard.press("ArrowLeft");
  assert.equal(await shownFrame(samplePage), 1);

  const [o] = (await samplePage.evaluate(() => window.replay.objectsAt(1))).filter(
    (object) => object.type === "Bouncer" && object.y > 20 && object.y < 400,
  );
  const box = await samplePage.locator("#view").boundingBox();
  const scale = box.width / (await samplePage.evaluate(() => document.getElementById("view").width));
  const view = await samplePage.evaluate(() => window.replay.view);
  await samplePage.mouse.move(
    box.x + (view.originX + o.x - o.hotSpotX + o.width / 2) * scale,
    box.y + (view.originY + o.y - o.hotSpotY + o.height / 2) * scale,
  );
  const described = await samplePage.locator("#object-info").textContent();
  assert.match(described, new RegExp(`type${o.type}instance${o.instance}x${o.x}y${o.y}`));
});

test("Play advances the steps by itself, Pause holds them, and the replay stops at the last step", async () => {
  await goTo(samplePage, 0);
  await samplePage.locator("#trails").check();
  await samplePage.locator("#speed").selectOption("0.5");
  await samplePage.locator("#play").click();
  await samplePage.waitForFunction(() => window.replay.frame >= 5);
  await samplePage.locator("#play").click();
  assert.equal(await samplePage.evaluate(() => window.replay.playing), false);
  const held = await shownFrame(samplePage);
  await nextPaint(samplePage);
  await nextPaint(samplePage);
  assert.equal(await shownFrame(samplePage), held);

  await goTo(samplePage, 150);
  await samplePage.locator("#speed").selectOption("8");
  await samplePage.locator("#play").click();
  await samplePage.waitForFunction(() => document.body.dataset.playing === "false");
  assert.equal(await shownFrame(samplePage), sampleTrace.length - 1);
  assert.equal(await samplePage.locator("#play").textContent(), "Play");

  await goTo(samplePage, 60);
  await nextPaint(samplePage);
  await samplePage.screenshot({ path: screenshot, fullPage: true });
  console.log(`screenshot: ${screenshot}`);
  assert.deepEqual(samplePage.problems, []);
});

test("a run of no steps opens and says so", async () => {
  const page = await openPage(emptyHtml);
  assert.equal(await page.locator("#frame-count").textContent(), "0");
  assert.equal(await page.locator("#play").isDisabled(), true);
  assert.match(await page.locator("#hint").textContent(), /no frame step/);
  assert.deepEqual(page.problems, []);
  await page.close();
});
