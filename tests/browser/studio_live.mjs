// Measures the studio page live in headless Chromium: the time from a parameter's edit to the new picture
// of the step shown and to the whole run drawn, for a layout of 100 objects and for 1 000 motion entries
// over 300 steps, with the walls and orbits read and without, the first and the last step shown; beside
// it, vohost's own run of the same scene with its replay page, in the same session, as the baseline.
// Prints the figures; it checks nothing.
//   node studio_live.mjs STUDIO_HTML VOHOST OUT_DIR
import { execFileSync } from "node:child_process";
import { mkdirSync, readFileSync, writeFileSync } from "node:fs";
import path from "node:path";
import { pathToFileURL } from "node:url";
import { chromium, chromiumPath } from "./chromium.mjs";

const [pagePath, vohost, outDir] = process.argv.slice(2).map((arg) => path.resolve(arg));
const EDITS = 15, WARM_UP = 3;

const box = (count, size) => Array.from({ length: count }, (_, i) =>
  ({ x: (i * 37) % 640, y: (i * 53) % 480, width: size, height: size, hotSpotX: size / 2, hotSpotY: size / 2 }));
const cases = [
  { name: "layout of 100 objects", field: 3, values: (k) => 4 + (k % 10), scene: {
    frame: { width: 640, height: 480, frameRate: 60, frames: 60 },
    objects: [{ name: "Gem", instances: box(100, 16) }], nimbo: [{}],
    events: [{ conditions: [{ host: "start of frame" }],
               actions: [{ nimbo: 0, action: 14, params: [{ object: "Gem" }, 20, 20, 10, 6, 6] }] }] } },
  { name: "1 000 motion entries over 300 steps", field: 0, values: (k) => 20 + (k % 10), scene: {
    frame: { width: 640, height: 480, frameRate: 60, frames: 300 },
    objects: [{ name: "Dot", instances: box(1000, 4) }], nimbo: [{}],
    events: [{ conditions: [{ host: "start of frame" }],
               actions: [{ nimbo: 0, action: 21, params: [{ object: "Dot" }, 24, 3] }] }] } },
];

const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];
const format = (ms) => `${ms.toFixed(1)} ms`;

mkdirSync(outDir, { recursive: true });
const browser = await chromium.launch({ executablePath: chromiumPath, headless: true, timeout: 120_000 });
try {
  const tab = await browser.newPage({ viewport: { width: 1500, height: 1000 } });
  tab.setDefaultTimeout(300_000);
  const opening = Date.now();
  await tab.goto(pathToFileURL(pagePath).href);
  await tab.waitForSelector("body[data-ready]");
  console.log(`studio page: ${readFileSync(pagePath).length} bytes; opened in ${Date.now() - opening} ms, first ` +
              `picture ${format(await tab.evaluate(() => window.studio.loadMs))} after navigation`);
  for (const { name, field, values, scene } of cases) {
    const file = path.join(outDir, name.replace(/\W+/g, "_") + ".json");
    writeFileSync(file, JSON.stringify(scene));
    const nativeStart = performance.now();
    execFileSync(vohost, ["run", file, "--trace", file + ".jsonl", "--html", file + ".html"], { stdio: "pipe" });
    const nativeMs = performance.now() - nativeStart;
    await tab.setInputFiles("#load", file);
    await tab.waitForFunction((steps) => window.studio.steps === steps, scene.frame.frames);
    for (const [motion, shown] of [[true, "first"], [true, "last"], [false, "first"], [false, "last"]]) {
      if ((await tab.isChecked("#motion")) !== motion) await tab.click("#motion");
      await tab.click("#" + shown);
      const samples = [];
      for (let k = 0; k < WARM_UP + EDITS; k++) {
        // From the edit to the step shown drawn, by the whole run or first by a picture of that step alone,
        // and to the whole run drawn. Each draws before it counts itself.
        const sample = await tab.evaluate(async ([at, value]) => {
          const input = document.querySelectorAll('#lines .part[data-action="0"] input[type="number"]')[at];
          const counts = () => `${document.body.dataset.runs}/${document.body.dataset.partialRuns}`;
          const runs = document.body.dataset.runs, before = counts();
          const nextTask = () => new Promise((resolve) => setTimeout(resolve, 0));
          const start = performance.now();
          input.value = String(value);
          input.dispatchEvent(new Event("input", { bubbles: true }));
          while (counts() === before) await nextTask();
          const pictureMs = performance.now() - start;
          while (document.body.dataset.runs === runs) await nextTask();
          const picture = document.body.dataset.partialRuns === before.split("/")[1] ? null : window.studio.lastPicture;
          return { pictureMs, wholeMs: performance.now() - start, ...window.studio.lastRun,
                   pictureRunMs: picture ? picture.runMs : NaN };
        }, [field, values(k)]);
        if (k >= WARM_UP) samples.push(sample);
      }
      const of = (key) => samples.map((sample) => sample[key]);
      const pictureRuns = of("pictureRunMs").filter(Number.isFinite);
      console.log(`${name}, walls and orbits ${motion ? "read" : "not read"}, ${shown} step shown: edit to its ` +
                  `picture median ${format(median(of("pictureMs")))} (max ${format(Math.max(...of("pictureMs")))}; ` +
                  (pictureRuns.length ? `the module's run for it ${format(median(pictureRuns))}), `
                                      : "drawn by the whole run), ") +
                  `to the whole run drawn ${format(median(of("wholeMs")))}; of it the module's run ` +
                  `${format(median(of("runMs")))}, decoding ${format(median(of("decodeMs")))}, drawing ` +
                  `${format(median(of("drawMs")))}; vohost run --html natively ${format(nativeMs)} (ratio ` +
                  `${(median(of("wholeMs")) / nativeMs).toFixed(2)})`);
    }
  }
} finally {
  await browser.close();
}
