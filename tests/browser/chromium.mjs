// The system's Chromium, driven by playwright-core, for the browser tests. Importing this ends the test
// program as skipped (77) when either is missing, so a machine without them reports rather than fails.
import { existsSync } from "node:fs";

const SKIPPED = 77;
export const chromiumPath = process.env.CHROMIUM || "/usr/bin/chromium";

if (!existsSync(chromiumPath)) {
  console.log(`SKIPPED: no Chromium at ${chromiumPath} (install Debian's chromium package; make test does)`);
  process.exit(SKIPPED);
}
let loaded;
try {
  loaded = (await import("playwright-core")).chromium;
} catch {
  console.log("SKIPPED: playwright-core is not installed (npm ci in tests/browser; make test does)");
  process.exit(SKIPPED);
}
export const chromium = loaded;
