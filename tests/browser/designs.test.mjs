// Opens every page kind of albums generated with one design in headless Chromium, on a phone
// (390 x 844 at 3x) and a laptop (1366 x 768 at 1x and 2x), and checks what a visitor would
// notice: sideways scrolling, images that did not load, failed or outside requests, console
// errors, the grid, photo and property table layouts, photos centred in their cells, the
// contrast of every visible text and button glyph, the slideshow's controls and keys, the
// arrow keys of photo pages and the viewer of thumbnails linked straight to their photos. A
// screenshot of each view is kept in the shots folder.
//
//   node designs.test.mjs album <design id> --tool <album tool> --work <folder>
//        --shots <folder> --chromium <path> --packages <folder holding node_modules>
//   node designs.test.mjs preview --styles <styles folder> --chromium <path> --packages <...>
//
// Exit status 0 passes, 1 fails, 77 skips (no Chromium).

import { execFileSync } from "node:child_process";
import fs from "node:fs";
import path from "node:path";
import { fileURLToPath, pathToFileURL } from "node:url";

import { loadChromium, startWatchdog } from "./harness.mjs";

const TEST_TIMEOUT_MS = 280000;
// The laptop at 2x lays out as at 1x: it is opened for what the density changes (centring
// and button glyphs), on the photo pages and the slideshow only.
const VIEWS = [
  { name: "390", width: 390, height: 844, scale: 3, kinds: ["thumbnail", "photo", "slideshow"] },
  { name: "1366", width: 1366, height: 768, scale: 1, kinds: ["thumbnail", "photo", "slideshow"] },
  { name: "1366-2x", width: 1366, height: 768, scale: 2, kinds: ["photo", "slideshow"] },
];

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

async function openPage(context, url) {
  const page = await context.newPage();
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
    shown: img.getClientRects().length > 0,
    box: box(img),
    cls: img.className,
  }));
  // File pages cannot read the rules of their sheets; a sheet that failed to load shows as a
  // failed request, and the design's own variable shows that its sheet is applied.
  const sheets = [...document.styleSheets].map((sheet) => sheet.href || "");
  const pageColour = getComputedStyle(document.documentElement).getPropertyValue("--page").trim();
  // A design may let the thumbnail grid take its own number of columns.
  const freeGrid = getComputedStyle(document.documentElement).getPropertyValue("--thumb-columns")
    .trim() !== "";
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
    shown: td.closest("tr").getClientRects().length > 0,
  }));
  const values = [...document.querySelectorAll("td.value-property, td.value-name-property")]
    .map((td) => ({ box: box(td), fontSize: parseFloat(getComputedStyle(td).fontSize),
      shown: td.closest("tr").getClientRects().length > 0 }));
  const photo = document.querySelector("img.property, img.photos-slideshow");
  // Each shown note of the album style against its thumbnail's cell.
  const notes = [...document.querySelectorAll("td.note")]
    .filter((td) => td.getClientRects().length > 0 && getComputedStyle(td).visibility === "visible")
    .map((td) => ({ note: box(td), thumb: box(td.previousElementSibling),
      text: td.textContent.trim().slice(0, 20) }));
  return {
    notes,
    innerWidth,
    scrollWidth: document.documentElement.scrollWidth,
    images,
    sheets,
    pageColour,
    freeGrid,
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
    if (width >= 1280 && m.freeGrid) {
      report.check(inRow >= Math.min(3, entry.thumbnails),
        `${at} first row shows ${inRow} thumbnails, at least 3 wanted`);
    } else if (width >= 1280) {
      report.check(inRow === Math.min(entry.columns, entry.thumbnails),
        `${at} first row shows ${inRow} thumbnails, configured ${entry.columns}`);
    } else if (entry.thumbnails > inRow && !m.freeGrid) {
      // On a phone the rows wrap: more rows than the table has, never wider than the screen.
      const rows = new Set(m.thumbs.map((t) => Math.round(t.top))).size;
      report.check(rows > Math.ceil(entry.thumbnails / entry.columns),
        `${at} thumbnail rows do not wrap: ${rows} rows of up to ${inRow}`);
    }
    for (const t of m.thumbs) {
      report.check(t.width >= 30, `${at} a thumbnail cell is squeezed to ${t.width} px`);
    }
    // A note sits beside its thumbnail (same top) or right under it (same left).
    for (const n of m.notes) {
      const beside = Math.abs(n.note.top - n.thumb.top) < 1;
      const under = Math.abs(n.note.left - n.thumb.left) < 1 && n.note.top >= n.thumb.top;
      report.check(beside || under, `${at} the note "${n.text}" is not at its thumbnail: ` +
        `${JSON.stringify(n.note)} for ${JSON.stringify(n.thumb)}`);
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
      if (width >= 1280 && entry.kind === "photo") {
        report.check(Math.abs(b.width - m.photo.attrWidth) < 1,
          `${at} the photo is shown ${b.width} px wide instead of ${m.photo.attrWidth}`);
      }
      // The slideshow's stage may make a photo smaller to keep the controls on the screen.
      report.check(b.width <= m.photo.attrWidth + 1,
        `${at} the photo is enlarged to ${b.width} px from ${m.photo.attrWidth}`);
    }
  }

  if (entry.kind === "photo" && entry.properties > 0) {
    report.check(m.keys.length === entry.properties,
      `${at} ${m.keys.length} property rows, expected ${entry.properties}`);
    // A row whose value is empty (a photo without that EXIF value) takes no space.
    for (const cell of [...m.keys, ...m.values].filter((c) => c.shown)) {
      report.check(cell.fontSize >= 12, `${at} property text of ${cell.fontSize} px`);
      report.check(cell.box.width >= 48, `${at} a property cell is only ${cell.box.width} px wide`);
    }
    report.check(m.propertyTable && m.propertyTable.right <= m.innerWidth,
      `${at} the property table is wider than the screen`);
  }
}

// WCAG contrast of two colours given as [r, g, b] in 0..255.
function contrast(a, b) {
  const lum = (c) => {
    const [r, g, bl] = c.map((v) => {
      const s = v / 255;
      return s <= 0.03928 ? s / 12.92 : ((s + 0.055) / 1.055) ** 2.4;
    });
    return 0.2126 * r + 0.7152 * g + 0.0722 * bl;
  };
  const [hi, lo] = [lum(a), lum(b)].sort((x, y) => y - x);
  return (hi + 0.05) / (lo + 0.05);
}

// Every element with text of its own that is shown, with its text colour and the colour under
// it: the backgrounds of its ancestors composited, the opacities on the way multiplied in.
// selector limits the elements (a hovered link).
function measureTexts(selector) {
  const rgba = (text) => {
    const m = /rgba?\(([^)]+)\)/.exec(text);
    if (!m) {
      return [0, 0, 0, 0];
    }
    const p = m[1].split(/[\s,/]+/).filter(Boolean).map(Number);
    return [p[0], p[1], p[2], p.length > 3 ? p[3] : 1];
  };
  const over = (top, under) => top.slice(0, 3).map((v, i) => v * top[3] + under[i] * (1 - top[3]));
  const results = [];
  const elements = selector ? document.querySelectorAll(selector) : document.body.querySelectorAll("*");
  for (const element of elements) {
    const own = [...element.childNodes].some((n) => n.nodeType === 3 && n.textContent.trim());
    if (!own) {
      continue;
    }
    const style = getComputedStyle(element);
    const r = element.getBoundingClientRect();
    if (r.width < 2 || r.height < 2 || style.visibility !== "visible" || element.closest("[hidden]")) {
      continue;
    }
    const layers = [];
    let opacity = 1;
    for (let e = element; e; e = e.parentElement) {
      const s = getComputedStyle(e);
      opacity *= Number(s.opacity);
      const bg = rgba(s.backgroundColor);
      if (bg[3] > 0) {
        layers.push(bg);
        if (bg[3] >= 1) {
          break;
        }
      }
    }
    let under = [255, 255, 255];
    for (const layer of layers.reverse()) {
      under = over(layer, under);
    }
    const fg = rgba(style.color);
    fg[3] *= opacity;
    const size = parseFloat(style.fontSize);
    const large = size >= 24 || (size >= 18.66 && Number(style.fontWeight) >= 700);
    results.push({
      text: element.textContent.trim().slice(0, 30), cls: `${element.tagName}.${element.className}`,
      fg: over(fg, under), bg: under, large,
    });
  }
  return results;
}

function checkTexts(report, at, texts) {
  for (const t of texts) {
    const ratio = contrast(t.fg, t.bg);
    const wanted = t.large ? 3 : 4.5;
    report.check(ratio >= wanted, `${at} text "${t.text}" (${t.cls}) has contrast ` +
      `${ratio.toFixed(2)}:1, ${wanted}:1 wanted`);
  }
}

// The colours of a round button from its screenshot: the disc is the commonest colour inside
// the circle, the glyph the colour on it that stands out most (covering 1.5% of the circle).
async function buttonColours(page, selector) {
  const element = page.locator(selector).first();
  const png = await element.screenshot();
  return page.evaluate(async (data) => {
    const img = new Image();
    img.src = `data:image/png;base64,${data}`;
    await img.decode();
    const canvas = document.createElement("canvas");
    canvas.width = img.naturalWidth;
    canvas.height = img.naturalHeight;
    const ctx = canvas.getContext("2d");
    ctx.drawImage(img, 0, 0);
    const { data: px, width, height } = ctx.getImageData(0, 0, canvas.width, canvas.height);
    const counts = new Map();
    let inside = 0;
    const radius = Math.min(width, height) / 2;
    const edge = [];
    for (let y = 0; y < height; ++y) {
      for (let x = 0; x < width; ++x) {
        const d = Math.hypot(x + 0.5 - width / 2, y + 0.5 - height / 2);
        const i = (y * width + x) * 4;
        const key = `${px[i]},${px[i + 1]},${px[i + 2]}`;
        if (d > radius * 1.05 && (x === 0 || y === 0)) {
          edge.push(key);
        }
        if (d > radius * 0.8) {
          continue;
        }
        ++inside;
        counts.set(key, (counts.get(key) || 0) + 1);
      }
    }
    const sorted = [...counts.entries()].sort((a, b) => b[1] - a[1]);
    const colours = sorted.filter(([, n]) => n >= inside * 0.015).map(([k]) => k.split(",").map(Number));
    return { disc: colours[0], others: colours.slice(1), page: (edge[0] || "").split(",").map(Number) };
  }, png.toString("base64"));
}

async function checkGlyphs(report, at, page) {
  const buttons = await page.evaluate(() => [...document.querySelectorAll(
    "img.button-navi, img.navi-play, img.navi-pause")]
    .map((img, i) => {
      img.dataset.probe = String(i);
      const r = img.getBoundingClientRect();
      return { probe: i, shown: r.width > 0 && getComputedStyle(img).visibility === "visible",
        disabled: img.classList.contains("disabled"), src: img.getAttribute("src") };
    }));
  const glyph = (c) => Math.max(0, ...c.others.map((o) => contrast(o, c.disc)));
  const chroma = (c) => Math.max(...c) - Math.min(...c);
  let enabled = null;
  // Enabled buttons first: a disabled one is compared with them.
  const shown = buttons.filter((x) => x.shown).sort((x, y) => x.disabled - y.disabled);
  for (const b of shown) {
    const c = await buttonColours(page, `[data-probe="${b.probe}"]`);
    if (!b.disabled) {
      report.check(glyph(c) >= 3, `${at} the glyph of ${b.src} has contrast ` +
        `${glyph(c).toFixed(2)}:1 against its disc, 3:1 wanted`);
      enabled = enabled || c;
    } else if (enabled) {
      // A disabled button stands out less than an enabled one, by its disc and its glyph.
      // A disabled button is grey and stands out less than an enabled one.
      report.check(chroma(c.disc) <= 24 && contrast(c.disc, c.page) < contrast(enabled.disc, enabled.page) &&
        glyph(c) < glyph(enabled), `${at} the disabled ${b.src} does not look disabled: disc ` +
        `${c.disc} on ${c.page}, glyph ${glyph(c).toFixed(2)}:1; enabled ${enabled.disc}, ` +
        `${glyph(enabled).toFixed(2)}:1`);
    }
  }
}

// The photo's centre against its cell's (the slideshow's stage): within 2 px both ways.
async function checkCentred(report, at, page) {
  const m = await page.evaluate(() => {
    const photo = document.querySelector("img.property, img.photos-slideshow");
    const cell = photo && (photo.closest(".slideshow-stage") || photo.closest("td.image-contents"));
    if (!photo || !cell) {
      return null;
    }
    const p = photo.getBoundingClientRect();
    const c = cell.getBoundingClientRect();
    return { dx: p.left + p.width / 2 - (c.left + c.width / 2),
      dy: p.top + p.height / 2 - (c.top + c.height / 2), photo: photo.getAttribute("alt") };
  });
  report.check(m, `${at} no photo in a cell`);
  if (m) {
    report.check(Math.abs(m.dx) <= 2 && Math.abs(m.dy) <= 2,
      `${at} ${m.photo} is off its cell's centre by ${m.dx.toFixed(1)}, ${m.dy.toFixed(1)} px`);
  }
}

function slideshowState() {
  const box = (id) => {
    const e = document.getElementById(id);
    if (!e || getComputedStyle(e).display === "none") {
      return null;
    }
    const r = e.getBoundingClientRect();
    return { left: r.left, top: r.top, right: r.right, bottom: r.bottom };
  };
  const counter = document.querySelector(".slideshow-counter");
  const live = document.querySelector("[aria-live]");
  const photo = document.getElementById("photos-slideshow");
  return {
    prev: box("navi-prev"), next: box("navi-next"), play: box("navi-play") || box("navi-pause"),
    counter: counter ? counter.textContent.trim() : null,
    counterBox: counter ? box(counter.id) || (() => {
      const r = counter.getBoundingClientRect();
      return { left: r.left, top: r.top, right: r.right, bottom: r.bottom };
    })() : null,
    live: live ? live.textContent : null, name: photo.alt, loaded: photo.complete,
    innerWidth, innerHeight,
  };
}

// The controls stay where they are for a landscape, a panorama, a portrait and a tiny photo,
// inside the first screen; Tab reaches each of them; the keys and the counter work.
async function checkSlideshow(report, at, page, count, withTab) {
  const read = async () => {
    await page.waitForFunction(() => document.getElementById("photos-slideshow").complete);
    return page.evaluate(slideshowState);
  };
  const first = await read();
  report.check(first.counter === `1 / ${count}`, `${at} counter shows "${first.counter}"`);
  for (const key of ["prev", "next", "play", "counterBox"]) {
    const b = first[key];
    report.check(b && b.left >= 0 && b.top >= 0 && b.right <= first.innerWidth &&
      b.bottom <= first.innerHeight, `${at} ${key} is outside the first screen: ${JSON.stringify(b)}`);
  }
  const steps = [["ArrowRight", 3], ["ArrowRight", 2], ["End", 1]];
  for (const [key, times] of steps) {
    for (let i = 0; i < times; ++i) {
      await page.keyboard.press(key);
    }
    const now = await read();
    for (const control of ["prev", "next", "play", "counterBox"]) {
      const a = first[control];
      const b = now[control];
      report.check(a && b && ["left", "top", "right", "bottom"].every((k) => Math.abs(a[k] - b[k]) < 0.5),
        `${at} ${control} moved for ${now.name}: ${JSON.stringify(a)} -> ${JSON.stringify(b)}`);
    }
    report.check(now.live && now.live.includes(now.name),
      `${at} the live region says "${now.live}" for ${now.name}`);
  }
  const last = await read();
  report.check(last.counter === `${count} / ${count}`, `${at} End shows "${last.counter}"`);
  await page.keyboard.press("Home");
  report.check((await read()).counter === `1 / ${count}`, `${at} Home does not go to the first photo`);

  if (!withTab) {
    return;
  }
  // Tab from the top of the page reaches every control, each a button with a name.
  await page.evaluate(() => document.activeElement && document.activeElement.blur());
  const reached = new Map();
  for (let i = 0; i < 20 && reached.size < 3; ++i) {
    await page.keyboard.press("Tab");
    const f = await page.evaluate(() => {
      const e = document.activeElement;
      const img = e && e.querySelector("img");
      return e ? { id: e.id, tag: e.tagName,
        name: e.getAttribute("aria-label") || e.textContent.trim() || (img && img.alt) || "" } : null;
    });
    if (f && ["navi-prev", "navi-next", "navi-play"].includes(f.id)) {
      reached.set(f.id, f);
    }
  }
  for (const id of ["navi-prev", "navi-next", "navi-play"]) {
    const f = reached.get(id);
    report.check(f && f.tag === "BUTTON" && f.name, `${at} Tab does not reach a named button #${id}`);
  }
}

// Left and right go to the previous and next photo page.
async function checkPhotoKeys(report, at, page) {
  const here = page.url();
  const target = async (selector) => page.evaluate((s) => {
    const a = document.querySelector(s);
    return a ? a.href : null;
  }, selector);
  for (const [key, selector] of [["ArrowRight", "a.navi-next"], ["ArrowLeft", "a.navi-prev"]]) {
    const href = await target(selector);
    if (!href) {
      continue;
    }
    await page.keyboard.press(key);
    await page.waitForURL(href, { timeout: 5000 }).catch(() => {});
    report.check(page.url() === href, `${at} ${key} leads to ${page.url()}, not ${href}`);
    await page.goto(here, { waitUntil: "load" });
  }
}

// A thumbnail linked to its photo opens the viewer: the photo fitted to the window, the
// counter, the keys, a swipe on touch screens, and Escape closes it again.
async function checkViewer(report, at, page, count, touch) {
  const here = page.url();
  const state = () => page.evaluate(() => {
    const viewer = document.querySelector(".viewer");
    if (!viewer || viewer.hidden || getComputedStyle(viewer).display === "none") {
      return { open: false };
    }
    const img = viewer.querySelector("img");
    const r = img.getBoundingClientRect();
    return { open: true, counter: viewer.querySelector(".viewer-counter").textContent.trim(),
      alt: img.alt, loaded: img.complete && img.naturalWidth > 0,
      fits: r.left >= 0 && r.top >= 0 && r.right <= innerWidth + 0.5 && r.bottom <= innerHeight + 0.5,
      focusInside: viewer.contains(document.activeElement) };
  });
  await page.locator("a.thumb").nth(1).click();
  await page.waitForFunction(() => {
    const img = document.querySelector(".viewer img");
    return img && img.complete;
  }, null, { timeout: 5000 }).catch(() => {});
  let s = await state();
  report.check(s.open && s.loaded && s.fits && s.focusInside && s.counter === `2 / ${count}`,
    `${at} the viewer did not open on the second photo, fitted: ${JSON.stringify(s)}`);
  if (!s.open) {
    return;
  }
  checkTexts(report, `${at} (viewer)`, await page.evaluate(measureTexts,
    ".viewer-name, .viewer-counter, .viewer-glyph"));
  await page.keyboard.press("ArrowRight");
  s = await state();
  report.check(s.counter === `3 / ${count}`, `${at} right arrow in the viewer: ${s.counter}`);
  await page.keyboard.press("ArrowLeft");
  await page.keyboard.press("ArrowLeft");
  await page.keyboard.press("ArrowLeft");
  s = await state();
  report.check(s.counter === `${count} / ${count}`, `${at} left arrow past the first: ${s.counter}`);
  if (touch) {
    const session = await page.context().newCDPSession(page);
    const y = (await page.evaluate(() => innerHeight)) / 2;
    for (const [type, x] of [["touchStart", 300], ["touchMove", 80], ["touchEnd", 80]]) {
      await session.send("Input.dispatchTouchEvent",
        { type, touchPoints: type === "touchEnd" ? [] : [{ x, y }] });
    }
    await session.detach();
    s = await state();
    report.check(s.counter === `1 / ${count}`, `${at} a swipe to the left: ${s.counter}`);
  }
  await page.keyboard.press("Escape");
  s = await state();
  report.check(!s.open && page.url() === here, `${at} Escape did not close the viewer`);
}

// Words of latin letters in the names under large thumbnails, camera names among them, that
// are split over two lines (words of more than 24 letters are left out: nothing makes room for
// them, and the names of smaller thumbnails are cut short).
function brokenWords() {
  const broken = [];
  for (const info of document.querySelectorAll("td.thumb-large .thumb-info")) {
    for (const node of info.childNodes) {
      if (node.nodeType !== 3) {
        continue;
      }
      const re = /[\x21-\x7e]+/g;
      for (let m = re.exec(node.textContent); m; m = re.exec(node.textContent)) {
        const range = document.createRange();
        range.setStart(node, m.index);
        range.setEnd(node, m.index + m[0].length);
        const lines = new Set([...range.getClientRects()].map((r) => Math.round(r.top)));
        if (lines.size > 1 && m[0].length <= 24) {
          broken.push(m[0]);
        }
      }
    }
  }
  return broken;
}

// Thumbnail cells wholly inside the first screen.
function firstScreenThumbnails() {
  return [...document.querySelectorAll("td[class*='thumb-']")].filter((td) => {
    const r = td.getBoundingClientRect();
    return r.width > 0 && r.bottom <= innerHeight;
  }).length;
}

// The compact design shows more thumbnails on the first screen than the standard design
// (the first of styles.xml) on the same page.
async function checkDenser(report, at, context, url, count) {
  const xml = fs.readFileSync(path.join(args.styles, "styles.xml"), "utf8");
  const standard = /stylesheet="([^"]+)"/.exec(xml)[1];
  const page = await context.newPage();
  try {
    await page.route(/\/css\/compact\.css$/, (route) => route.fulfill({ contentType: "text/css",
      body: fs.readFileSync(path.join(args.styles, "design", "css", standard), "utf8") }));
    await page.goto(url, { waitUntil: "load" });
    const plain = await page.evaluate(firstScreenThumbnails);
    report.check(count > plain, `${at} shows ${count} thumbnails on the first screen, ` +
      `${standard} ${plain}`);
  } finally {
    await page.close();
  }
}

// The grid stays readable from a small phone to a wide screen: nothing sticks out, no cell is
// squeezed, and from a tablet up no name is split inside a word.
async function checkWidths(report, browser, fixture) {
  const context = await browser.newContext({ viewport: { width: 320, height: 800 } });
  try {
    for (const entry of fixture.pages.filter((e) => e.kind === "thumbnail")) {
      for (const width of [320, 800, 2560]) {
        const at = `${fixture.design} ${entry.name} at ${width} px:`;
        const view = await openPage(context, pathToFileURL(entry.path).href);
        try {
          await view.page.setViewportSize({ width, height: 800 });
          const m = await view.page.evaluate(measure);
          report.check(m.scrollWidth <= m.innerWidth && !m.spill, `${at} wider than the screen`);
          for (const t of m.thumbs) {
            report.check(t.width >= 30, `${at} a thumbnail cell is squeezed to ${t.width} px`);
          }
          if (width >= 800) {
            const broken = await view.page.evaluate(brokenWords);
            report.check(broken.length === 0, `${at} names split inside a word: ${broken.join(", ")}`);
          }
        } finally {
          await view.page.close();
        }
      }
    }
  } finally {
    await context.close();
  }
}

async function runAlbum(browser, report) {
  const designId = args.positional[0];
  const work = path.join(args.work, `design-${designId}`);
  fs.rmSync(work, { recursive: true, force: true });
  fs.mkdirSync(work, { recursive: true });
  execFileSync(args.tool, [work, designId], { stdio: ["ignore", "inherit", "inherit"] });
  const fixture = JSON.parse(fs.readFileSync(path.join(work, "fixture.json"), "utf8"));
  const shots = path.join(args.shots, fixture.design.replace(/\.css$/, ""));
  fs.rmSync(shots, { recursive: true, force: true });
  fs.mkdirSync(shots, { recursive: true });
  report.check(fixture.pages.length > 0, "the album tool listed no pages");
  const photoCount = Math.max(...fixture.pages.map((p) => p.thumbnails));
  await checkWidths(report, browser, fixture);
  for (const v of VIEWS) {
    const phone = v.width < 640;
    const context = await browser.newContext({ viewport: { width: v.width, height: v.height },
      deviceScaleFactor: v.scale, hasTouch: phone, isMobile: phone });
    try {
      for (const entry of fixture.pages.filter((e) => v.kinds.includes(e.kind))) {
        const label = `${fixture.design} ${entry.name} at ${v.name}`;
        const view = await openPage(context, pathToFileURL(entry.path).href);
        try {
          const m = await view.page.evaluate(measure);
          checkView(report, label, view, m, entry, v.width, fixture.design);
          await view.page.screenshot({ path: path.join(shots, `${entry.name}-${v.name}.png`),
            fullPage: v.scale === 1 || phone, scale: "css" });
          checkTexts(report, label, await view.page.evaluate(measureTexts, null));
          if (v.scale > 1) {
            await checkGlyphs(report, label, view.page);
          }
          const offered = await checkDensity(report, label, view.page, v.scale);
          if (entry.name === "photo-first" || entry.name === "thumbnail-page1") {
            report.check(offered > 0, `${label} offers no 2x copy of a large photo`);
          }
          if (entry.kind !== "thumbnail") {
            await checkCentred(report, label, view.page);
          }
          if (entry.kind === "slideshow") {
            await checkSlideshow(report, label, view.page, photoCount, v.scale < 2);
          }
          if (entry.name === "photo-long-name" && v.scale === 1) {
            await checkPhotoKeys(report, label, view.page);
          }
          if (entry.name === "small-page1" && v.scale !== 2) {
            await checkViewer(report, label, view.page, photoCount, phone);
          }
          if (entry.name === "thumbnail-page1" && fixture.design === "compact.css") {
            await checkDenser(report, label, context, pathToFileURL(entry.path).href,
              await view.page.evaluate(firstScreenThumbnails));
          }
          if (entry.name === "thumbnail-page1" && !phone) {
            // Hovered links keep their contrast.
            await view.page.hover("a.page-link");
            checkTexts(report, `${label} (hovered link)`,
              await view.page.evaluate(measureTexts, "a.page-link:hover"));
          }
        } finally {
          await view.page.close();
        }
      }
    } finally {
      await context.close();
    }
  }
}

// An image with a 2x copy (srcset) shows that copy on a high-density screen and the 1x file
// on a standard one, once it has loaded.
async function checkDensity(report, at, page, scale) {
  const images = await page.evaluate(async () => {
    const offered = [...document.querySelectorAll("img[srcset]")];
    await Promise.all(offered.map((img) => img.decode().catch(() => {})));
    return offered.map((img) => ({ src: img.currentSrc, alt: img.alt }));
  });
  for (const image of images) {
    const twice = /\/2x\/[^/]*$/.test(image.src);
    report.check(twice === scale > 1,
      `${at} "${image.alt}" shows ${image.src} at ${scale}x`);
  }
  return images.length;
}

// The preview page of the style design dialog with the sheet named in its query string.
async function previewStyle(context, query, report) {
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
    if (report) {
      // The sample shows what the pages show: its photo centred, its texts readable.
      await checkCentred(report, `preview ${query}:`, view.page);
      checkTexts(report, `preview ${query}:`, await view.page.evaluate(measureTexts, null));
    }
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
    const { view, m, style } = await previewStyle(context, `?${d.sheet}`, report);
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
  const browser = await chromium.launch({
    executablePath: args.chromium,
    headless: true,
    args: ["--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
      "--disable-background-networking", "--disable-component-update", "--disable-sync",
      "--hide-scrollbars"],
  });
  const report = new Report();
  try {
    if (args.mode === "album") {
      await run(browser, report);
    } else {
      const context = await browser.newContext({ viewport: { width: 1280, height: 900 } });
      await run(context, report);
    }
  } catch (error) {
    report.failures.push(`${error.stack}`);
  } finally {
    await browser.close();
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
