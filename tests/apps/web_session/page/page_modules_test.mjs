// The page's modules that need no browser: answer lines, the drawing's
// binary form, arc chords, the view's transform, dialog keys. Run by CTest
// with node's test runner over a copy of the page's modules
// (TAVRIN_PAGE_MODULES).
import { test } from "node:test";
import assert from "node:assert/strict";
import path from "node:path";
import { pathToFileURL } from "node:url";

const folder = process.env.TAVRIN_PAGE_MODULES;
assert.ok(folder, "TAVRIN_PAGE_MODULES names the folder of the page's modules");
const load = (name) => import(pathToFileURL(path.join(folder, name)).href);
const answers = await load("answer_text.js");
const data = await load("drawing_data.js");
const arcs = await load("arc_tessellation.js");
const { View } = await load("view.js");
const dialog = await load("dialog_form.js");
const { coordinateDecimals } = await load("drawing_view.js");
const { foldRepeats } = await load("transcript_folding.js");

test("a coordinate's text reads back as the same double", () => {
  const cases = [0.1, 1 / 3, 2 / 3, 28500.000000000004, 1205.7713659400524, -0.30000000000000004,
                 1e-7, 1.5e-300, 5e-324, 1.7976931348623157e308, 123456789.12345679, 1e21,
                 -6401.923788646684, 2 ** 53 + 2, -0];
  for (const x of cases) {
    const text = answers.coordinateText(x);
    assert.ok(Object.is(Number(text), x), `${text} reads back as ${x}`);
    // The host's syntax: sign, digits with an optional point, optional exponent.
    assert.match(text, /^-?\d+(\.\d+)?(e[+-]\d+)?$/, text);
    // Never longer than %.17g would be.
    const digits = text.replace(/e.*$/, "").replace(/[-.]/g, "").replace(/^0+/, "");
    assert.ok(digits.length <= 17, `${text} has ${digits.length} digits`);
  }
});

test("coordinates that are no numbers are refused", () => {
  for (const x of [NaN, Infinity, -Infinity])
    assert.throws(() => answers.coordinateText(x), RangeError);
});

test("answers are script lines", () => {
  const cases = [
    [answers.pointAnswer(28500.000000000004, -0), "28500.000000000004,-0"],
    [answers.pointAnswer(0, 6000), "0,6000"],
    [answers.dragClause({ x: -10, y: 20.5 }, { x: 30, y: -1e-7 }, true), "window -10,20.5 30,-1e-7"],
    [answers.dragClause({ x: 30, y: 0 }, { x: -10, y: 5 }, false), "crossing 30,0 -10,5"],
    [answers.handleClause("1A", false), "handle 1A"],
    [answers.handleClause("2F0", true), "remove handle 2F0"],
    [answers.layerClause("AXIS"), "layer AXIS"],
    [answers.layerClause("轴线 A"), 'layer "轴线 A"'],
    [answers.layerClause("A\tB"), 'layer "A\tB"'],
  ];
  for (const [got, want] of cases) assert.equal(got, want);
});

// A drawing.bin as the server writes it.
function drawingBuffer({ lines = [], arcList = [], others = [], layers, entities, version = 1,
                         magic = "TVDR", extra = 0 }) {
  const size = 32 + lines.length * 32 + arcList.length * 40 + others.length * 16 +
               layers.length * 4 + entities.length * 4 + extra;
  const buffer = new ArrayBuffer(size);
  const view = new DataView(buffer);
  [...magic].forEach((c, i) => view.setUint8(i, c.charCodeAt(0)));
  [version, lines.length, arcList.length, others.length].forEach((v, i) =>
    view.setUint32(4 + 4 * i, v, true));
  let at = 32;
  for (const l of lines) for (const v of l) { view.setFloat64(at, v, true); at += 8; }
  for (const a of arcList) for (const v of a) { view.setFloat64(at, v, true); at += 8; }
  for (const o of others) for (const v of o) { view.setFloat32(at, v, true); at += 4; }
  for (const v of [...layers, ...entities]) { view.setUint32(at, v, true); at += 4; }
  return buffer;
}

test("the drawing's binary form is read as the server lays it out", () => {
  const buffer = drawingBuffer({
    lines: [[0.1, -2, 1e300, 3.5], [5, 6, 7, 8]],
    arcList: [[1, 2, 3, 0, Math.PI]],
    others: [[0.5, 1.5, 2.5, 3.5]],
    layers: [2, 0, 1, 1],
    entities: [7, 3, 11],
  });
  const d = data.parseDrawing(buffer);
  assert.deepEqual([d.lineCount, d.arcCount, d.otherCount], [2, 1, 1]);
  assert.deepEqual([...d.lines], [0.1, -2, 1e300, 3.5, 5, 6, 7, 8]);
  assert.deepEqual([...d.arcs], [1, 2, 3, 0, Math.PI]);
  assert.deepEqual([...d.others], [0.5, 1.5, 2.5, 3.5]);
  assert.deepEqual([...d.lineLayers, ...d.arcLayers, ...d.otherLayers], [2, 0, 1, 1]);
  assert.deepEqual([...d.lineEntities, ...d.arcEntities], [7, 3, 11]);
  const directory = data.entityDirectory(d);
  assert.deepEqual(directory.get(3), { kind: "line", index: 1 });
  assert.deepEqual(directory.get(11), { kind: "arc", index: 0 });
  assert.equal(directory.get(0), undefined);
});

test("a damaged drawing is refused, saying what is wrong", () => {
  const good = { lines: [[0, 0, 1, 1]], layers: [0], entities: [0] };
  const cases = [
    [new ArrayBuffer(10), /shorter than its 32-byte header/],
    [drawingBuffer({ ...good, magic: "TVDX" }), /starts with "TVDX"/],
    [drawingBuffer({ ...good, version: 2 }), /version 2/],
    [drawingBuffer({ ...good, extra: 4 }), /1 lines, 0 arcs and 0 others take 72/],
    [drawingBuffer({ ...good, entities: [] }), /bytes, but 1 lines/],
  ];
  for (const [buffer, message] of cases) assert.throws(() => data.parseDrawing(buffer), message);
});

test("arc sweeps run counter-clockwise, a full turn for equal angles", () => {
  const cases = [[0, Math.PI, Math.PI], [-Math.PI / 3, Math.PI / 3, (2 * Math.PI) / 3],
                 [Math.PI / 2, 0, 1.5 * Math.PI], [1, 1, 2 * Math.PI], [0, 4 * Math.PI + 1, 1]];
  for (const [start, end, sweep] of cases)
    assert.ok(Math.abs(arcs.sweepOf(start, end) - sweep) < 1e-12, `${start}..${end}`);
});

test("arcs get the fewest chords that keep the bulge under the tolerance", () => {
  for (const [radiusPx, sweep] of [[5, Math.PI], [100, 1], [1000, 2 * Math.PI], [40000, 0.5]]) {
    const n = arcs.chordCount(radiusPx, sweep);
    const bulge = (k) => radiusPx * (1 - Math.cos(sweep / k / 2));
    assert.ok(bulge(n) <= 0.25 + 1e-9, `${radiusPx}px: ${n} chords bulge ${bulge(n)}`);
    if (n > 2) assert.ok(bulge(n - 1) > 0.25, `${radiusPx}px: ${n - 1} chords would do`);
  }
  assert.equal(arcs.chordCount(0.1, Math.PI), 2);
  assert.equal(arcs.chordCount(1e9, 2 * Math.PI), 1024);
});

test("arc chords run from the start point to the end point on the circle", () => {
  const list = new Float64Array([1000, -500, 250, -Math.PI / 3, Math.PI / 2]);
  const origin = { x: 900, y: -400 };
  const count = 16;
  const out = new Float32Array(count * 4);
  assert.equal(arcs.writeArcChords(list, 0, count, origin, out, 0), count * 4);
  const at = (a) => [100 + 250 * Math.cos(a), -100 + 250 * Math.sin(a)];
  const close = (got, want) => assert.ok(Math.abs(got - want) < 1e-3, `${got} vs ${want}`);
  close(out[0], at(-Math.PI / 3)[0]); close(out[1], at(-Math.PI / 3)[1]);
  close(out[out.length - 2], at(Math.PI / 2)[0]); close(out[out.length - 1], at(Math.PI / 2)[1]);
  for (let k = 0; k < out.length; k += 2) close(Math.hypot(out[k] - 100, out[k + 1] + 100), 250);
  for (let k = 4; k < out.length; k += 4) {   // each chord starts where the last ended
    assert.equal(out[k], out[k - 2]);
    assert.equal(out[k + 1], out[k - 1]);
  }
});

test("the view maps drawing points to the screen and back", () => {
  const v = new View();
  v.resize(800, 600);
  v.fit([-1500, -3000], [37000, 21000], 20);
  for (const [x, y] of [[-1500, 21000], [37000, -3000], [0, 0]]) {
    const s = v.toScreen(x, y);
    assert.ok(s.x >= 19.999 && s.x <= 780.001 && s.y >= 19.999 && s.y <= 580.001, `${x},${y}`);
    const back = v.toDrawing(s.x, s.y);
    assert.ok(Math.abs(back.x - x) < 1e-9 && Math.abs(back.y - y) < 1e-9);
  }
  assert.ok(v.toScreen(0, 100).y < v.toScreen(0, 0).y, "drawing y grows upwards");
  const anchor = v.toDrawing(123, 456);
  v.zoomAbout(123, 456, 3.7);
  const after = v.toScreen(anchor.x, anchor.y);
  assert.ok(Math.abs(after.x - 123) < 1e-9 && Math.abs(after.y - 456) < 1e-9);
  const before = v.toScreen(10, 10);
  v.panBy(25, -40);
  const moved = v.toScreen(10, 10);
  assert.ok(Math.abs(moved.x - before.x - 25) < 1e-9 && Math.abs(moved.y - before.y + 40) < 1e-9);
});

test("the cursor shows as many decimals as the zoom tells apart", () => {
  for (const [scale, decimals] of [[0.01, 0], [1, 0], [2, 1], [10, 1], [150, 3], [1e20, 12]])
    assert.equal(coordinateDecimals(scale), decimals, `scale ${scale}`);
});

test("keys in the dialog become the dialog's event lines", () => {
  const key = (k, extra = {}) => ({ key: k, shiftKey: false, ctrlKey: false, metaKey: false,
                                    altKey: false, ...extra });
  const cases = [
    [key("Enter"), "key ENTER"], [key("Tab"), "key TAB"],
    [key("Tab", { shiftKey: true }), "key SHIFT+TAB"], [key("Backspace"), "key BACKSPACE"],
    [key("ArrowUp"), "key UP"], [key("ArrowDown"), "key DOWN"], [key("7"), "type 7"],
    [key("."), "type ."], [key(" "), "type  "], [key("毫"), "type 毫"],
    [key("v", { ctrlKey: true }), null], [key("ArrowLeft"), null], [key("Delete"), null],
    [key("F1"), null], [key("s", { altKey: true }), null],
  ];
  for (const [event, line] of cases) assert.equal(dialog.keyEventLine(event), line, event.key);
});

test("button texts show their mnemonic, group boxes are known", () => {
  const cases = [["保存(&S)", "保存(S)", "s", 3], ["退出(&X)", "退出(X)", "x", 3],
                 ["Save && exit", "Save & exit", null, -1], ["&OK", "OK", "o", 0], ["", "", null, -1]];
  for (const [text, label, mnemonic, at] of cases)
    assert.deepEqual(dialog.mnemonicOf(text), { label, mnemonic, at }, text);
  const groupCases = [[{ class: "Button", id: -1 }, true], [{ class: "Button", id: 65535 }, true],
                      [{ class: "Button", id: 1005 }, false],
                      [{ class: "Button", id: 7, groupBox: true }, true],
                      [{ class: "Button", id: -1, groupBox: false }, false],
                      [{ class: "Static", id: -1 }, false]];
  for (const [control, want] of groupCases)
    assert.equal(dialog.isGroupBox(control), want, JSON.stringify(control));
});

test("repeated groups of lines fold into one counted line, as at the terminal", () => {
  const trace = "IntrinsicScale:1.000000\niScale:1.000000\n";
  const cases = [
    ["no repeats", "a\nb\nCommand: ", "a\nb\nCommand: "],
    ["a pair, 11,450 times", "2 条直线\n" + trace.repeat(11450) + "已写入\nCommand: ",
     "2 条直线\nIntrinsicScale:1.000000 / iScale:1.000000 ×11,450\n已写入\nCommand: "],
    ["one line twice", "x\nx\ny\n", "x ×2\ny\n"],
    ["blank lines stay", "a\n\n\n\nb\n", "a\n\n\n\nb\n"],
    ["the unfinished prompt stays", "p\np", "p\np"],
    ["the longest fold wins", "a\nb\na\nb\na\nb\nc\n", "a / b ×3\nc\n"],
    ["groups longer than four stay", "1\n2\n3\n4\n5\n".repeat(2), "1\n2\n3\n4\n5\n".repeat(2)],
  ];
  for (const [label, text, shown] of cases) assert.equal(foldRepeats(text), shown, label);
});
