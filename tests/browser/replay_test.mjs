// The replay page in headless Chromium, checked the way a person looks at it: it loads cleanly, shows
// the run's step count, each step shows the objects where the trace has them and the TEXT, logged
// values, event lines, message boxes and desktop of that step, Play moves on by itself; labels never
// overlap, the legend hides and shows types, the pointed object is described with its alterable values,
// walls and orbits are drawn, the keys work whatever was clicked, and every field keeps to its bounds.
//   node replay_test.mjs VOHOST REPLAY_SAMPLE SCENE SHOWCASE MOTION OUT_DIR SCREENSHOT.png
// Saves SCREENSHOT.png and, beside it, replay-showcase.png and replay-orbits.png. Exits 77 (skipped)
// when Chromium or playwright-core is missing.
import assert from "node:assert/strict";
import { execFileSync } from "node:child_process";
import { mkdirSync, readFileSync, writeFileSync } from "node:fs";
import path from "node:path";
import { after, before, test } from "node:test";
import { pathToFileURL } from "node:url";
import { chromium, chromiumPath } from "./chromium.mjs";

const [vohost, replaySample, scene, showcase, motion, outDir, screenshot] = process.argv.slice(2);

mkdirSync(outDir, { recursive: true });
const resolvedVohost = path.resolve(vohost);
const readTrace = (file) => readFileSync(file, "utf8").trim().split("\n").map((line) => JSON.parse(line));
const WINDOW_BACKGROUND = [250, 251, 252];

let browser;
let scenePage, sceneTrace, samplePage, sampleTrace, showcasePage, showcaseTrace, motionPage, motionTrace, emptyHtml;

// A scene's trace and page, written by vohost in OUT_DIR (the showcase writes its folder there).
function runScene(file, name) {
  const html = path.join(outDir, `replay_${name}.html`);
  const jsonl = path.join(outDir, `replay_${name}.jsonl`);
  execFileSync(resolvedVohost, ["run", path.resolve(file), "--trace", jsonl, "--html", html], { stdio: "pipe", cwd: outDir });
  return [html, readTrace(jsonl)];
}

before(async () => {
  let sceneHtml, sampleHtml, showcaseHtml, motionHtml;
  [sceneHtml, sceneTrace] = runScene(scene, "scene");
  [showcaseHtml, showcaseTrace] = runScene(showcase, "showcase");
  [motionHtml, motionTrace] = runScene(motion, "motion");

  sampleHtml = path.join(outDir, "replay_sample.html");
  const sampleJsonl = path.join(outDir, "replay_sample.jsonl");
  execFileSync(replaySample, ["40", "240", sampleHtml, sampleJsonl, "--extremes"], { stdio: "pipe" });
  sampleTrace = readTrace(sampleJsonl);

  emptyHtml = path.join(outDir, "replay_empty.html");
  execFileSync(vohost, ["run", scene, "--frames", "0", "--html", emptyHtml], { stdio: "pipe" });

  browser = await chromium.launch({ executablePath: chromiumPath, headless: true, timeout: 120_000 });
  scenePage = await openPage(sceneHtml);
  samplePage = await openPage(sampleHtml);
  showcasePage = await openPage(showcaseHtml);
  motionPage = await openPage(motionHtml);
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
  return Number(await page.evaluate(() => document.body.dataset.frame));
}

// A person drags the slider to step k; the page answers when it shows step k.
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
// A pixel of the frame's window, in frame coordinates, without its alpha.
async function framePixel(page, x, y) {
  const view = await page.evaluate(() => window.replay.view);
  return (await pixel(page, view.originX + x, view.originY + y)).slice(0, 3);
}

// Moves the mouse to a point of the frame, in frame coordinates.
async function pointAt(page, x, y) {
  const box = await page.locator("#view").boundingBox();
  const scale = box.width / (await page.evaluate(() => document.getElementById("view").width));
  const view = await page.evaluate(() => window.replay.view);
  await page.mouse.move(box.x + (view.originX + x) * scale, box.y + (view.originY + y) * scale);
}

const boxOf = (o) => ({ left: o.x - o.hotSpotX, top: o.y - o.hotSpotY, right: o.x - o.hotSpotX + o.width,
                        bottom: o.y - o.hotSpotY + o.height });
const inside = (b, x, y, margin = 0) => x >= b.left - margin && x < b.right + margin && y >= b.top - margin &&
                                        y < b.bottom + margin;
const embeddedData = (page) => page.evaluate(() => JSON.parse(document.getElementById("replay-data").textContent));

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
    if ("values" in want) assert.deepEqual(got.values, want.values, `${where}: values`);
  });
}

// No two label boxes share a pixel, and every one lies on the canvas.
function expectLabelsApart(drawn, where) {
  const { labels } = drawn;
  for (const label of labels) {
    assert.ok(label.left >= -48 && label.top >= -48, `${where}: "${label.text}" off the canvas`);
  }
  for (let a = 0; a < labels.length; a++) {
    for (let b = a + 1; b < labels.length; b++) {
      const p = labels[a], q = labels[b];
      const apart = p.left + p.width <= q.left || q.left + q.width <= p.left || p.top + p.height <= q.top ||
                    q.top + q.height <= p.top;
      assert.ok(apart, `${where}: "${p.text}" and "${q.text}" overlap`);
    }
  }
}

test("the scene's page loads without errors and shows the run's step count", async () => {
  assert.deepEqual(scenePage.problems, []);
  assert.equal(await scenePage.title(), "replay_scene.json - NIMBO replay");
  assert.equal(await scenePage.locator("#frame-count").textContent(), String(sceneTrace.length));
  assert.equal(await scenePage.evaluate(() => window.replay.frameCount), sceneTrace.length);
  assert.equal(await shownFrame(scenePage), 0);
});

// The lines a step runs, from the scene itself: those of its frame in order, then, for each condition
// the step raised, the lines it heads.
function linesRunAt(sceneJson, k, raised) {
  const lines = [];
  sceneJson.events.forEach((line, i) => {
    const head = line.conditions[0];
    if (head.host === "frame" && head.frame === k) lines.push(i);
  });
  for (const { nimbo, condition } of raised) {
    sceneJson.events.forEach((line, i) => {
      const head = line.conditions[0];
      if ((head.nimbo ?? 0) === nimbo && head.condition === condition && head.host === undefined) lines.push(i);
    });
  }
  return lines;
}

test("each step of the scene shows its objects, TEXT, logged values, event lines, message boxes and desktop", async () => {
  const sceneJson = JSON.parse(readFileSync(scene, "utf8"));
  const data = await embeddedData(scenePage);
  for (let k = 0; k < sceneTrace.length; k++) {
    const step = sceneTrace[k];
    await goTo(scenePage, k);
    expectObjectsLikeTrace(await scenePage.evaluate((s) => window.replay.objectsAt(s), k), step.objects, k);

    const logRows = await scenePage.locator("#log tr").evaluateAll((rows) =>
      rows.map((row) => Array.from(row.cells, (cell) => cell.textContent)),
    );
    assert.deepEqual(logRows, step.log.map((entry) => [entry.name, String(entry.value)]), `log at step ${k}`);
    const logged = step.log.find((entry) => entry.name === "TEXT");
    if (logged) assert.equal(await scenePage.locator("#text-0").textContent(), logged.value);

    const want = linesRunAt(sceneJson, k, step.raised);
    const runHere = data.linesRun.filter(([from]) => from <= k).at(-1)[1];
    assert.deepEqual(runHere, want, `lines run at step ${k}`);
    const listed = await scenePage.locator("#events li").evaluateAll((items) => items.map((item) => item.dataset.line));
    assert.deepEqual(listed, want.map((line) => String(line + 1)), `event lines shown at step ${k}`);

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
  assert.equal(data.events.length, sceneJson.events.length);
  assert.match(data.events[0], /^frame 1: action 0, log "TEXT", log "count", set clipboard text$/);
  // The run's TEXT before it was set, and the markup in it shown as text.
  await goTo(scenePage, 0);
  assert.equal(await scenePage.locator("#text-0").textContent(), "first");
  await goTo(scenePage, 1);
  assert.equal(await scenePage.locator("#text-0 b").count(), 0);
  assert.deepEqual(scenePage.problems, []);
});

test("multi-line TEXT, logged texts and message box texts are shown as lines", async () => {
  await goTo(scenePage, 4);
  await nextPaint(scenePage);
  // The text after the line break starts a line of its own, at the left of its element.
  const lines = await scenePage.evaluate(() =>
    ["#text-0", "#log .lines", "#boxes .box .text"].map((selector) => {
      const element = document.querySelector(selector);
      const text = element.firstChild;
      const range = document.createRange();
      range.setStart(text, text.data.indexOf("\n") + 1);
      range.setEnd(text, text.data.indexOf("\n") + 2);
      const after = range.getBoundingClientRect();
      range.setStart(text, 0);
      range.setEnd(text, 1);
      const first = range.getBoundingClientRect();
      return [selector, text.data, after.top > first.top, Math.abs(after.left - first.left) < 1];
    }),
  );
  assert.deepEqual(lines, [
    ["#text-0", "first line\nsecond line", true, true],
    ["#log .lines", "first line\nsecond line", true, true],
    ["#boxes .box .text", "Warning :: Redundant Input >> Bumpers\nof the left", true, true],
  ]);
});

test("the frame as created stands before step 0, with the scene's objects and nothing run yet", async () => {
  await goTo(scenePage, 0);
  await scenePage.keyboard.press("ArrowLeft");
  assert.equal(await shownFrame(scenePage), -1);
  assert.equal(await scenePage.locator("#created").getAttribute("aria-pressed"), "true");
  const sceneJson = JSON.parse(readFileSync(scene, "utf8"));
  const created = await scenePage.evaluate(() => window.replay.objectsAt(-1));
  const settings = sceneJson.objects.flatMap((type) => type.instances);
  created.forEach((object, i) => {
    assert.equal(object.x, settings[i].x ?? 0, `${object.type} ${object.instance}: x`);
    assert.equal(object.y, settings[i].y ?? 0, `${object.type} ${object.instance}: y`);
    assert.equal(object.destroyed, false);
  });
  assert.deepEqual(created[0].values, [10, -20, 30, 2147483647, -2147483648]);
  assert.equal(created[0].direction, 8);
  assert.equal(await scenePage.locator("#text-0").textContent(), "first");
  assert.equal(await scenePage.locator("#events").textContent(), "nothing has run yet");
  assert.equal(await scenePage.locator("#log").textContent(), "nothing");
  await scenePage.keyboard.press("ArrowRight");
  assert.equal(await shownFrame(scenePage), 0);
  await scenePage.locator("#created").click();
  assert.equal(await shownFrame(scenePage), -1);
});

test("the pointed object is outlined, named and described with its alterable values A to E", async () => {
  await goTo(scenePage, 2);
  const [ball] = await scenePage.evaluate(() => window.replay.objectsAt(2));
  await pointAt(scenePage, ball.x, ball.y);
  const rows = await scenePage.locator("#object-info tr").evaluateAll((shown) =>
    Object.fromEntries(shown.map((row) => [row.cells[0].textContent, row.cells[1].textContent])),
  );
  assert.equal(rows.type, "Ball");
  assert.equal(rows.instance, "0");
  assert.deepEqual(["x", "y", "direction", "animation frame", "alpha", "ink effect"].map((key) => rows[key]),
                   [ball.x, ball.y, ball.direction, ball.animationFrame, ball.alpha, ball.inkEffect].map(String));
  assert.deepEqual(["A", "B", "C", "D", "E"].map((name) => rows[`value ${name}`]),
                   sceneTrace[2].objects[0].values.map(String));
  const drawn = await scenePage.evaluate(() => window.replay.drawn());
  assert.ok(drawn.labels.some((label) => label.object === 0 && label.text === "Ball 0"), "the pointed object is named");
  // The outline is drawn just outside the box.
  assert.notDeepEqual(await framePixel(scenePage, boxOf(ball).left - 1, ball.y), WINDOW_BACKGROUND);
  await scenePage.mouse.move(0, 0);
  assert.equal(await scenePage.locator("#object-info").textContent(), "Point at an object.");
});

// Each box is drawn at its hot spot: inside it the canvas is not the window's background; for a box with
// its hot spot in the middle and no other object near, just past each corner it is.
test("moving objects are where the trace says at every step, on the canvas too", async () => {
  assert.deepEqual(samplePage.problems, []);
  assert.equal(await samplePage.evaluate(() => window.replay.frameCount), sampleTrace.length);
  const view = await samplePage.evaluate(() => window.replay.view);
  await samplePage.locator("#labels").uncheck();
  const inWindow = ([x, y]) => x >= 0 && y >= 0 && x < view.width && y < view.height;
  const pixelAt = ([x, y]) => framePixel(samplePage, x, y);
  let isolatedChecked = 0;
  for (const k of [0, 1, 2, 59, 60, 61, 119, 120, 200, sampleTrace.length - 1]) {
    await goTo(samplePage, k);
    const objects = await samplePage.evaluate((s) => window.replay.objectsAt(s), k);
    expectObjectsLikeTrace(objects, sampleTrace[k].objects, k);
    await nextPaint(samplePage);
    const drawn = objects.filter((o) => !o.destroyed && Math.abs(o.x) < 10_000);
    // A box widened by the longest direction line the page draws for these sizes.
    const near = ([x, y], o) => inside(boxOf(o), x, y, 24);
    for (const o of drawn) {
      const b = boxOf(o), where = `step ${k}: ${o.type} ${o.instance}`;
      const faint = o.inkEffect === 13 && o.alpha < 128;  // drawn, but it may barely show
      for (const inner of [[b.left + 2, b.top + 2], [b.right - 3, b.bottom - 3]]) {
        if (inWindow(inner) && !faint) assert.notDeepEqual(await pixelAt(inner), WINDOW_BACKGROUND, `${where} inside`);
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
  const b = boxOf(o);
  await pointAt(samplePage, b.left + o.width / 2, b.top + o.height / 2);
  const described = await samplePage.locator("#object-info").textContent();
  assert.match(described, new RegExp(`type${o.type}instance${o.instance}x${o.x}y${o.y}`));
  await samplePage.mouse.move(0, 0);
});

test("the keys step whatever control was clicked last, and no control keeps them", async () => {
  const page = samplePage;
  await goTo(page, 50);
  const pressAfter = async (selector, key) => {
    await page.locator(selector).click();
    await page.keyboard.press(key);
    return shownFrame(page);
  };
  assert.equal(await pressAfter("#trails", "ArrowRight"), 51);
  assert.equal(await page.locator("#trails").isChecked(), true, "the click checked it");
  assert.equal(await pressAfter("#labels", "ArrowLeft"), 50);
  assert.equal(await pressAfter("#motion", "ArrowRight"), 51);
  await page.locator("#slider").click();
  const clicked = await shownFrame(page);
  await page.keyboard.press("ArrowRight");
  assert.equal(await shownFrame(page), clicked + 1, "one step on the slider, not two");
  const speed = await page.locator("#speed").inputValue();
  await page.locator("#speed").focus();
  await page.keyboard.press("ArrowLeft");
  assert.equal(await page.locator("#speed").inputValue(), speed, "the speed list keeps its choice");
  assert.equal(await pressAfter(".nr-legend-item >> nth=0", "End"), sampleTrace.length - 1);
  await page.locator(".nr-legend-item").first().click();  // the type shows again
  assert.equal(await pressAfter("#first", "Home"), 0);
  await page.locator("#trails").focus();
  await page.keyboard.press("Space");
  assert.equal(await page.evaluate(() => window.replay.playing), true, "Space plays from a focused checkbox");
  assert.equal(await page.locator("#trails").isChecked(), true, "and leaves it as it was");
  await page.keyboard.press("Space");
  assert.equal(await page.evaluate(() => window.replay.playing), false);
  await page.locator("#trails").uncheck();
  await page.locator("#labels").check();
  assert.deepEqual(page.problems, []);
});

test("the step, trail length and speed fields keep to their bounds", async () => {
  const page = samplePage;
  const last = sampleTrace.length - 1;
  const typeInto = async (selector, value) => {
    await page.locator(selector).fill(value);
    await page.locator(selector).press("Enter");
  };
  await typeInto("#step", "99999");
  assert.equal(await shownFrame(page), last);
  assert.equal(await page.locator("#step").inputValue(), String(last));
  await typeInto("#step", "-40");
  assert.equal(await shownFrame(page), 0);
  await typeInto("#step", "17.6");
  assert.equal(await shownFrame(page), 18);
  await typeInto("#step", "");
  assert.equal(await page.locator("#step").inputValue(), "18", "an empty field keeps the step shown");

  for (const [typed, kept] of [["999999", "10000"], ["0", "2"], ["-3", "2"], ["", "30"], ["45", "45"]]) {
    await typeInto("#trail-length", typed);
    assert.equal(await page.locator("#trail-length").inputValue(), kept, `trail length ${typed}`);
  }
  const speeds = await page.locator("#speed option").evaluateAll((options) => options.map((o) => Number(o.value)));
  assert.deepEqual([Math.min(...speeds), Math.max(...speeds)], [0.1, 8]);
  await typeInto("#trail-length", "30");
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

test("on the showcase no two labels overlap at any step shown, and a label left out shows on pointing", async () => {
  const page = showcasePage;
  assert.deepEqual(page.problems, []);
  assert.equal(await page.locator("#labels").isChecked(), true);
  let leftOut = null;
  for (const k of [-1, 0, 1, 2, 20, 45, 60, 80, 100, 150, showcaseTrace.length - 1]) {
    await goTo(page, k);
    const drawn = await page.evaluate(() => window.replay.drawn());
    expectLabelsApart(drawn, `step ${k}`);
    const named = new Set(drawn.labels.filter((label) => label.object !== undefined).map((label) => label.object));
    // As created, the layouts' objects all stand at (0, 0) on top of each other.
    if (k >= 0) assert.ok(named.size >= drawn.objects.length * 0.6, `step ${k}: only ${named.size} of ${drawn.objects.length} named`);
    if (k >= 0 && !leftOut) {
      const objects = await page.evaluate((s) => window.replay.objectsAt(s), k);
      const i = drawn.objects.find((object) => !named.has(object) &&
        objects.every((other, j) => j === object || other.destroyed || !inside(boxOf(other), objects[object].x, objects[object].y)));
      if (i !== undefined) leftOut = { k, i, o: objects[i] };
    }
  }
  assert.ok(leftOut, "the crowded showcase leaves some label out");
  await goTo(page, leftOut.k);
  await pointAt(page, leftOut.o.x, leftOut.o.y);
  const drawn = await page.evaluate(() => window.replay.drawn());
  assert.ok(drawn.labels.some((label) => label.object === leftOut.i), "pointing names the object");
  expectLabelsApart(drawn, `step ${leftOut.k}, pointing at ${leftOut.o.type} ${leftOut.o.instance}`);
  await page.screenshot({ path: path.join(path.dirname(screenshot), "replay-showcase.png"), fullPage: true });
  await page.mouse.move(0, 0);
});

test("the legend lists each type with its count, and a click hides the type and another shows it again", async () => {
  const page = showcasePage;
  const showcaseJson = JSON.parse(readFileSync(showcase, "utf8"));
  const items = await page.locator(".nr-legend-item").evaluateAll((shown) =>
    shown.map((item) => [item.querySelector(".nr-name").textContent, item.querySelector(".nr-count").textContent]),
  );
  assert.deepEqual(items, showcaseJson.objects.map((type) => [type.name, String(type.instances.length)]));

  await goTo(page, 20);
  // Only the boxes, so that no label or wall takes the freed pixels.
  await page.locator("#labels").uncheck();
  await page.locator("#motion").uncheck();
  const objects = await page.evaluate(() => window.replay.objectsAt(20));
  const hexes = objects.flatMap((o, i) => (o.type === "Hex" && !o.destroyed ? [i] : []));
  const alone = hexes.find((i) => objects.every((other, j) => j === i || other.destroyed ||
    !inside(boxOf(other), objects[i].x - objects[i].hotSpotX + 2, objects[i].y - objects[i].hotSpotY + 2, 1)));
  assert.ok(alone !== undefined, "a hex with nothing over its corner");
  const corner = [objects[alone].x - objects[alone].hotSpotX + 2, objects[alone].y - objects[alone].hotSpotY + 2];
  const hex = page.locator(".nr-legend-item", { hasText: /^Hex/ });
  await nextPaint(page);
  assert.notDeepEqual(await framePixel(page, ...corner), WINDOW_BACKGROUND);

  await hex.click();
  await nextPaint(page);
  assert.equal(await hex.getAttribute("aria-pressed"), "false");
  let drawn = await page.evaluate(() => window.replay.drawn());
  assert.ok(hexes.every((i) => !drawn.objects.includes(i)), "no hex is drawn");
  assert.equal(drawn.objects.length, objects.filter((o) => !o.destroyed).length - hexes.length);
  assert.deepEqual(await framePixel(page, ...corner), WINDOW_BACKGROUND);
  await pointAt(page, ...corner);
  assert.equal(await page.locator("#object-info").textContent(), "Point at an object.", "a hidden hex is not pointed at");

  await hex.click();
  await nextPaint(page);
  assert.equal(await hex.getAttribute("aria-pressed"), "true");
  drawn = await page.evaluate(() => window.replay.drawn());
  assert.ok(hexes.every((i) => drawn.objects.includes(i)));
  assert.notDeepEqual(await framePixel(page, ...corner), WINDOW_BACKGROUND);
  await page.mouse.move(0, 0);

  await page.locator("#labels").check();
  await page.locator("#motion").check();
  await hex.click();
  drawn = await page.evaluate(() => window.replay.drawn());
  assert.ok(drawn.labels.length > 0);
  assert.ok(!drawn.labels.some((label) => /^Hex /.test(label.text)), "a hidden type is not named");
  await hex.click();
  assert.deepEqual(page.problems, []);
});

test("walls, orbits with their centres and radii, and group names are drawn from the controller's listing", async () => {
  const page = motionPage;
  assert.deepEqual(page.problems, []);
  // A step where nothing stands on the comet's centre.
  let k = 10, objects;
  const free = (x, y, except = -1) => objects.every((o, i) => i === except || o.destroyed || !inside(boxOf(o), x, y, 2));
  for (; k < 60; k += 5) {
    objects = await page.evaluate((s) => window.replay.objectsAt(s), k);
    if (free(110, 300)) break;
  }
  await goTo(page, k);
  const drawn = await page.evaluate(() => window.replay.drawn());
  const orbits = drawn.orbits.map((o) => [o.groups.join(), o.x, o.y, o.radiusX, o.radiusY, o.objects.length]).sort();
  // From the scene: Spinner turns around its own place, the moons and satellites around the planet, the
  // comet around its place moved by its centre offset (10, 0) with radii 50 across and 20 down.
  assert.deepEqual(orbits, [["Comets", 110, 300, 50, 20, 1], ["Moon", 420, 300, 60, 60, 4],
                            ["Satellite", 420, 300, 100, 100, 3], ["Spinner", 200, 360, 40, 40, 1]]);
  const walls = drawn.walls.map((w) => [w.vertical ? "x" : "y", w.at, w.groups.join()]).sort();
  assert.deepEqual(walls, [["x", 0, "Runner"], ["x", 100, "Eels"], ["x", 200, "Bouncer"], ["x", 540, "Eels"],
                           ["x", 600, "Bouncer"], ["x", 640, "Runner"], ["y", 0, "Faller,Jumper,Kite"],
                           ["y", 480, "Faller,Jumper,Kite"]]);
  const groupLabels = drawn.labels.filter((label) => label.group).map((label) => label.text);
  for (const group of ["Comets", "Moon", "Satellite", "Spinner", "Runner", "Eels", "Bouncer", "Faller,Jumper,Kite"]) {
    assert.ok(groupLabels.some((text) => text.replaceAll(" ", "") === group), `${group} named on the canvas`);
  }
  expectLabelsApart(drawn, `step ${k}`);

  // On the canvas: the comet's centre cross and the Bouncer's right wall show, and go with the box.
  assert.ok(free(110, 300), "nothing stands on the comet's centre");
  const wallColumn = Array.from({ length: 40 }, (_, j) => 140 + j).filter((y) => free(600, y));
  assert.ok(wallColumn.length >= 10);
  const marks = async () => ({
    centre: await framePixel(page, 110, 300),
    wall: await Promise.all(wallColumn.map((y) => framePixel(page, 600, y))),
  });
  await nextPaint(page);
  let shown = await marks();
  assert.notDeepEqual(shown.centre, WINDOW_BACKGROUND);
  assert.ok(shown.wall.some((p) => p.join() !== WINDOW_BACKGROUND.join()), "the wall shows");
  await page.locator("#motion").uncheck();
  await nextPaint(page);
  shown = await marks();
  assert.deepEqual(shown.centre, WINDOW_BACKGROUND);
  assert.ok(shown.wall.every((p) => p.join() === WINDOW_BACKGROUND.join()), "no wall without walls and orbits");
  assert.deepEqual((await page.evaluate(() => window.replay.drawn())).orbits, []);
  await page.locator("#motion").check();

  // The pointed moon's panel tells its group, motion, centre and radius.
  const moon = objects.findIndex((o, i) => o.type === "Moon" && free(o.x + 8, o.y + 8, i));
  assert.ok(moon >= 0, "a moon stands alone");
  await pointAt(page, objects[moon].x + 8, objects[moon].y + 8);
  const rows = await page.locator("#object-info tr").evaluateAll((shownRows) =>
    Object.fromEntries(shownRows.map((row) => [row.cells[0].textContent, row.cells[1].textContent])),
  );
  assert.deepEqual([rows["motion group"], rows.motion, rows["orbit centre"], rows.radius],
                   ["Moon", "orbit", "(420, 300)", "60"]);
  await pointAt(page, 300 + 4, 100 + 4);  // the rock, a null motion in group Scenery
  const rock = await page.locator("#object-info").textContent();
  assert.match(rock, /motion groupScenerymotionnull motion/);
  await page.mouse.move(0, 0);

  await goTo(page, 30);
  await nextPaint(page);
  await page.screenshot({ path: path.join(path.dirname(screenshot), "replay-orbits.png"), fullPage: true });
  assert.deepEqual(page.problems, []);
});

test("past a hundred walls and orbits in a step, each group is named once", async () => {
  const instances = Array.from({ length: 150 }, (_, i) =>
    ({ x: (i * 37) % 640, y: (i * 53) % 480, width: 4, height: 4, hotSpotX: 2, hotSpotY: 2 }));
  const crowdedScene = path.join(outDir, "replay_crowded_scene.json");
  writeFileSync(crowdedScene, JSON.stringify({
    frame: { width: 640, height: 480, frameRate: 60, frames: 5 },
    objects: [{ name: "Dot", instances }], nimbo: [{}],
    events: [{ conditions: [{ host: "start of frame" }],
               actions: [{ nimbo: 0, action: 21, params: [{ object: "Dot" }, 24, 3] }] }] }));
  const [html] = runScene(crowdedScene, "crowded");
  const page = await openPage(html);
  await goTo(page, 4);
  const drawn = await page.evaluate(() => window.replay.drawn());
  assert.equal(drawn.orbits.length, 150);
  const groupLabels = drawn.labels.filter((label) => label.group).map((label) => label.text);
  assert.ok(groupLabels.length > 0, "the group is named");
  assert.equal(new Set(groupLabels).size, groupLabels.length, `each group named once: ${groupLabels}`);
  expectLabelsApart(drawn, "the crowded step");
  assert.deepEqual(page.problems, []);
  await page.close();
});

test("a run of no steps opens on the frame as created and says so", async () => {
  const page = await openPage(emptyHtml);
  assert.equal(await page.locator("#frame-count").textContent(), "0");
  assert.equal(await page.locator("#play").isDisabled(), true);
  assert.match(await page.locator("#hint").textContent(), /no frame step/);
  assert.equal(await shownFrame(page), -1);
  assert.equal(await page.evaluate(() => window.replay.objectsAt(-1).length), sceneTrace[0].objects.length);
  await page.keyboard.press("ArrowRight");
  await page.keyboard.press("End");
  assert.equal(await shownFrame(page), -1);
  assert.deepEqual(page.problems, []);
  await page.close();
});
