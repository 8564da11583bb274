// Measures a replay page in headless Chromium: how long it takes to open, and how long each step takes
// to draw while it plays (trails off, then on). Prints the figures; it checks nothing.
//   node replay_playback.mjs PAGE.html
import { pathToFileURL } from "node:url";
import { chromium } from "playwright-core";

const [file] = process.argv.slice(2);
const chromiumPath = process.env.CHROMIUM || "/usr/bin/chromium";
const browser = await chromium.launch({ executablePath: chromiumPath, headless: true, timeout: 120_000 });
const page = await browser.newPage({ viewport: { width: 1400, height: 900 } });
page.setDefaultTimeout(300_000);
const errors = [];
page.on("pageerror", (error) => errors.push(error.message));
page.on("console", (message) => message.type() === "error" && errors.push(message.text()));

const opening = Date.now();
await page.goto(pathToFileURL(file).href);
await page.waitForFunction(() => document.body.dataset.ready === "true");
const openMs = Date.now() - opening;
const { frames, objects, loadMs } = await page.evaluate(() => ({
  frames: window.replay.frameCount, objects: window.replay.objectCount, loadMs: window.replay.loadMs,
}));
console.log(`${file}: ${objects} objects, ${frames} steps; opened in ${openMs} ms (page ready ${loadMs.toFixed(0)} ms after navigation)`);

const ms = (s) => `mean ${s.meanMs.toFixed(2)} ms, p95 ${s.p95Ms.toFixed(2)} ms, max ${s.maxMs.toFixed(2)} ms`;
// Plays from the first step to the last at the page's 1x speed and reports what the page measured.
async function playThrough(label) {
  await page.locator("#first").click();
  await page.locator("#speed").selectOption("1");
  await page.locator("#play").click();
  await page.waitForFunction(() => document.body.dataset.playing === "false");
  const { draw, step, tick } = await page.evaluate(() => window.replay.stats());
  console.log(`${label}: ${step.count} steps shown; draw ${ms(draw)}; whole step ${ms(step)}`);
  console.log(`${label}: animation frames every ${ms(tick)} (${(1000 / tick.meanMs).toFixed(1)} per second)`);
}

await playThrough("trails off");
await page.locator("#trails").check();
await playThrough("trails of 30 steps");
await browser.close();
if (errors.length) {
  console.error("page errors:", errors);
  process.exit(1);
}
