/*
 * Slideshow of the album page. The program fills the bracketed values when it writes the
 * album; the page itself needs no library and no network.
 */
"use strict";

(function () {
  // Each value sits in an array, so a value the program leaves empty still gives valid script.
  const AUTOPLAY = [[AUTOPLAY]][0] === true;
  const REPEAT_PLAY = [[REPEATPLAY]][0] !== false;
  const REPEAT_MAX_VALUE = [[REPEATMAX]][0];
  const INTERVAL_VALUE = [[INTERVAL]][0];
  const PHOTO_DIR = [[PHOTODIR]][0] || "photos/";

  const NAMES = [
[NAME]
  ];
  const PHOTOS = [
[PHOTOSNAME]
  ];
  const NOTES = [
[NOTE]
  ];
  const DIMENSIONS = [
[DIMENSIONS]
  ];

  let SHOW_FILE_NAME = false;
  let SHOW_NOTE = false;
  [SHOWFILENAME]SHOW_FILE_NAME = true;
  [SHOWNOTE]SHOW_NOTE = true;

  // Passes of automatic play; -1 or anything not positive plays without a limit.
  const REPEAT_MAX = Number.isInteger(REPEAT_MAX_VALUE) ? REPEAT_MAX_VALUE : -1;
  // A nonsense duration must not turn the page into a busy loop.
  const INTERVAL = Number.isFinite(INTERVAL_VALUE) ? Math.max(100, INTERVAL_VALUE) : 3000;
  const SWIPE_DISTANCE = 40;

  const count = Math.min(PHOTOS.length, NAMES.length);

  let index = 0;
  let playing = false;
  let passes = 0;
  let timer = 0;
  let preloaded = null;

  function byIdOrClass(id, selector) {
    return document.getElementById(id) || document.querySelector(selector);
  }

  // The photo directory may hold characters that a URL needs escaped.
  function photoUrl(i) {
    const dir = PHOTO_DIR.split("/").map(encodeURIComponent).join("/");
    return dir + PHOTOS[i];
  }

  function photoSize(i) {
    const parts = String(DIMENSIONS[i] || "").split(",");
    const width = parseInt(parts[0], 10);
    const height = parseInt(parts[1], 10);
    return width > 0 && height > 0 ? { width: width, height: height } : null;
  }

  function preload(i) {
    if (count < 2) {
      return;
    }
    preloaded = new Image();
    preloaded.src = photoUrl(i);
  }

  function nextIndex(i) {
    return i + 1 < count ? i + 1 : REPEAT_PLAY ? 0 : i;
  }

  function show(i) {
    const photo = document.getElementById("photos-slideshow");
    if (!photo || count === 0) {
      return;
    }
    const moved = photo.dataset.index !== undefined && photo.dataset.index !== String(i);
    index = i;
    const size = photoSize(i);
    if (size) {
      photo.width = size.width;
      photo.height = size.height;
    }
    const url = photoUrl(i);
    if (photo.getAttribute("src") !== url) {
      // A density list written for the first photo would keep that photo on the screen.
      photo.removeAttribute("srcset");
      photo.src = url;
    }
    photo.alt = NAMES[i];
    photo.dataset.index = String(i);

    const name = byIdOrClass("file-name", "div.file-name");
    if (SHOW_FILE_NAME && name) {
      name.textContent = NAMES[i];
    }
    // Notes are written as entity-encoded text with <br> for an empty one.
    const note = byIdOrClass("slideshow-note", "tr.note .note");
    if (SHOW_NOTE && note) {
      note.innerHTML = NOTES[i] !== undefined ? NOTES[i] : "<br>";
    }
    const counter = document.getElementById("slideshow-counter");
    if (counter) {
      counter.textContent = (i + 1) + " / " + count;
    }
    // Screen readers hear the name of each new photo, not of the first one the page shows.
    const live = document.getElementById("slideshow-live");
    if (live && moved) {
      live.textContent = NAMES[i] + " (" + (i + 1) + " / " + count + ")";
    }
    if (nextIndex(i) !== i) {
      preload(nextIndex(i));
    }
  }

  function updateButtons() {
    const play = document.getElementById("navi-play");
    const pause = document.getElementById("navi-pause");
    // The button pressed by keyboard hides itself; the focus moves to the one that replaces it.
    const focused = document.activeElement;
    if (play) {
      play.style.display = playing ? "none" : "";
    }
    if (pause) {
      pause.style.display = playing ? "" : "none";
    }
    if (play && pause && (focused === play || focused === pause)) {
      (playing ? pause : play).focus();
    }
    const box = document.getElementById("slideshow-photos");
    if (box) {
      box.dataset.playing = playing ? "true" : "false";
    }
  }

  function stopTimer() {
    if (timer) {
      window.clearTimeout(timer);
      timer = 0;
    }
  }

  function startTimer() {
    stopTimer();
    if (playing) {
      timer = window.setTimeout(tick, INTERVAL);
    }
  }

  function pause() {
    playing = false;
    stopTimer();
    updateButtons();
  }

  function tick() {
    timer = 0;
    if (index + 1 < count) {
      show(index + 1);
      startTimer();
      return;
    }
    // On the last photo: one pass is over.
    passes += 1;
    const limitReached = REPEAT_MAX > 0 && passes >= REPEAT_MAX;
    if (!REPEAT_PLAY || limitReached || count < 2) {
      pause();
      return;
    }
    show(0);
    startTimer();
  }

  function play() {
    if (count === 0) {
      return;
    }
    // Playing again after the show has ended starts it over.
    const ended = index + 1 >= count && (!REPEAT_PLAY || (REPEAT_MAX > 0 && passes >= REPEAT_MAX));
    if (ended) {
      passes = 0;
      show(0);
    }
    playing = true;
    updateButtons();
    startTimer();
  }

  function togglePlay() {
    if (playing) {
      pause();
    } else {
      play();
    }
  }

  function goNext() {
    if (count === 0) {
      return;
    }
    const i = nextIndex(index);
    if (i !== index) {
      show(i);
    }
    startTimer();
  }

  function goPrevious() {
    if (count === 0) {
      return;
    }
    const i = index > 0 ? index - 1 : REPEAT_PLAY ? count - 1 : 0;
    if (i !== index) {
      show(i);
    }
    startTimer();
  }

  function goTo(i) {
    if (count === 0) {
      return;
    }
    if (i !== index) {
      show(i);
    }
    startTimer();
  }

  function onClick(id, handler) {
    const element = document.getElementById(id);
    if (!element) {
      return;
    }
    element.style.cursor = "pointer";
    element.addEventListener("click", function (event) {
      event.preventDefault();
      handler();
    });
  }

  function onKey(event) {
    if (event.altKey || event.ctrlKey || event.metaKey) {
      return;
    }
    const target = event.target;
    if (target && (target.isContentEditable || /^(INPUT|TEXTAREA|SELECT)$/.test(target.tagName))) {
      return;
    }
    const onButton = target && target.tagName === "BUTTON";
    if (event.key === "ArrowRight") {
      goNext();
    } else if (event.key === "ArrowLeft") {
      goPrevious();
    } else if (event.key === "Home") {
      goTo(0);
    } else if (event.key === "End") {
      goTo(count - 1);
    } else if ((event.key === " " || event.key === "Spacebar") && !onButton) {
      // On a focused button the space bar presses that button.
      togglePlay();
    } else {
      return;
    }
    event.preventDefault();
  }

  function watchSwipe(element) {
    let startX = 0;
    let startY = 0;
    let tracking = false;
    // Horizontal swipes belong to the show, not to the browser's page scroll or history.
    element.style.touchAction = "pan-y pinch-zoom";
    element.addEventListener("touchstart", function (event) {
      tracking = event.touches.length === 1;
      if (tracking) {
        startX = event.touches[0].clientX;
        startY = event.touches[0].clientY;
      }
    }, { passive: true });
    element.addEventListener("touchmove", function (event) {
      if (tracking && event.cancelable && event.touches.length === 1) {
        const dx = event.touches[0].clientX - startX;
        const dy = event.touches[0].clientY - startY;
        if (Math.abs(dx) > Math.abs(dy)) {
          event.preventDefault();
        }
      }
    }, { passive: false });
    element.addEventListener("touchend", function (event) {
      if (!tracking || event.changedTouches.length < 1) {
        return;
      }
      tracking = false;
      const dx = event.changedTouches[0].clientX - startX;
      const dy = event.changedTouches[0].clientY - startY;
      if (Math.abs(dx) < SWIPE_DISTANCE || Math.abs(dx) < Math.abs(dy)) {
        return;
      }
      if (dx < 0) {
        goNext();
      } else {
        goPrevious();
      }
    }, { passive: true });
  }

  // The page's controls are images; each becomes a real button that keeps the control's id
  // and class, named by the image's text, so that Tab reaches it and a screen reader names it.
  function makeButton(id) {
    const control = document.getElementById(id);
    if (!control || control.tagName === "BUTTON") {
      return;
    }
    const img = control.tagName === "IMG" ? control : control.querySelector("img");
    const button = document.createElement("button");
    button.type = "button";
    button.id = id;
    button.className = "slideshow-control " + control.className;
    button.setAttribute("aria-label", img ? img.alt || img.title : id);
    if (img) {
      button.title = img.title || img.alt;
    }
    control.removeAttribute("id");
    control.parentNode.replaceChild(button, control);
    if (control.tagName === "IMG") {
      button.appendChild(control);
    } else {
      while (control.firstChild) {
        button.appendChild(control.firstChild);
      }
    }
    if (img) {
      img.alt = "";
    }
  }

  // The stage: a box of one size for every photo, as large as the largest photo but never
  // taller than the screen leaves room for above the controls, so nothing moves between photos
  // and play and pause stay on the first screen.
  function buildStage() {
    const photo = document.getElementById("photos-slideshow");
    const box = document.getElementById("slideshow-photos");
    if (!photo || !box) {
      return;
    }
    const stage = document.createElement("div");
    stage.className = "slideshow-stage";
    photo.parentNode.insertBefore(stage, photo);
    stage.appendChild(photo);
    const buttons = document.getElementById("slideshow-button");
    if (buttons) {
      const counter = document.createElement("span");
      counter.id = "slideshow-counter";
      counter.className = "slideshow-counter";
      buttons.appendChild(counter);
    }
    const live = document.createElement("div");
    live.id = "slideshow-live";
    live.className = "slideshow-live";
    live.setAttribute("aria-live", "polite");
    live.setAttribute("aria-atomic", "true");
    box.appendChild(live);
    fitStage();
    window.addEventListener("resize", fitStage);
  }

  function fitStage() {
    const stage = document.querySelector(".slideshow-stage");
    const cell = document.getElementById("image-contents") || (stage && stage.parentNode);
    if (!stage || !cell) {
      return;
    }
    const sizes = [];
    for (let i = 0; i < count; ++i) {
      const size = photoSize(i);
      if (size) {
        sizes.push(size);
      }
    }
    if (sizes.length === 0) {
      return;
    }
    const widest = Math.max.apply(null, sizes.map(function (s) { return s.width; }));
    cell.style.setProperty("--stage-w", widest + "px");
    const width = stage.clientWidth;
    const tallest = Math.max.apply(null, sizes.map(function (s) {
      return s.width > width ? (s.height * width) / s.width : s.height;
    }));
    const row = stage.getBoundingClientRect();
    const below = Math.max(cell.getBoundingClientRect().bottom,
      (cell.parentNode || cell).getBoundingClientRect().bottom) - row.bottom;
    const room = window.innerHeight - (row.top + window.scrollY) - below - 12;
    // On a narrow screen a tall stage would leave landscape photos in a sea of space.
    const shape = width * 1.25;
    stage.style.height = Math.round(Math.max(160, Math.min(tallest, room, shape))) + "px";
  }

  function start() {
    ["navi-prev", "navi-next", "navi-play", "navi-pause"].forEach(makeButton);
    buildStage();
    onClick("navi-prev", goPrevious);
    onClick("navi-next", goNext);
    onClick("navi-play", play);
    onClick("navi-pause", pause);
    document.addEventListener("keydown", onKey);
    const box = document.getElementById("slideshow-photos");
    if (box) {
      watchSwipe(box);
    }
    if (count > 0) {
      show(0);
    }
    if (AUTOPLAY && count > 0) {
      play();
    } else {
      updateButtons();
    }
  }

  if (document.readyState === "loading") {
    document.addEventListener("DOMContentLoaded", start);
  } else {
    start();
  }
})();
