// The web guide in headless Chromium, read the way a designer browses it: from the index every page of
// the catalog is reached by links, no link is broken, no picture is missing, nothing is fetched from
// outside; a layout action's page and a motion action's page are kept as screenshots.
//   node guide_test.mjs VOHOST LIB GUIDE_DIR SCREENSHOT_DIR
// Exits 77 (skipped) when Chromium or playwright-core is missing.
import assert from "node:assert/strict";
import { execFileSync } from "node:child_process";
import { existsSync, mkdirSync, readdirSync } from "node:fs";
import path from "node:path";
import { after, before, test } from "node:test";
import { pathToFileURL } from "node:url";
import { chromium, chromiumPath } from "./chromium.mjs";

const [vohost, library, guideDir, screenshotDir] = process.argv.slice(2);

// The routines as vohost reads them from the extension: "action-4", "condition-5", ...
function catalogPages() {
  const printed = execFileSync(vohost, ["catalog", library], { encoding: "utf8" });
  return [...printed.matchAll(/^ {2}(action|condition|expression) (\d+): menu/gm)].map((m) => `${m[1]}-${m[2]}`);
}

let browser;
const visited = new Map(); // file name -> { problems, bodyClass, hasPicture }

before(async () => {
  browser = await chromium.launch({ executablePath: chromiumPath, headless: true, timeout: 120_000 });
  const page = await browser.newPage({ viewport: { width: 1100, height: 900 } });
  page.setDefaultTimeout(60_000);
  let problems = [];
  page.on("console", (message) => {
    if (message.type() === "error") problems.push(message.text());
  });
  page.on("pageerror", (error) => problems.push(error.message));
  page.on("requestfailed", (request) => problems.push(`failed to load ${request.url()}`));
  await page.route("**/*", (route) => {
    const url = route.request().url();
    if (url.startsWith("file:")) return route.continue();
    problems.push(`request to ${url}`);
    return route.abort();
  });

  const queue = ["index.html"];
  const queued = new Set(queue);
  while (queue.length > 0) {
    const name = queue.shift();
    problems = [];
    await page.goto(pathToFileURL(path.join(guideDir, name)).href);
    const seen = await page.evaluate(() => ({
      links: Array.from(document.querySelectorAll("a"), (a) => a.getAttribute("href")),
      pictures: Array.from(document.images, (img) => ({ src: img.getAttribute("src"), shown: img.complete && img.naturalWidth > 0 })),
      bodyClass: document.body.className,
      hasPicture: document.querySelector("div.picture img") !== null,
    }));
    for (const picture of seen.pictures) {
      if (!picture.shown) problems.push(`picture ${picture.src} is not shown`);
    }
    for (const href of seen.links) {
      if (href === null) continue;
      if (/^[a-z]+:|^\/\//i.test(href)) {
        problems.push(`link out of the guide: ${href}`);
        continue;
      }
      const target = href.split("#")[0];
      if (target === "") continue;
      const file = path.resolve(guideDir, target);
      if (path.dirname(file) !== path.resolve(guideDir) || !existsSync(file)) {
        problems.push(`broken link to ${href}`);
      } else if (!queued.has(target)) {
        queued.add(target);
        queue.push(target);
      }
    }
    visited.set(name, { problems, bodyClass: seen.bodyClass, hasPicture: seen.hasPicture });
  }
  await page.close();
});

after(async () => {
  await browser?.close();
});

test("every page opens cleanly: no error, no broken link, no missing picture, nothing from outside", () => {
  const found = [...visited].filter(([, page]) => page.problems.length > 0).map(([name, page]) => `${name}: ${page.problems.join("; ")}`);
  assert.deepEqual(found, []);
});

test("every routine of the catalog and every page of the guide is reached from the index", () => {
  const routines = catalogPages();
  assert.equal(routines.length, 54 + 8 + 19);
  assert.deepEqual(routines.filter((name) => !visited.has(`${name}.html`)), []);
  const files = readdirSync(guideDir).filter((name) => name.endsWith(".html"));
  assert.deepEqual(files.filter((name) => !visited.has(name)), []);
});

// The first action page, in code order, of the subsystem that has a picture.
function pictureAction(subsystem) {
  const names = catalogPages().filter((name) => name.startsWith("action-"));
  return names.find((name) => {
    const page = visited.get(`${name}.html`);
    return page && page.hasPicture && page.bodyClass.split(" ").includes(`subsystem-${subsystem}`);
  });
}

test("a layout action's page and a motion action's page show their pictures, kept as screenshots", async () => {
  mkdirSync(screenshotDir, { recursive: true });
  const page = await browser.newPage({ viewport: { width: 1000, height: 800 } });
  for (const subsystem of ["layouts", "motion"]) {
    const name = pictureAction(subsystem);
    assert.ok(name, `no action page of ${subsystem} has a picture`);
    await page.goto(pathToFileURL(path.join(guideDir, `${name}.html`)).href);
    const picture = page.locator("div.picture img");
    await picture.scrollIntoViewIfNeeded();
    assert.ok(await picture.evaluate((img) => img.naturalWidth > 0), `${name}'s picture is shown`);
    const file = path.join(screenshotDir, `guide-${subsystem}-${name}.png`);
    await page.screenshot({ path: file, fullPage: true });
    console.log(`screenshot: ${file}`);
  }
  await page.close();
});
