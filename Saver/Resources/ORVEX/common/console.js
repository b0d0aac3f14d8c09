/* Helpers shared by the console scenes: seeded randomness, one step clock for the whole page,
   canvases that follow the window, and small text helpers that touch the DOM only on change. */
(function () {
  'use strict';

  // One clock for the page: every change of a step lands in the same frame, and there are
  // no frames in between. Scenes ask for multiples of it. The page wakes only on ticks where
  // some job is due, so that an idle processor is not woken ten times a second for nothing.
  const TICK_MS = 100;
  const jobs = [];
  let tick = 0;
  let timer = 0;
  let origin = 0;

  function every(ticks, fn) {
    jobs.push({ ticks: Math.max(1, ticks | 0), fn: fn });
    if (!origin) origin = performance.now();
    schedule();
  }

  function nextDue() {
    let due = Infinity;
    for (const job of jobs) due = Math.min(due, (Math.floor(tick / job.ticks) + 1) * job.ticks);
    return due;
  }

  function schedule() {
    clearTimeout(timer);
    const due = nextDue();
    timer = setTimeout(function () { step(due); }, Math.max(0, origin + due * TICK_MS - performance.now()));
  }

  function step(due) {
    // A page held back for long (a suspended process) picks up from now instead of replaying
    // every step it missed in a burst.
    const late = performance.now() - (origin + due * TICK_MS);
    if (late > TICK_MS) origin += late;
    tick = due;
    for (const job of jobs) {
      if (tick % job.ticks === 0) {
        job.fn(tick);
      }
    }
    schedule();
  }

  // Small, fast, seeded generator: a scene opens the same way every time, then wanders.
  function random(seed) {
    let s = seed >>> 0;
    const next = function () {
      s = (s + 0x6d2b79f5) >>> 0;
      let t = s;
      t = Math.imul(t ^ (t >>> 15), t | 1);
      t ^= t + Math.imul(t ^ (t >>> 7), t | 61);
      return ((t ^ (t >>> 14)) >>> 0) / 4294967296;
    };
    return {
      next: next,
      range: function (lo, hi) { return lo + (hi - lo) * next(); },
      int: function (lo, hi) { return lo + Math.floor((hi - lo + 1) * next()); },
      pick: function (list) { return list[Math.floor(next() * list.length)]; },
      chance: function (p) { return next() < p; },
      // A bounded random walk, for readouts that drift rather than jump.
      walk: function (value, lo, hi, stepSize) {
        const v = value + (next() * 2 - 1) * stepSize;
        return v < lo ? lo + (lo - v) : v > hi ? hi - (v - hi) : v;
      }
    };
  }

  function set(el, text) {
    if (el.__text !== text) {
      el.__text = text;
      el.textContent = text;
    }
  }

  function toggle(el, cls, on) {
    const key = '__' + cls;
    if (el[key] !== on) {
      el[key] = on;
      el.classList.toggle(cls, on);
    }
  }

  function style(el, prop, value) {
    const key = '__s_' + prop;
    if (el[key] !== value) {
      el[key] = value;
      el.style.setProperty(prop, value);
    }
  }

  function fixed(value, digits, width) {
    const text = Number(value).toFixed(digits);
    return width ? text.padStart(width, '\u2007') : text;
  }

  function pad(value, width) {
    return String(value).padStart(width, '0');
  }

  function make(parent, tag, cls, text) {
    const el = document.createElement(tag);
    if (cls) el.className = cls;
    if (text !== undefined) el.textContent = text;
    parent.appendChild(el);
    return el;
  }

  // A canvas whose bitmap follows its box; draw(ctx, w, h) repaints everything after a resize.
  // The first draw waits for the calling script to finish, so it may use what that script sets up.
  // The bitmap stays in main memory (willReadFrequently): a scene changes a canvas a few times a
  // second, and a GPU-backed canvas costs a whole texture pass for each change, which without a
  // GPU (software rendering) is the largest cost of the page.
  function canvas(el, draw) {
    const state = { el: el, ctx: el.getContext('2d', { willReadFrequently: true }), w: 0, h: 0, scale: 1 };
    function fit() {
      const scale = Math.min(window.devicePixelRatio || 1, 2);
      const w = Math.max(1, Math.round(el.clientWidth * scale));
      const h = Math.max(1, Math.round(el.clientHeight * scale));
      if (w === state.w && h === state.h) return;
      el.width = w;
      el.height = h;
      state.w = w;
      state.h = h;
      state.scale = scale;
      if (draw) draw(state.ctx, w, h);
    }
    state.fit = fit;
    window.addEventListener('resize', fit);
    queueMicrotask(fit);
    return state;
  }

  // A fixed number of lines that scroll up by one on each push.
  function log(el, lines) {
    const rows = [];
    for (let i = 0; i < lines; i++) rows.push(make(el, 'div', 'line', '\u00a0'));
    let texts = rows.map(function () { return '\u00a0'; });
    return function push(text, cls) {
      texts = texts.slice(1).concat([{ text: text, cls: cls || '' }]);
      for (let i = 0; i < rows.length; i++) {
        const item = texts[i];
        set(rows[i], typeof item === 'string' ? item : item.text);
        rows[i].className = 'line ' + (typeof item === 'string' ? '' : item.cls);
      }
    };
  }

  // Fictional ship time: a cycle count and a four-digit fraction, ticking with the real clock.
  function shipTime(base) {
    const now = Date.now() / 1000;
    const cycles = Math.floor(now / 86400) % 1000;
    const fraction = Math.floor((now % 86400) / 8.64);
    return (base || 'C') + pad(cycles, 3) + '.' + pad(fraction, 4);
  }

  window.Console = {
    TICK_MS: TICK_MS,
    every: every,
    random: random,
    set: set,
    toggle: toggle,
    style: style,
    fixed: fixed,
    pad: pad,
    make: make,
    canvas: canvas,
    log: log,
    shipTime: shipTime,
    $: function (sel, root) { return (root || document).querySelector(sel); },
    $$: function (sel, root) { return Array.prototype.slice.call((root || document).querySelectorAll(sel)); }
  };
})();
