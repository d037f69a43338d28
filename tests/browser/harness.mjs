// Start-up shared by the browser tests: Chromium from Debian, playwright-core from the build
// tree, and a watchdog so every test ends in bounded time.

import fs from "node:fs";
import { createRequire } from "node:module";
import path from "node:path";

// ctest's SKIP_RETURN_CODE for a machine without Chromium.
export const SKIP = 77;

// The chromium launcher of playwright-core; exits with SKIP when Chromium is missing and fails
// when the package is not installed.
export function loadChromium(args) {
  if (!args.chromium || !fs.existsSync(args.chromium)) {
    console.log(`SKIP: Chromium is not installed (looked for ${args.chromium || "chromium"}); ` +
      "scripts/deps installs the Debian package chromium");
    process.exit(SKIP);
  }
  try {
    // The package lives in the build tree, not beside this file.
    const require = createRequire(path.join(args.packages || ".", "package.json"));
    return require("playwright-core").chromium;
  } catch (error) {
    console.error("FAIL: playwright-core is not installed in the build tree " +
      `(the browser.npm_install test puts it there): ${error.message}`);
    process.exit(1);
  }
}

export function startWatchdog(label, timeoutMs) {
  const watchdog = setTimeout(() => {
    console.error(`FAIL: ${label} did not finish within ${timeoutMs} ms`);
    process.exit(1);
  }, timeoutMs);
  watchdog.unref();
}
