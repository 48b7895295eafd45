// The transcript as the terminal shows it: a run of identical repeated groups
// of up to four whole lines (the trace the export prints per axis) becomes
// one line with a count, "IntrinsicScale:1.000000 / iScale:1.000000 ×11,450".
// Blank lines never fold, and the last, unfinished line (a prompt) stays.

const kLongestGroup = 4;

function sameLines(lines, a, b, count) {
  for (let i = 0; i < count; ++i) {
    if (lines[a + i] !== lines[b + i] || lines[a + i] === "") return false;
  }
  return true;
}

export function foldRepeats(text) {
  const lines = text.split("\n");
  const whole = lines.length - 1;  // the last piece ends no line
  const out = [];
  for (let i = 0; i < whole;) {
    let best = null;
    for (let size = 1; size <= kLongestGroup && i + 2 * size <= whole; ++size) {
      let times = 1;
      while (i + (times + 1) * size <= whole && sameLines(lines, i, i + times * size, size))
        ++times;
      if (times >= 2 && (best === null || times * size > best.times * best.size))
        best = { size, times };
    }
    if (best === null) {
      out.push(lines[i]);
      ++i;
    } else {
      out.push(`${lines.slice(i, i + best.size).join(" / ")} ×${best.times.toLocaleString("en-US")}`);
      i += best.size * best.times;
    }
  }
  out.push(lines[whole]);
  return out.join("\n");
}
