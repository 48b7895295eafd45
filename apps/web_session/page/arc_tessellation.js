// Arcs become chords on the page, as many as the zoom needs for the chord's
// bulge to stay under a fraction of a pixel.

const kFullTurn = 2 * Math.PI;

// The counter-clockwise sweep from `start` to `end` (radians), in (0, 2π];
// equal angles are a full circle, as the drawing means them.
export function sweepOf(start, end) {
  let sweep = (end - start) % kFullTurn;
  if (sweep <= 0) sweep += kFullTurn;
  return sweep;
}

// Chords for an arc of radius `radiusPx` pixels sweeping `sweep` radians so
// that no chord bulges more than `tolerancePx` from the arc; between 2 and
// `most`.
export function chordCount(radiusPx, sweep, tolerancePx = 0.25, most = 1024) {
  if (!(radiusPx > tolerancePx)) return 2;
  const step = 2 * Math.acos(1 - tolerancePx / radiusPx);
  return Math.max(2, Math.min(most, Math.ceil(sweep / step)));
}

// Writes the chords of arc `i` of `arcs` (cx, cy, r, start, end per arc) as
// line-list vertices (x, y pairs relative to `origin`) into `out` from
// `offset`; returns the offset after them.
export function writeArcChords(arcs, i, count, origin, out, offset) {
  const cx = arcs[5 * i] - origin.x, cy = arcs[5 * i + 1] - origin.y, r = arcs[5 * i + 2];
  const start = arcs[5 * i + 3];
  const sweep = sweepOf(start, arcs[5 * i + 4]);
  let px = cx + r * Math.cos(start), py = cy + r * Math.sin(start);
  for (let k = 1; k <= count; ++k) {
    const a = start + (sweep * k) / count;
    const qx = cx + r * Math.cos(a), qy = cy + r * Math.sin(a);
    out[offset++] = px; out[offset++] = py; out[offset++] = qx; out[offset++] = qy;
    px = qx; py = qy;
  }
  return offset;
}
