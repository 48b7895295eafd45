// The lines the page answers with, written exactly as a script line would be,
// so that the session saved as a script replays to the same doubles.

// A coordinate as the shortest text that reads back as the same double:
// String(x) round-trips by the language's definition ("0.1", "5000",
// "1.5e-7"); the host's number syntax takes its exponent form. String(-0) is
// "0", so negative zero is written out to keep its sign.
export function coordinateText(x) {
  if (!Number.isFinite(x)) throw new RangeError(`not a finite coordinate: ${x}`);
  return Object.is(x, -0) ? "-0" : String(x);
}

export function pointAnswer(x, y) {
  return `${coordinateText(x)},${coordinateText(y)}`;
}

// A drag from `from` to `to` (drawing points): left to right on the screen is
// a window (entities wholly inside), right to left a crossing.
export function dragClause(from, to, leftToRight) {
  const verb = leftToRight ? "window" : "crossing";
  return `${verb} ${pointAnswer(from.x, from.y)} ${pointAnswer(to.x, to.y)}`;
}

export function handleClause(handle, remove) {
  return `${remove ? "remove " : ""}handle ${handle}`;
}

// "layer NAME"; a name with blanks is quoted, as the clause's words may be.
export function layerClause(name) {
  return /[ \t]/.test(name) ? `layer "${name}"` : `layer ${name}`;
}
