/*
 * Keyboard and viewer for the thumbnail and photo pages. The pages work without it: every
 * link stays a plain link.
 *  - Photo pages: the left and right arrow keys follow the previous and next buttons.
 *  - Thumbnails linked straight to their photos open in a viewer over the page: the photo
 *    fitted to the window, previous and next, arrow keys, Home and End, swipes, a counter,
 *    and Escape, the close button or a click beside the photo to close it.
 */
"use strict";

(function () {
  const SWIPE_DISTANCE = 40;
  const TEXT = { prev: "前へ", next: "次へ", close: "閉じる" };

  function ignored(event) {
    if (event.defaultPrevented || event.altKey || event.ctrlKey || event.metaKey || event.shiftKey) {
      return true;
    }
    const target = event.target;
    return !!target && (target.isContentEditable ||
      /^(INPUT|TEXTAREA|SELECT)$/.test(target.tagName));
  }

  // Photo pages: the arrow keys do what the previous and next buttons do.
  function watchPhotoKeys() {
    const prev = document.querySelector("a.navi-prev");
    const next = document.querySelector("a.navi-next");
    if (!prev && !next) {
      return;
    }
    document.addEventListener("keydown", function (event) {
      if (ignored(event)) {
        return;
      }
      const link = event.key === "ArrowLeft" ? prev : event.key === "ArrowRight" ? next : null;
      if (link && link.href) {
        event.preventDefault();
        window.location.href = link.href;
      }
    });
  }

  function element(tag, className, text) {
    const e = document.createElement(tag);
    e.className = className;
    if (text) {
      e.textContent = text;
    }
    return e;
  }

  function button(className, label, glyph) {
    const b = element("button", "viewer-button " + className);
    b.type = "button";
    b.setAttribute("aria-label", label);
    b.title = label;
    const g = element("span", "viewer-glyph", glyph);
    g.setAttribute("aria-hidden", "true");
    b.appendChild(g);
    return b;
  }

  // Thumbnails whose links lead to the photo file itself.
  function watchThumbnails() {
    const links = Array.prototype.filter.call(document.querySelectorAll("a.thumb[href]"),
      function (a) {
        return !/\.html?$/i.test(a.pathname) && a.getAttribute("href") !== "";
      });
    if (links.length === 0) {
      return;
    }
    const photos = links.map(function (a) {
      const img = a.querySelector("img");
      return { href: a.href, name: img ? img.alt : "", link: a };
    });

    const viewer = element("div", "viewer");
    viewer.hidden = true;
    viewer.setAttribute("role", "dialog");
    viewer.setAttribute("aria-modal", "true");
    const figure = element("div", "viewer-stage");
    const photo = element("img", "viewer-photo");
    photo.decoding = "async";
    figure.appendChild(photo);
    const prev = button("viewer-prev", TEXT.prev, "\u2039");
    const next = button("viewer-next", TEXT.next, "\u203a");
    const close = button("viewer-close", TEXT.close, "\u00d7");
    const bar = element("div", "viewer-bar");
    const name = element("div", "viewer-name");
    const counter = element("div", "viewer-counter");
    counter.setAttribute("aria-live", "polite");
    bar.appendChild(name);
    bar.appendChild(counter);
    viewer.appendChild(figure);
    viewer.appendChild(prev);
    viewer.appendChild(next);
    viewer.appendChild(close);
    viewer.appendChild(bar);
    document.body.appendChild(viewer);

    let index = -1;
    let opener = null;
    let overflow = "";

    function show(i) {
      index = (i + photos.length) % photos.length;
      const p = photos[index];
      photo.src = p.href;
      photo.alt = p.name;
      name.textContent = p.name;
      counter.textContent = (index + 1) + " / " + photos.length;
      viewer.setAttribute("aria-label", p.name);
      // The neighbours load while this photo is looked at.
      [index + 1, index - 1].forEach(function (n) {
        const neighbour = photos[(n + photos.length) % photos.length];
        if (neighbour !== p) {
          new Image().src = neighbour.href;
        }
      });
    }

    function open(i, link) {
      opener = link;
      overflow = document.body.style.overflow;
      document.body.style.overflow = "hidden";
      viewer.hidden = false;
      show(i);
      close.focus();
    }

    function shut() {
      if (viewer.hidden) {
        return;
      }
      viewer.hidden = true;
      photo.removeAttribute("src");
      document.body.style.overflow = overflow;
      if (opener) {
        opener.focus();
      }
    }

    links.forEach(function (a, i) {
      a.addEventListener("click", function (event) {
        if (event.button !== 0 || event.altKey || event.ctrlKey || event.metaKey || event.shiftKey) {
          return;
        }
        event.preventDefault();
        open(i, a);
      });
    });
    prev.addEventListener("click", function () { show(index - 1); });
    next.addEventListener("click", function () { show(index + 1); });
    close.addEventListener("click", shut);
    // A click beside the photo closes the viewer.
    viewer.addEventListener("click", function (event) {
      if (event.target === viewer || event.target === figure) {
        shut();
      }
    });

    document.addEventListener("keydown", function (event) {
      if (viewer.hidden || event.altKey || event.ctrlKey || event.metaKey) {
        return;
      }
      const keys = {
        ArrowLeft: function () { show(index - 1); },
        ArrowRight: function () { show(index + 1); },
        Home: function () { show(0); },
        End: function () { show(photos.length - 1); },
        Escape: shut,
      };
      if (keys[event.key]) {
        event.preventDefault();
        keys[event.key]();
      } else if (event.key === "Tab") {
        // The focus stays among the viewer's buttons while it is open.
        const order = [close, prev, next];
        const at = order.indexOf(document.activeElement);
        event.preventDefault();
        order[(at + (event.shiftKey ? order.length - 1 : 1)) % order.length].focus();
      }
    });

    let startX = 0;
    let startY = 0;
    let tracking = false;
    viewer.addEventListener("touchstart", function (event) {
      tracking = event.touches.length === 1;
      if (tracking) {
        startX = event.touches[0].clientX;
        startY = event.touches[0].clientY;
      }
    }, { passive: true });
    viewer.addEventListener("touchend", function (event) {
      if (!tracking || event.changedTouches.length < 1) {
        return;
      }
      tracking = false;
      const dx = event.changedTouches[0].clientX - startX;
      const dy = event.changedTouches[0].clientY - startY;
      if (Math.abs(dx) >= SWIPE_DISTANCE && Math.abs(dx) > Math.abs(dy)) {
        show(dx < 0 ? index + 1 : index - 1);
      }
    }, { passive: true });
  }

  function start() {
    watchPhotoKeys();
    watchThumbnails();
  }

  if (document.readyState === "loading") {
    document.addEventListener("DOMContentLoaded", start);
  } else {
    start();
  }
})();
