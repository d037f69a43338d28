// Opens every page kind of albums generated with one design in headless Chromium, at a phone
// width and a desktop width, and checks what a visitor would notice: sideways scrolling, images
// that did not load, failed or outside requests, console errors, and the grid, photo and
// property table layouts. A full-page screenshot of each view is kept in the shots folder.
//
//   node designs.test.mjs album <design id> --tool <album tool> --work <folder>
//        --shots <folder> --chromium <path> --packages <folder holding node_modules>
//   node designs.test.mjs preview --styles <styles folder> --chromium <path> --packages <...>
//
// Exit status 0 passes, 1 fails, 77 skips (no Chromium).

import { execFileSync } from "node:child_process";
import fs from "node:fs";
import os from "node:os";
import path from "node:path";
import { fileURLToPath, pathToFileURL } from "node:url";

import { loadChromium, startWatchdog } from "./harness.mjs";

const TEST_TIMEOUT_MS = 150000;
const WIDTHS = [390, 1280];

function parseArgs(argv) {
  const args = { mode: argv[0], positional: [] };
  for (let i = 1; i < argv.length; ++i) {
    if (argv[i].startsWith("--") && i + 1 < argv.length) {
      args[argv[i].slice(2)] = argv[i + 1];
      ++i;
    } else {
      args.positional.push(argv[i]);
    }
  }
  return args;
}

const args = parseArgs(process.argv.slice(2));

const chromium = loadChromium(args);
startWatchdog(args.mode, TEST_TIMEOUT_MS);

// Collects every failed check instead of stopping at the first, so one run shows them all.
class Report {
  constructor() {
    this.failures = [];
    this.checks = 0;
  }

  check(condition, message) {
    ++this.checks;
    if (!condition) {
      this.failures.push(message);
    }
    return condition;
  }
}

async function openPage(context, url, width) {
  const page = await context.newPage();
  await page.setViewportSize({ width, height: 900 });
  const problems = [];
  const foreign = [];
  page.on("console", (msg) => {
    if (msg.type() === "error" || msg.type() === "warning") {
      problems.push(`console ${msg.type()}: ${msg.text()}`);
    }
  });
  page.on("pageerror", (error) => problems.push(`page error: ${error.message}`));
  page.on("requestfailed", (request) =>
    problems.push(`failed request: ${request.url()} (${request.failure()?.errorText})`));
  page.on("request", (request) => {
    if (!request.url().startsWith("file:") && !request.url().startsWith("data:")) {
      foreign.push(request.url());
    }
  });
  await page.goto(url, { waitUntil: "load" });
  return { page, problems, foreign };
}

// What the checks need from a loaded page, measured in the page itself.
function measure() {
  const box = (element) => {
    if (!element) {
      return null;
    }
    const r = element.getBoundingClientRect();
    return { left: r.left, right: r.right, top: r.top, width: r.width, height: r.height };
  };
  const images = [...document.images].map((img) => ({
    src: img.getAttribute("src"),
    complete: img.complete,
    naturalWidth: img.naturalWidth,
    naturalHeight: img.naturalHeight,
    shown: getComputedStyle(img).display !== "none",
    box: box(img),
    cls: img.className,
  }));
  // File pages cannot read the rules of their sheets; a sheet that failed to load shows as a
  // failed request, and the design's own variable shows that its sheet is applied.
  const sheets = [...document.styleSheets].map((sheet) => sheet.href || "");
  const pageColour = getComputedStyle(document.documentElement).getPropertyValue("--page").trim();
  // The widest element that sticks out of the screen on the right or the left.
  let spill = null;
  for (const element of document.body.querySelectorAll("*")) {
    const r = element.getBoundingClientRect();
    if (r.width === 0 && r.height === 0) {
      continue;
    }
    const out = Math.max(r.right - innerWidth, -r.left);
    if (out > 0.5 && (!spill || out > spill.out)) {
      spill = { out, tag: element.tagName, cls: element.className, id: element.id };
    }
  }
  const thumbs = [...document.querySelectorAll("td[class*='thumb-']")].map(box);
  const keys = [...document.querySelectorAll("td.key-property")].map((td) => ({
    box: box(td),
    fontSize: parseFloat(getComputedStyle(td).fontSize),
  }));
  const values = [...document.querySelectorAll("td.value-property, td.value-name-property")]
    .map((td) => ({ box: box(td), fontSize: parseFloat(getComputedStyle(td).fontSize) }));
  const photo = document.querySelector("img.property, img.photos-slideshow");
  return {
    innerWidth,
    scrollWidth: document.documentElement.scrollWidth,
    images,
    sheets,
    pageColour,
    spill,
    thumbs,
    keys,
    values,
    photo: photo ? { box: box(photo), width: photo.width, height: photo.height,
      attrWidth: Number(photo.getAttribute("width")),
      attrHeight: Number(photo.getAttribute("height")) } : null,
    propertyTable: box(document.querySelector("table.table-item-property")),
  };
}

// Thumbnail cells whose top edges are within a few pixels of the first cell's.
function firstRowCount(thumbs) {
  if (thumbs.length === 0) {
    return 0;
  }
  return thumbs.filter((t) => Math.abs(t.top - thumbs[0].top) < 4).length;
}

function checkView(report, label, view, m, entry, width, designSheet) {
  const at = `${label}:`;
  report.check(view.problems.length === 0, `${at} problems in the page:\n    ${view.problems.join("\n    ")}`);
  report.check(view.foreign.length === 0, `${at} requests beyond the album: ${view.foreign.join(", ")}`);
  report.check(m.scrollWidth <= m.innerWidth,
    `${at} scrolls sideways: document ${m.scrollWidth} px wide in a ${m.innerWidth} px window`);
  report.check(!m.spill, `${at} ${m.spill && `${m.spill.tag}.${m.spill.cls}#${m.spill.id}`} ` +
    `sticks out of the screen by ${m.spill && m.spill.out.toFixed(1)} px`);
  for (const img of m.images) {
    if (img.shown) {
      report.check(img.complete && img.naturalWidth > 0, `${at} image not loaded: ${img.src}`);
    }
  }
  const design = m.sheets.find((href) => href.endsWith(`/css/${designSheet}`));
  report.check(design, `${at} the design sheet ${designSheet} is not linked`);
  if (design) {
    const text = fs.readFileSync(fileURLToPath(design), "utf8");
    const wanted = (text.match(/--page:\s*([^;]+);/) || [])[1];
    report.check(wanted && m.pageColour === wanted.trim(),
      `${at} the design sheet is not applied: --page is "${m.pageColour}", the sheet sets "${wanted}"`);
  }

  // The button images are drawn for high-density screens.
  for (const img of m.images) {
    if (/button-navi|navi-play|navi-pause/.test(img.cls) && img.shown && img.box.width > 0) {
      report.check(img.naturalWidth >= 2 * img.box.width,
        `${at} ${img.src} is ${img.naturalWidth} px for ${img.box.width} px on the screen`);
    }
  }

  if (entry.kind === "thumbnail") {
    report.check(m.thumbs.length === entry.thumbnails,
      `${at} ${m.thumbs.length} thumbnail cells, expected ${entry.thumbnails}`);
    const inRow = firstRowCount(m.thumbs);
    if (width >= 1280) {
      report.check(inRow === Math.min(entry.columns, entry.thumbnails),
        `${at} first row shows ${inRow} thumbnails, configured ${entry.columns}`);
    } else if (entry.thumbnails > inRow) {
      // On a phone the rows wrap: more rows than the table has, never wider than the screen.
      const rows = new Set(m.thumbs.map((t) => Math.round(t.top))).size;
      report.check(rows > Math.ceil(entry.thumbnails / entry.columns),
        `${at} thumbnail rows do not wrap: ${rows} rows of up to ${inRow}`);
    }
    for (const t of m.thumbs) {
      report.check(t.width >= 30, `${at} a thumbnail cell is squeezed to ${t.width} px`);
    }
  }

  if (entry.kind === "photo" || entry.kind === "slideshow") {
    report.check(m.photo !== null, `${at} no photo`);
    if (m.photo) {
      const b = m.photo.box;
      report.check(b.left >= -0.5 && b.right <= m.innerWidth + 0.5,
        `${at} the photo does not fit: ${JSON.stringify(b)}`);
      const ratio = m.photo.attrWidth / m.photo.attrHeight;
      report.check(Math.abs(b.width / b.height - ratio) < 0.02,
        `${at} the photo lost its proportions: ${b.width} x ${b.height} for ${ratio.toFixed(3)}`);
      if (width >= 1280) {
        report.check(Math.abs(b.width - m.photo.attrWidth) < 1,
          `${at} the photo is shown ${b.width} px wide instead of ${m.photo.attrWidth}`);
      }
    }
  }

  if (entry.kind === "photo" && entry.properties > 0) {
    report.check(m.keys.length === entry.properties,
      `${at} ${m.keys.length} property rows, expected ${entry.properties}`);
    for (const cell of [...m.keys, ...m.values]) {
      report.check(cell.fontSize >= 12, `${at} property text of ${cell.fontSize} px`);
      report.check(cell.box.width >= 48, `${at} a property cell is only ${cell.box.width} px wide`);
    }
    report.check(m.propertyTable && m.propertyTable.right <= m.innerWidth,
      `${at} the property table is wider than the screen`);
  }
}

async function runAlbum(context, report) {
  const designId = args.positional[0];
  const work = path.join(args.work, `design-${designId}`);
  fs.rmSync(work, { recursive: true, force: true });
  fs.mkdirSync(work, { recursive: true });
  execFileSync(args.tool, [work, designId], { stdio: ["ignore", "inherit", "inherit"] });
  const fixture = JSON.parse(fs.readFileSync(path.join(work, "fixture.json"), "utf8"));
  const shots = path.join(args.shots, fixture.design.replace(/\.css$/, ""));
  fs.mkdirSync(shots, { recursive: true });
  report.check(fixture.pages.length > 0, "the album tool listed no pages");
  for (const entry of fixture.pages) {
    for (const width of WIDTHS) {
      const label = `${fixture.design} ${entry.name} at ${width} px`;
      const view = await openPage(context, pathToFileURL(entry.path).href, width);
      try {
        const m = await view.page.evaluate(measure);
        checkView(report, label, view, m, entry, width, fixture.design);
        await view.page.screenshot({ path: path.join(shots, `${entry.name}-${width}.png`),
          fullPage: true });
      } finally {
        await view.page.close();
      }
    }
  }
}

// The preview page of the style design dialog with the sheet named in its query string.
async function previewStyle(context, query) {
  const index = path.join(args.styles, "design", "index.html");
  const view = await openPage(context, pathToFileURL(index).href + query, 1280);
  try {
    const m = await view.page.evaluate(measure);
    const style = await view.page.evaluate(() => {
      const pick = (selector, property) => {
        const element = document.querySelector(selector);
        return element ? getComputedStyle(element).getPropertyValue(property) : "";
      };
      return {
        href: document.getElementById("design").getAttribute("href"),
        page: pick("body", "background-color"),
        text: pick("body", "color"),
        bar: pick("header.header", "background-color"),
        heading: pick("h1.title", "font-family") + pick("h1.title", "letter-spacing"),
        current: pick("span.page_current", "background-color"),
        cell: pick("td.thumb-large", "padding-top") + pick("td.thumb-large", "box-shadow"),
      };
    });
    return { view, m, style };
  } finally {
    await view.page.close();
  }
}

async function runPreview(context, report) {
  const xml = fs.readFileSync(path.join(args.styles, "styles.xml"), "utf8");
  const designs = [...xml.matchAll(/<design\b[^>]*\bid="(\d+)"[^>]*\bstylesheet="([^"]+)"/g)]
    .map((match) => ({ id: Number(match[1]), sheet: match[2] }));
  report.check(designs.length >= 6, `styles.xml lists ${designs.length} designs, at least 6 wanted`);
  designs.forEach((d, i) => report.check(d.id === i, `design ${d.sheet} has id ${d.id}, position ${i}`));

  const first = designs[0].sheet;
  const seen = new Map();
  for (const d of designs) {
    const { view, m, style } = await previewStyle(context, `?${d.sheet}`);
    const label = `index.html?${d.sheet}`;
    report.check(style.href === `css/${d.sheet}`, `${label}: design link is ${style.href}`);
    report.check(view.problems.length === 0, `${label}: ${view.problems.join("; ")}`);
    report.check(view.foreign.length === 0, `${label}: outside requests ${view.foreign.join(", ")}`);
    report.check(m.scrollWidth <= m.innerWidth, `${label}: scrolls sideways`);
    for (const img of m.images) {
      report.check(img.complete && img.naturalWidth > 0, `${label}: image not loaded: ${img.src}`);
    }
    const key = JSON.stringify({ ...style, href: "" });
    report.check(!seen.has(key), `${label} looks the same as ${seen.get(key)}`);
    seen.set(key, d.sheet);
  }

  const standard = (await previewStyle(context, `?${first}`)).style;
  const dark = (await previewStyle(context, `?${designs[1].sheet}`)).style;
  report.check(standard.page !== dark.page,
    `${first} and ${designs[1].sheet} give the same page colour ${standard.page}`);

  // Missing, unsafe and unreadable names all leave the first design.
  const fallbacks = ["", "?", "?nosuch.css", "?../design/css/dark.css", "?css/dark.css",
    "?%2E%2E%2Fcss%2Fdark.css", "?%E0%A4%A", "?javascript:alert(1)", "?http://example.invalid/x.css",
    "?dark.js", "?.css", "?dark.css%00.js", "?C:\\styles\\dark.css"];
  for (const query of fallbacks) {
    const { view, style } = await previewStyle(context, query);
    const label = `index.html${query}`;
    report.check(style.page === standard.page && style.bar === standard.bar,
      `${label}: page colour ${style.page}, bar ${style.bar}; the first design gives ` +
      `${standard.page}, ${standard.bar}`);
    report.check(view.foreign.length === 0, `${label}: outside requests ${view.foreign.join(", ")}`);
    report.check(!view.problems.some((p) => p.startsWith("page error")),
      `${label}: ${view.problems.join("; ")}`);
  }
}

async function main() {
  const modes = { album: runAlbum, preview: runPreview };
  const run = modes[args.mode];
  if (!run) {
    console.error(`FAIL: unknown mode ${args.mode}; known: ${Object.keys(modes)}`);
    return 1;
  }
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), "pictavo-chromium-"));
  const context = await chromium.launchPersistentContext(profile, {
    executablePath: args.chromium,
    headless: true,
    viewport: { width: 1280, height: 900 },
    args: ["--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
      "--disable-background-networking", "--disable-component-update", "--disable-sync",
      "--hide-scrollbars"],
  });
  const report = new Report();
  try {
    await run(context, report);
  } catch (error) {
    report.failures.push(`${error.stack}`);
  } finally {
    await context.close();
    fs.rmSync(profile, { recursive: true, force: true });
  }
  const name = `${args.mode} ${args.positional.join(" ")}`.trim();
  if (report.failures.length > 0) {
    console.error(`FAIL: ${name}: ${report.failures.length} of ${report.checks} checks\n  ` +
      report.failures.join("\n  "));
    return 1;
  }
  console.log(`PASS: ${name}: ${report.checks} checks`);
  return 0;
}

process.exit(await main());
