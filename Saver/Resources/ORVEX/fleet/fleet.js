/* Fleet plot: the task group keeps formation around its flagship while the whole group drifts
   across the grid; the vessel list comes from vessels.json beside this page. */
(function () {
  'use strict';
  const C = window.Console;
  const rnd = C.random(6213);
  let fleet = [];
  let heading = -0.6;
  const plot = C.canvas(C.$('#plot'), draw);

  function draw() {
    const ctx = plot.ctx, w = plot.w, h = plot.h, s = Math.min(w, h);
    ctx.clearRect(0, 0, w, h);
    if (!fleet.length) return;
    const cx = w / 2, cy = h / 2;
    const pos = function (v) {
      const x = v.x + v.jx, y = v.y + v.jy;
      return [cx + (x * Math.cos(heading) - y * Math.sin(heading)) * s, cy + (x * Math.sin(heading) + y * Math.cos(heading)) * s];
    };
    const flag = pos(fleet[0]);
    ctx.strokeStyle = 'rgba(70,240,200,0.25)';
    ctx.lineWidth = Math.max(1, s / 500);
    fleet.slice(1).forEach(function (v) { const p = pos(v); ctx.beginPath(); ctx.moveTo(flag[0], flag[1]); ctx.lineTo(p[0], p[1]); ctx.stroke(); });
    fleet.forEach(function (v, i) {
      const p = pos(v), size = s / (v.flagship ? 38 : 55);
      ctx.save();
      ctx.translate(p[0], p[1]);
      ctx.rotate(heading);
      ctx.fillStyle = v.flagship ? '#ff8f5a' : (v.sel ? '#ffffff' : '#46f0c8');
      ctx.beginPath(); ctx.moveTo(0, -size * 1.4); ctx.lineTo(size, size); ctx.lineTo(0, size * 0.4); ctx.lineTo(-size, size); ctx.closePath(); ctx.fill();
      ctx.strokeStyle = 'rgba(227,251,246,0.5)';
      ctx.beginPath(); ctx.moveTo(0, -size * 1.6); ctx.lineTo(0, -size * 1.6 - s * 0.05); ctx.stroke();
      ctx.restore();
      ctx.fillStyle = v.flagship ? '#ff8f5a' : '#8fd9c8';
      ctx.font = Math.round(s / 48) + 'px DejaVu Sans Mono, monospace';
      ctx.fillText(v.hull, p[0] + size * 1.4, p[1] + size * 1.6);
      if (v.sel) { ctx.strokeStyle = '#ffffff'; ctx.strokeRect(p[0] - size * 2, p[1] - size * 2, size * 4, size * 4); }
      v.screen = i;
    });
  }

  function build(data) {
    C.set(C.$('#formation'), data.formation);
    fleet = data.vessels.map(function (v) {
      const tr = C.make(C.$('#rows'), 'tr', v.flagship ? 'flagship' : '');
      [v.hull, v.name, v.class].forEach(function (t) { C.make(tr, 'td', '', t); });
      return Object.assign({ jx: 0, jy: 0, tr: tr, rng: C.make(tr, 'td'), state: C.make(tr, 'td', 'state') }, v);
    });
    draw();
    table();
  }

  let sel = 0;
  function table() {
    fleet.forEach(function (v, i) {
      C.set(v.rng, C.fixed(Math.hypot(v.x + v.jx, v.y + v.jy) * 100, 1) + 'k');
      const warn = !v.flagship && Math.hypot(v.jx, v.jy) > 0.025;
      C.set(v.state, warn ? 'ADJUST' : 'ON STATION');
      C.toggle(v.state, 'warn', warn);
      v.sel = i === sel;
      C.toggle(v.tr, 'sel', v.sel);
    });
    sel = (sel + 1) % Math.max(1, fleet.length);
  }

  const chans = [];
  for (let i = 0; i < 20; i++) chans.push(C.make(C.$('#chans'), 'i', '', C.pad(i + 1, 2)));

  C.every(4, function () {
    heading += 0.008;
    fleet.forEach(function (v) { if (!v.flagship) { v.jx = rnd.walk(v.jx, -0.03, 0.03, 0.004); v.jy = rnd.walk(v.jy, -0.03, 0.03, 0.004); } });
    draw();
  });
  C.every(12, function () {
    table();
    chans.forEach(function (c) { C.toggle(c, 'on', rnd.chance(0.2)); });
    C.set(C.$('#stime'), C.shipTime('F'));
  });

  fetch('vessels.json')
    .then(function (r) { return r.json(); })
    .then(build)
    .catch(function () { C.set(C.$('#formation'), 'NO DATA'); });
})();
