// Where the drawing sits on the screen: a uniform scale (CSS pixels per
// drawing unit) and the drawing point at the view's centre, kept as doubles.
// Screen y grows downwards, drawing y upwards.

export class View {
  constructor() {
    this.width = 1;
    this.height = 1;
    this.scale = 1;
    this.centreX = 0;
    this.centreY = 0;
  }

  resize(width, height) {
    this.width = Math.max(1, width);
    this.height = Math.max(1, height);
  }

  // Fits the box in the view with a margin of `marginPx` on each side; a box
  // without size (one point, or empty) keeps the scale.
  fit(min, max, marginPx = 20) {
    this.centreX = (min[0] + max[0]) / 2;
    this.centreY = (min[1] + max[1]) / 2;
    const w = max[0] - min[0], h = max[1] - min[1];
    const room = (size, extent) => Math.max(1, size - 2 * marginPx) / extent;
    const candidates = [];
    if (w > 0) candidates.push(room(this.width, w));
    if (h > 0) candidates.push(room(this.height, h));
    if (candidates.length) this.scale = Math.min(...candidates);
  }

  toScreen(x, y) {
    return {
      x: this.width / 2 + (x - this.centreX) * this.scale,
      y: this.height / 2 - (y - this.centreY) * this.scale,
    };
  }

  toDrawing(sx, sy) {
    return {
      x: this.centreX + (sx - this.width / 2) / this.scale,
      y: this.centreY - (sy - this.height / 2) / this.scale,
    };
  }

  panBy(dxPx, dyPx) {
    this.centreX -= dxPx / this.scale;
    this.centreY += dyPx / this.scale;
  }

  // Zooms by `factor` keeping the drawing point under screen point (sx, sy)
  // where it is.
  zoomAbout(sx, sy, factor) {
    const anchor = this.toDrawing(sx, sy);
    this.scale *= factor;
    this.centreX = anchor.x - (sx - this.width / 2) / this.scale;
    this.centreY = anchor.y + (sy - this.height / 2) / this.scale;
  }
}
