// Plays a generated slideshow album in headless Chromium and checks what a viewer sees.
//
//   node slideshow.test.mjs <scenario> --tool <album tool> --work <folder> --chromium <path>
//                           --packages <folder holding node_modules>
//
// The album tool writes a five-photo album with the settings of the scenario and describes it
// in fixture.json. Exit status 0 passes, 1 fails, 77 skips (no Chromium).

import { execFileSync } from "node:child_process";
import fs from "node:fs";
import os from "node:os";
import path from "node:path";
import { pathToFileURL } from "node:url";

import { loadChromium, startWatchdog } from "./harness.mjs";

const TEST_TIMEOUT_MS = 60000;

function parseArgs(argv) {
  const args = { scenario: argv[0] };
  for (let i = 1; i + 1 < argv.length; i += 2) {
    args[argv[i].replace(/^--/, "")] = argv[i + 1];
  }
  return args;
}

const args = parseArgs(process.argv.slice(2));

const chromium = loadChromium(args);
startWatchdog(args.scenario, TEST_TIMEOUT_MS);

class Failure extends Error {}

function check(condition, message) {
  if (!condition) {
    throw new Failure(message);
  }
}

function checkEqual(actual, expected, message) {
  const a = JSON.stringify(actual);
  const e = JSON.stringify(expected);
  check(a === e, `${message}: expected ${e}, got ${a}`);
}

// The photo size the page must use: the source fitted into the box, never enlarged.
function fitted(width, height, limit) {
  if (limit <= 0 || (width <= limit && height <= limit)) {
    return [width, height];
  }
  return width >= height
    ? [limit, Math.max(1, Math.round((height * limit) / width))]
    : [Math.max(1, Math.round((width * limit) / height)), limit];
}

function makeAlbum(name, settings) {
  const folder = path.join(args.work, name);
  fs.rmSync(folder, { recursive: true, force: true });
  fs.mkdirSync(folder, { recursive: true });
  const settingArgs = Object.entries(settings).map(([key, value]) => `${key}=${value}`);
  execFileSync(args.tool, [folder, ...settingArgs], { stdio: ["ignore", "inherit", "inherit"] });
  const fixture = JSON.parse(fs.readFileSync(path.join(folder, "fixture.json"), "utf8"));
  return { folder, fixture };
}

// Records every change of the shown photo (by file name) with its time, before the page runs.
function watchPhotos() {
  window.__shows = [];
  const record = (img) => {
    const src = img.getAttribute("src") || "";
    const name = decodeURIComponent(src.slice(src.lastIndexOf("/") + 1));
    const last = window.__shows[window.__shows.length - 1];
    if (!last || last.name !== name) {
      window.__shows.push({ name, t: performance.now() });
    }
  };
  const observer = new MutationObserver((records) => {
    for (const r of records) {
      if (r.target.id === "photos-slideshow") {
        record(r.target);
      }
    }
  });
  document.addEventListener("DOMContentLoaded", () => {
    const img = document.getElementById("photos-slideshow");
    if (img) {
      record(img);
      observer.observe(img, { attributes: true, attributeFilter: ["src"] });
    }
  });
}

async function openAlbum(browserContext, album) {
  const page = await browserContext.newPage();
  const problems = [];
  const requests = [];
  page.on("console", (msg) => {
    if (msg.type() === "error" || msg.type() === "warning") {
      problems.push(`console ${msg.type()}: ${msg.text()}`);
    }
  });
  page.on("pageerror", (error) => problems.push(`page error: ${error.message}`));
  page.on("requestfailed", (request) =>
    problems.push(`failed request: ${request.url()} (${request.failure()?.errorText})`));
  page.on("request", (request) => requests.push(request.url()));
  await page.addInitScript(watchPhotos);
  await page.goto(pathToFileURL(album.fixture.page).href);
  await page.waitForFunction(() => window.__shows && window.__shows.length > 0);
  return { page, problems, requests, album };
}

async function shownNames(view) {
  return (await view.page.evaluate(() => window.__shows)).map((s) => s.name);
}

async function currentName(view) {
  const names = await shownNames(view);
  return names[names.length - 1];
}

async function isPlaying(view) {
  return view.page.evaluate(() =>
    document.getElementById("slideshow-photos").dataset.playing === "true");
}

async function visible(view, id) {
  return view.page.evaluate((elementId) => {
    const element = document.getElementById(elementId);
    return !!element && getComputedStyle(element).display !== "none";
  }, id);
}

async function waitStopped(view, timeout) {
  await view.page.waitForFunction(() =>
    document.getElementById("slideshow-photos").dataset.playing === "false", null, { timeout });
}

async function waitShows(view, count, timeout) {
  await view.page.waitForFunction((n) => window.__shows.length >= n, count, { timeout });
}

// Nothing changes for a while: waits several intervals and compares.
async function checkStill(view, ms, message) {
  const before = await shownNames(view);
  await view.page.waitForTimeout(ms);
  checkEqual(await shownNames(view), before, message);
}

function squeeze(text) {
  return text.replace(/\s+/g, " ").trim();
}

function nameAt(album, i) {
  return album.fixture.items[i].name;
}

function cycle(album, indexes) {
  return indexes.map((i) => nameAt(album, i));
}

async function swipe(view, fromX, toX) {
  const session = await view.page.context().newCDPSession(view.page);
  const box = await view.page.locator("#photos-slideshow").boundingBox();
  const y = box.y + box.height / 2;
  const x0 = box.x + box.width * fromX;
  const x1 = box.x + box.width * toX;
  await session.send("Input.dispatchTouchEvent", { type: "touchStart", touchPoints: [{ x: x0, y }] });
  await session.send("Input.dispatchTouchEvent", { type: "touchMove", touchPoints: [{ x: x1, y }] });
  await session.send("Input.dispatchTouchEvent", { type: "touchEnd", touchPoints: [] });
  await session.detach();
}

// Every photo of the album must have been found and decoded by the browser.
async function checkPhotoLoaded(view) {
  const state = await view.page.evaluate(async () => {
    const img = document.getElementById("photos-slideshow");
    if (!img.complete) {
      await new Promise((resolve) => img.addEventListener("load", resolve, { once: true }));
    }
    return { natural: img.naturalWidth, width: img.width, height: img.height, alt: img.alt };
  });
  check(state.natural > 0, `photo ${state.alt} did not load`);
  return state;
}

const INTERVAL = 300;

const scenarios = {
  // Automatic play moves on at the interval and loops.
  async autoplayLoops(context) {
    const album = makeAlbum("autoplay-loop", { Play: 1, Repeat: 0, Duration: INTERVAL / 1000 });
    const view = await openAlbum(context, album);
    check(await isPlaying(view), "automatic play did not start");
    check(await visible(view, "navi-pause") && !(await visible(view, "navi-play")),
      "while playing the pause button shows and the play button does not");
    await waitShows(view, 7, 20000);
    const shows = await view.page.evaluate(() => window.__shows);
    checkEqual(shows.slice(0, 7).map((s) => s.name), cycle(album, [0, 1, 2, 3, 4, 0, 1]),
      "photos of two rounds");
    for (let i = 1; i < 7; ++i) {
      const gap = shows[i].t - shows[i - 1].t;
      // Timers may run late under load, never early.
      check(gap >= INTERVAL * 0.9, `photo ${i} came after ${gap.toFixed(0)} ms, before ${INTERVAL}`);
    }
    await view.page.keyboard.press("Space");
    check(!(await isPlaying(view)), "Space did not pause");
    await checkStill(view, INTERVAL * 3, "a paused show went on");
    check(await visible(view, "navi-play"), "the play button shows after pausing");
    return view;
  },

  // "Stop after the last photo" stops on the last one; play starts over.
  async stopsAfterLast(context) {
    const album = makeAlbum("stop-after-last", { Play: 1, Repeat: 1, Duration: 0.2 });
    const view = await openAlbum(context, album);
    await waitStopped(view, 20000);
    checkEqual(await shownNames(view), cycle(album, [0, 1, 2, 3, 4]), "photos shown");
    await checkStill(view, 200 * 3, "the show went on after the last photo");
    check(await visible(view, "navi-play"), "the play button shows at the end");
    await view.page.click("#navi-play");
    await waitShows(view, 7, 10000);
    checkEqual((await shownNames(view)).slice(5, 7), cycle(album, [0, 1]), "play after the end");
    return view;
  },

  // Repeat 2 with a limit of 2: two full passes, then it stops on the last photo.
  async repeatsTwice(context) {
    const album = makeAlbum("repeat-two", { Play: 1, Repeat: 2, RepeatLimit: 2, Duration: 0.2 });
    const view = await openAlbum(context, album);
    await waitStopped(view, 20000);
    checkEqual(await shownNames(view), cycle(album, [0, 1, 2, 3, 4, 0, 1, 2, 3, 4]),
      "photos of two passes");
    await checkStill(view, 200 * 3, "the show went on after two passes");
    return view;
  },

  // Manual play waits for the buttons.
  async manualWaits(context) {
    const album = makeAlbum("manual", { Play: 0, Repeat: 0, Duration: 0.2 });
    const view = await openAlbum(context, album);
    check(!(await isPlaying(view)), "manual play started by itself");
    check(await visible(view, "navi-play") && !(await visible(view, "navi-pause")),
      "before playing the play button shows and the pause button does not");
    await checkStill(view, 200 * 4, "manual play moved by itself");
    await view.page.click("#navi-next");
    checkEqual(await currentName(view), nameAt(album, 1), "next button");
    await view.page.click("#navi-play");
    await waitShows(view, 4, 10000);
    await view.page.click("#navi-pause");
    const stopped = await shownNames(view);
    checkEqual(stopped.slice(0, 4), cycle(album, [0, 1, 2, 3]), "play from the second photo");
    await checkStill(view, 200 * 3, "pause did not stop the show");
    return view;
  },

  // Buttons, arrow keys and swipes wrap around when the show repeats.
  async navigationWraps(context) {
    const album = makeAlbum("navigation-loop", { Play: 0, Repeat: 0 });
    const view = await openAlbum(context, album);
    const steps = [
      ["key", "ArrowLeft", 4], ["key", "ArrowRight", 0], ["key", "ArrowRight", 1],
      ["click", "#navi-prev", 0], ["click", "#navi-prev", 4], ["click", "#navi-next", 0],
      ["swipe", "left", 1], ["swipe", "right", 0], ["swipe", "right", 4],
    ];
    for (const [kind, what, expected] of steps) {
      if (kind === "key") {
        await view.page.keyboard.press(what);
      } else if (kind === "click") {
        await view.page.click(what);
      } else {
        await (what === "left" ? swipe(view, 0.8, 0.2) : swipe(view, 0.2, 0.8));
      }
      checkEqual(await currentName(view), nameAt(album, expected), `${kind} ${what}`);
    }
    // A short touch is a tap, not a swipe.
    await swipe(view, 0.5, 0.52);
    checkEqual(await currentName(view), nameAt(album, 4), "a tap moved the show");
    return view;
  },

  // When the show stops after the last photo, moving stops at both ends.
  async navigationStopsAtTheEnds(context) {
    const album = makeAlbum("navigation-stop", { Play: 0, Repeat: 1 });
    const view = await openAlbum(context, album);
    await view.page.keyboard.press("ArrowLeft");
    checkEqual(await currentName(view), nameAt(album, 0), "left on the first photo");
    await view.page.click("#navi-prev");
    checkEqual(await currentName(view), nameAt(album, 0), "previous on the first photo");
    for (let i = 0; i < 6; ++i) {
      await view.page.keyboard.press("ArrowRight");
    }
    checkEqual(await currentName(view), nameAt(album, 4), "right past the last photo");
    await view.page.click("#navi-next");
    checkEqual(await currentName(view), nameAt(album, 4), "next on the last photo");
    checkEqual(await shownNames(view), cycle(album, [0, 1, 2, 3, 4]), "photos shown");
    return view;
  },

  // File names and notes follow the photo; each photo has its fitted size.
  async namesAndNotesFollowThePhoto(context) {
    const album = makeAlbum("names-notes", { Play: 0, ViewName: 1, ViewNote: 1, PhotoSize: 3 });
    const view = await openAlbum(context, album);
    const items = album.fixture.items;
    for (let i = 0; i < items.length; ++i) {
      if (i > 0) {
        await view.page.keyboard.press("ArrowRight");
      }
      const state = await checkPhotoLoaded(view);
      const shown = await view.page.evaluate(() => ({
        name: document.querySelector("div.file-name").textContent,
        note: document.getElementById("slideshow-note").innerText,
      }));
      checkEqual(shown.name, items[i].name, `file name of photo ${i}`);
      // Line breaks of a note render as spaces, as in the page's own note cell.
      checkEqual(squeeze(shown.note), squeeze(items[i].note), `note of photo ${i}`);
      checkEqual(state.alt, items[i].name, `alt text of photo ${i}`);
      checkEqual([state.width, state.height], fitted(items[i].width, items[i].height, 640),
        `size of photo ${i}`);
    }
    return view;
  },

  // On a phone-sized screen the photo shrinks to fit, keeping its proportions.
  async fitsANarrowScreen(context) {
    const album = makeAlbum("narrow", { Play: 0, PhotoSize: 2 });
    const view = await openAlbum(context, album);
    await view.page.setViewportSize({ width: 360, height: 640 });
    for (let i = 0; i < album.fixture.items.length; ++i) {
      if (i > 0) {
        await view.page.keyboard.press("ArrowRight");
      }
      await checkPhotoLoaded(view);
      const box = await view.page.locator("#photos-slideshow").boundingBox();
      const item = album.fixture.items[i];
      const [width, height] = fitted(item.width, item.height, 800);
      check(box.x >= 0 && box.x + box.width <= 360 + 0.5,
        `photo ${i} spills out of the screen: ${JSON.stringify(box)}`);
      check(Math.abs(box.width / box.height - width / height) < 0.02,
        `photo ${i} lost its proportions: ${box.width} x ${box.height}`);
    }
    return view;
  },

  // Switched off, the name line keeps the header and no note is shown.
  async namesAndNotesSwitchedOff(context) {
    const album = makeAlbum("names-notes-off", { Play: 0, ViewName: 0, ViewNote: 0 });
    const view = await openAlbum(context, album);
    const read = () => view.page.evaluate(() => ({
      name: document.querySelector("div.file-name").textContent,
      note: document.getElementById("slideshow-note") !== null,
      noteRow: document.querySelector("tr.note") !== null,
    }));
    const header = album.fixture.header;
    checkEqual(await read(), { name: header, note: false, noteRow: false }, "first photo");
    await view.page.keyboard.press("ArrowRight");
    await checkPhotoLoaded(view);
    checkEqual(await currentName(view), nameAt(album, 1), "moved to the second photo");
    checkEqual(await read(), { name: header, note: false, noteRow: false }, "second photo");
    return view;
  },
};

async function main() {
  const run = scenarios[args.scenario];
  if (!run) {
    console.error(`FAIL: unknown scenario ${args.scenario}; known: ${Object.keys(scenarios)}`);
    return 1;
  }
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), "pictavo-chromium-"));
  const context = await chromium.launchPersistentContext(profile, {
    executablePath: args.chromium,
    headless: true,
    hasTouch: true,
    viewport: { width: 1280, height: 900 },
    args: ["--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
      "--disable-background-networking", "--disable-component-update", "--disable-sync"],
  });
  try {
    const view = await run(context);
    check(view.problems.length === 0, `problems in the page:\n  ${view.problems.join("\n  ")}`);
    const foreign = view.requests.filter((url) => !url.startsWith("file:"));
    check(foreign.length === 0, `requests beyond the album: ${foreign.join(", ")}`);
    console.log(`PASS: ${args.scenario}`);
    return 0;
  } catch (error) {
    console.error(`FAIL: ${args.scenario}: ${error instanceof Failure ? error.message : error.stack}`);
    return 1;
  } finally {
    await context.close();
    fs.rmSync(profile, { recursive: true, force: true });
  }
}

process.exit(await main());
