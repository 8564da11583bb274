// The studio's module in headless Chromium as a page opened from disk uses it: loaded by a script tag
// from a file:// URL, with no server and no request beyond that file, it runs a scene to the lines node
// gets from the same module and reads the catalog.
//   node studio_page_test.mjs MODULE SCENE OUT_DIR
// Exits 77 (skipped) when Chromium or playwright-core is missing.
import assert from "node:assert/strict";
import { copyFileSync, mkdirSync, readFileSync, writeFileSync } from "node:fs";
import { createRequire } from "node:module";
import path from "node:path";
import { test } from "node:test";
import { pathToFileURL } from "node:url";
import { chromium, chromiumPath } from "./chromium.mjs";

const [modulePath, scenePath, outDir] = process.argv.slice(2).map((arg) => path.resolve(arg));

test("a page opened from disk runs a scene and reads the catalog through the module", async () => {
  mkdirSync(outDir, { recursive: true });
  copyFileSync(modulePath, path.join(outDir, "nimbo_studio.js"));
  const scene = readFileSync(scenePath, "utf8");
  const page = path.join(outDir, "studio_page.html");
  writeFileSync(
    page,
    `<!doctype html><meta charset="utf-8"><script src="nimbo_studio.js"></script>
<script>
window.result = NimboStudio().then((studio) => {
  const { trace, error } = studio.runScene(${JSON.stringify(scene)}, null);
  return { trace, error, catalog: JSON.parse(studio.catalog()) };
});
</script>`,
  );
  const expected = (await createRequire(import.meta.url)(modulePath)()).runScene(scene, null);

  const browser = await chromium.launch({ executablePath: chromiumPath, headless: true, timeout: 120_000 });
  try {
    const tab = await browser.newPage();
    const requests = [];
    const errors = [];
    tab.on("request", (request) => requests.push(request.url()));
    tab.on("pageerror", (error) => errors.push(error.message));
    await tab.goto(pathToFileURL(page).href);
    const result = await tab.evaluate(() => window.result);
    assert.deepEqual(errors, []);
    assert.deepEqual(requests, [pathToFileURL(page).href, pathToFileURL(path.join(outDir, "nimbo_studio.js")).href]);
    assert.equal(result.error, null);
    assert.deepEqual(result.trace, expected.trace);
    for (const kind of ["actions", "conditions", "expressions"]) assert.ok(result.catalog[kind].length > 0, kind);
  } finally {
    await browser.close();
  }
});
