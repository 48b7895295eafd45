// The page: asks the session for the drawing, draws it, then follows the
// host's events and answers what it asks with script lines.

import * as session from "./session.js";
import { parseDrawing, entityDirectory } from "./drawing_data.js";
import { DrawingView } from "./drawing_view.js";
import { CommandPanel } from "./command_panel.js";
import { LayerPanel } from "./layer_panel.js";
import { DialogForm } from "./dialog_form.js";
import { MessageBox } from "./message_box.js";
import { FileDialog } from "./file_dialog.js";
import { dragClause, handleClause, pointAnswer } from "./answer_text.js";

const $ = (id) => document.getElementById(id);

const state = {
  ask: null,            // the last "ask" event
  shown: false,         // the drawing's first frame is drawn
  ended: false,
  lastSeq: 0,
  outstanding: [],      // answers sent that no later "ask" has followed yet
  handles: [],
};

let drawingView = null;
const queue = new session.AnswerQueue(
  () => document.body.classList.toggle("sending", queue.busy),
  (line, error) => showTrouble(`The host did not take "${line}": ${error.message}`));

function showTrouble(text) {
  const trouble = $("trouble");
  trouble.textContent = text;
  trouble.hidden = !text;
}

// Sends one script line. ready() stays false until the host asks again.
function answer(line) {
  if (state.ended) return;
  const entry = { seq: state.lastSeq };
  state.outstanding.push(entry);
  queue.send(line, () => {
    state.outstanding = state.outstanding.filter((e) => e !== entry);
  });
}

const commandPanel = new CommandPanel($("transcript"), $("prompt"), $("command-line"), answer);
const dialogForm = new DialogForm(answer);
const messageBox = new MessageBox(answer);
const fileDialog = new FileDialog(answer);

function mode() {
  if (!state.ask || state.outstanding.length || state.ended) return "other";
  if (state.ask.what === "point") return "point";
  if (state.ask.what === "objects") return "objects";
  return "other";
}

function modalOpen() {
  return dialogForm.isOpen || messageBox.isOpen || fileDialog.isOpen;
}

const kTyped = new Set(["command", "point", "objects", "text", "keyword"]);

function onAsk(event) {
  state.ask = event;
  if (state.outstanding.length && event.seq > state.outstanding[0].seq) state.outstanding.shift();
  commandPanel.setPrompt(event.prompt || "");
  document.body.dataset.ask = event.what;
  layerPanel?.setSelecting(event.what === "objects");
  if (event.what === "command") drawingView?.setSelection([]);
  if (kTyped.has(event.what) && !modalOpen()) $("command-line").focus({ preventScroll: true });
  drawingView?.requestFrame();
}

function onSaved(event) {
  const panel = $("result");
  panel.hidden = false;
  $("result-title").textContent = `Floor ${event.floor} of ${event.project}`;
  const picture = $("floor-picture");
  picture.src = `${event.picture}?seq=${event.seq}`;
  picture.alt = `Floor ${event.floor} as the viewer draws it`;
  $("alignment-report").textContent = event.report || "";
  drawingView?.resize();
}

function onEvent(event) {
  if (typeof event.seq === "number") state.lastSeq = event.seq;
  switch (event.kind) {
    case "transcript": commandPanel.append(event.text); break;
    case "ask": onAsk(event); break;
    case "selection":
      drawingView?.setSelection(event.entities);
      $("selection-summary").textContent = event.summary ? `Selected: ${event.summary}` : "";
      break;
    case "dialog": dialogForm.show(event); break;
    case "message-box": messageBox.show(event); break;
    case "message-box-closed": messageBox.close(); break;
    case "file-dialog": fileDialog.show(event); break;
    case "file-dialog-closed": fileDialog.close(); break;
    case "saved": onSaved(event); break;
    case "ended":
      state.ended = true;
      dialogForm.close(); messageBox.close(); fileDialog.close();
      commandPanel.setPrompt("The session has ended.");
      $("command-line").disabled = true;
      document.body.dataset.ask = "ended";
      break;
    default: break;
  }
}

let layerPanel = null;

// What the drawing view asks of the page.
const viewHost = {
  mode,
  snap: session.snapNear,
  pick: session.pickNear,
  onPoint: (p) => answer(pointAnswer(p.x, p.y)),
  onPick: (entity, remove) => {
    const handle = state.handles[entity];
    if (handle !== undefined) answer(handleClause(handle, remove));
  },
  onDrag: (from, to, leftToRight) => answer(dragClause(from, to, leftToRight)),
  onEndSelection: () => answer(""),
  onCursor: (_, text) => { $("cursor").textContent = text; },
};

window.tavrin = {
  // CSS pixels relative to the viewport of drawing point (x, y).
  worldToScreen(x, y) {
    if (!drawingView) throw new Error("the drawing is not shown yet");
    return drawingView.worldToScreen(x, y);
  },
  // True once the drawing is shown and the host waits for input.
  ready() {
    return state.shown && !state.ended && state.ask !== null &&
           state.outstanding.length === 0 && !queue.busy && !drawingView.busy;
  },
  // Milliseconds from the page's start to the first frame of the drawing.
  firstFrameMs: null,
  framesDrawn: () => (drawingView ? drawingView.renderer.framesDrawn : 0),
};

document.addEventListener("keydown", (e) => {
  if (e.key === "Escape" && !state.ended) {
    e.preventDefault();
    answer("*cancel*");
  }
});

async function start() {
  let greeting;
  // The drawing's bytes are asked for at once; WebGL starts while they come.
  const bytesComing = session.drawingBytes();
  const handlesComing = session.handles();
  bytesComing.catch(() => {});
  handlesComing.catch(() => {});
  try {
    drawingView = new DrawingView($("view"), $("drawing"), $("overlay"), viewHost);
  } catch (error) {
    showTrouble(`The drawing cannot be shown: ${error.message}`);
  }
  try {
    greeting = await session.hello();
  } catch (error) {
    showTrouble(`The session does not answer: ${error.message}`);
    return;
  }
  if (greeting.inUse) {
    document.body.replaceChildren();
    const note = document.createElement("p");
    note.id = "in-use";
    note.textContent = "This session is in use in another tab.";
    document.body.append(note);
    return;
  }
  const info = greeting.drawing;
  $("drawing-name").textContent = [info.name, info.unit, info.codePage].filter(Boolean).join(" · ");
  document.title = `${info.name} · tavrin`;
  new session.EventStream(onEvent, (error) => {
    if (error) showTrouble(`Lost the session: ${error.message}`);
    else if ($("trouble").textContent.startsWith("Lost")) showTrouble("");
  }).run();
  let drawn = false;
  try {
    const [bytes, handleList] = await Promise.all([bytesComing, handlesComing]);
    state.handles = handleList.handles;
    const drawing = parseDrawing(bytes);
    drawingView.setDrawing(drawing, info.layers, info.extents, entityDirectory(drawing));
    layerPanel = new LayerPanel($("layer-table"), info.layers,
                                () => drawingView.setVisible(layerPanel.visible), answer);
    layerPanel.setSelecting(state.ask?.what === "objects");
    drawn = true;
  } catch (error) {
    showTrouble(`The drawing cannot be shown: ${error.message}`);
  }
  $("zoom-extents").addEventListener("click", () => drawingView?.zoomExtents());
  requestAnimationFrame(() => requestAnimationFrame(() => {
    state.shown = drawn;
    if (drawn) window.tavrin.firstFrameMs = performance.now();
  }));
}

start();
