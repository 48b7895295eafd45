// The drawing on the screen and what the pointer does there: drag pans
// (middle drag always; left drag unless objects are asked, when it is a
// window or crossing), the wheel zooms about the cursor, a click answers the
// host's point (snapped when a snap point is within reach) or picks an
// entity. The drawing is a WebGL canvas; markers and the rubber band are on
// a 2D canvas over it.

import { View } from "./view.js";
import { Renderer } from "./renderer.js";

export const kSnapPixels = 10;
const kDragPixels = 4;
const kRestMs = 250;
const kBackground = [0.086, 0.094, 0.114];

// How a snap of each kind is marked, centred on (x, y), `s` half its size.
export function drawSnapMarker(context, kind, x, y, s = 7) {
  context.beginPath();
  switch (kind) {
    case "end": context.rect(x - s, y - s, 2 * s, 2 * s); break;
    case "intersection":
      context.moveTo(x - s, y - s); context.lineTo(x + s, y + s);
      context.moveTo(x - s, y + s); context.lineTo(x + s, y - s);
      break;
    case "centre": context.arc(x, y, s, 0, 2 * Math.PI); break;
    case "mid":
      context.moveTo(x, y - s); context.lineTo(x + s, y + s); context.lineTo(x - s, y + s);
      context.closePath();
      break;
    default: return;
  }
  context.stroke();
}

// The digits after the point that still tell pixels apart at `scale` px/unit.
export function coordinateDecimals(scale) {
  return Math.max(0, Math.min(12, Math.ceil(Math.log10(Math.max(scale, 1e-300)))));
}

export class DrawingView {
  // `host` gives: mode() -> "point"|"objects"|"other"; snap(x, y, r),
  // pick(x, y, r) -> promises; onPoint({x, y}), onPick(entity, remove),
  // onDrag(from, to, leftToRight), onEndSelection(), onCursor(point, text).
  constructor(box, glCanvas, overlay, host) {
    this.box = box;
    this.overlay = overlay;
    this.host = host;
    this.view = new View();
    this.renderer = new Renderer(glCanvas);
    this.visible = [];
    this.directory = new Map();
    this.snap = null;          // {kind, x, y} shown
    this.band = null;          // {from, to} screen points while dragging
    this.pointer = null;       // screen point of the cursor
    this.press = null;
    this.frameAsked = false;
    this.snapInFlight = false;
    this.snapWanted = false;
    this.hasDrawing = false;
    this.clicksInFlight = 0;   // clicks still asking the session where they land
    new ResizeObserver(() => this.resize()).observe(box);
    this.resize();
    this.listen();
  }

  setDrawing(drawing, layers, extents, directory) {
    const origin = {
      x: (extents.min[0] + extents.max[0]) / 2,
      y: (extents.min[1] + extents.max[1]) / 2,
    };
    this.extents = extents;
    this.directory = directory;
    this.renderer.setDrawing(drawing, layers, origin, extents.min);
    this.visible = layers.map(() => true);
    this.zoomExtents();
    this.hasDrawing = true;
  }

  setVisible(visible) {
    this.visible = visible;
    this.requestFrame();
  }

  setSelection(entities) {
    this.renderer.setSelection(entities);
    this.requestFrame();
  }

  zoomExtents() {
    if (this.extents) this.view.fit(this.extents.min, this.extents.max);
    this.requestFrame();
  }

  resize() {
    const rect = this.box.getBoundingClientRect();
    this.view.resize(rect.width, rect.height);
    const ratio = window.devicePixelRatio || 1;
    this.overlay.width = Math.round(this.view.width * ratio);
    this.overlay.height = Math.round(this.view.height * ratio);
    this.requestFrame();
  }

  // CSS pixels relative to the browser's viewport.
  worldToScreen(x, y) {
    const p = this.view.toScreen(x, y);
    const rect = this.box.getBoundingClientRect();
    return { x: rect.left + p.x, y: rect.top + p.y };
  }

  requestFrame() {
    if (this.frameAsked) return;
    this.frameAsked = true;
    requestAnimationFrame(() => {
      this.frameAsked = false;
      this.drawFrame();
    });
  }

  // A pan or zoom in the last moments: a big drawing shows its last picture
  // moved, and is drawn anew once the view rests.
  moved() {
    this.movedAt = performance.now();
    clearTimeout(this.settle);
    this.settle = setTimeout(() => this.requestFrame(), kRestMs + 20);
  }

  drawFrame() {
    const moving = performance.now() - (this.movedAt ?? -Infinity) < kRestMs;
    this.renderer.draw(this.view, this.visible, this.directory, kBackground, moving);
    const ratio = window.devicePixelRatio || 1;
    const context = this.overlay.getContext("2d");
    context.setTransform(ratio, 0, 0, ratio, 0, 0);
    context.clearRect(0, 0, this.view.width, this.view.height);
    if (this.snap && this.host.mode() === "point") {
      const p = this.view.toScreen(this.snap.x, this.snap.y);
      context.lineWidth = 2;
      context.strokeStyle = "#7cff6b";
      drawSnapMarker(context, this.snap.kind, p.x, p.y);
      context.fillStyle = "#7cff6b";
      context.font = "11px system-ui, sans-serif";
      context.fillText(this.snap.kind, p.x + 10, p.y - 10);
    }
    if (this.band) {
      const { from, to } = this.band;
      const leftToRight = to.x >= from.x;
      context.lineWidth = 1;
      context.setLineDash(leftToRight ? [] : [6, 4]);
      context.strokeStyle = leftToRight ? "#6fa8ff" : "#7cff6b";
      context.fillStyle = leftToRight ? "rgba(80, 140, 255, 0.12)" : "rgba(90, 230, 90, 0.12)";
      const x = Math.min(from.x, to.x), y = Math.min(from.y, to.y);
      const w = Math.abs(to.x - from.x), h = Math.abs(to.y - from.y);
      context.fillRect(x, y, w, h);
      context.strokeRect(x + 0.5, y + 0.5, w, h);
      context.setLineDash([]);
    }
  }

  local(event) {
    const rect = this.box.getBoundingClientRect();
    return { x: event.clientX - rect.left, y: event.clientY - rect.top };
  }

  radius() {
    return kSnapPixels / this.view.scale;
  }

  listen() {
    const box = this.box;
    box.addEventListener("contextmenu", (e) => {
      e.preventDefault();
      if (this.host.mode() === "objects") this.host.onEndSelection();
    });
    box.addEventListener("wheel", (e) => {
      e.preventDefault();
      const p = this.local(e);
      const lines = e.deltaMode === 1 ? 40 : e.deltaMode === 2 ? 400 : 1;
      this.view.zoomAbout(p.x, p.y, Math.exp(-e.deltaY * lines * 0.0015));
      this.moved();
      this.refreshSnap();
      this.requestFrame();
    }, { passive: false });
    box.addEventListener("pointerdown", (e) => {
      if (e.button !== 0 && e.button !== 1) return;
      e.preventDefault();
      try {
        box.setPointerCapture(e.pointerId);
      } catch {
        // A pointer the browser does not track (a made-up event) drags uncaptured.
      }
      const p = this.local(e);
      this.press = { start: p, last: p, button: e.button, dragging: false };
    });
    box.addEventListener("pointermove", (e) => {
      const p = this.local(e);
      this.pointer = p;
      const at = this.view.toDrawing(p.x, p.y);
      this.host.onCursor(at, this.cursorText(at));
      const press = this.press;
      if (press) {
        if (!press.dragging && Math.hypot(p.x - press.start.x, p.y - press.start.y) > kDragPixels)
          press.dragging = true;
        if (press.dragging) {
          if (this.selectsByDrag(press)) {
            this.band = { from: press.start, to: p };
          } else {
            this.view.panBy(p.x - press.last.x, p.y - press.last.y);
            this.moved();
          }
          press.last = p;
          this.requestFrame();
          return;
        }
      }
      this.refreshSnap();
    });
    box.addEventListener("pointerup", (e) => {
      const press = this.press;
      if (!press) return;
      this.press = null;
      this.band = null;
      const p = this.local(e);
      if (press.dragging) {
        if (this.selectsByDrag(press)) {
          const from = this.view.toDrawing(press.start.x, press.start.y);
          const to = this.view.toDrawing(p.x, p.y);
          this.host.onDrag(from, to, p.x >= press.start.x);
        }
        this.requestFrame();
        return;
      }
      if (press.button === 0) this.click(p, e.shiftKey);
    });
    box.addEventListener("pointerleave", () => {
      this.pointer = null;
      this.snap = null;
      this.requestFrame();
    });
  }

  selectsByDrag(press) {
    return press.button === 0 && this.host.mode() === "objects";
  }

  cursorText(at) {
    const d = coordinateDecimals(this.view.scale);
    return `${at.x.toFixed(d)}, ${at.y.toFixed(d)}`;
  }

  get busy() {
    return this.clicksInFlight > 0;
  }

  async click(p, shift) {
    const at = this.view.toDrawing(p.x, p.y);
    const mode = this.host.mode();
    ++this.clicksInFlight;
    try {
      if (mode === "point") {
        // Ask again at the click itself: the marker may be from an earlier place.
        const snap = await this.host.snap(at.x, at.y, this.radius());
        this.host.onPoint(snap ? { x: snap.x, y: snap.y } : at, snap);
      } else if (mode === "objects") {
        const entity = await this.host.pick(at.x, at.y, this.radius());
        if (entity !== null && entity !== undefined) this.host.onPick(entity, shift);
      }
    } finally {
      --this.clicksInFlight;
    }
  }

  // Asks for the snap under the cursor, one question at a time: a move
  // during a question asks again when it is answered.
  async refreshSnap() {
    if (this.host.mode() !== "point" || !this.pointer) {
      if (this.snap) {
        this.snap = null;
        this.requestFrame();
      }
      return;
    }
    if (this.snapInFlight) {
      this.snapWanted = true;
      return;
    }
    this.snapInFlight = true;
    try {
      do {
        this.snapWanted = false;
        const p = this.pointer;
        if (!p) break;
        const at = this.view.toDrawing(p.x, p.y);
        const snap = await this.host.snap(at.x, at.y, this.radius());
        this.snap = this.host.mode() === "point" ? snap : null;
        this.requestFrame();
      } while (this.snapWanted);
    } catch {
      this.snap = null;
    } finally {
      this.snapInFlight = false;
    }
  }
}
