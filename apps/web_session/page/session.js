// The session's API as the page uses it. The token travels in the cookie
// the first page load set, so no call here names it.

async function getJson(path) {
  const response = await fetch(path, { credentials: "same-origin", cache: "no-store" });
  if (!response.ok) throw new Error(`${path}: HTTP ${response.status}`);
  return response.json();
}

export const hello = () => getJson("/api/hello");
export const handles = () => getJson("/api/handles");

export async function drawingBytes() {
  const response = await fetch("/api/drawing.bin", { credentials: "same-origin" });
  if (!response.ok) throw new Error(`/api/drawing.bin: HTTP ${response.status}`);
  return response.arrayBuffer();
}

const query = (x, y, r) =>
  `x=${encodeURIComponent(String(x))}&y=${encodeURIComponent(String(y))}&r=${encodeURIComponent(String(r))}`;

// {kind, x, y} of the nearest snap point within r drawing units, or null.
export async function snapNear(x, y, r) {
  return (await getJson(`/api/snap?${query(x, y, r)}`)).snap;
}

// The entity index of the nearest line or arc within r, or null.
export async function pickNear(x, y, r) {
  return (await getJson(`/api/pick?${query(x, y, r)}`)).entity;
}

// Answers go out one at a time in the order given, as lines of a script.
// `onBusy(n)` hears how many are not yet accepted; `onError(line, error)`
// hears of a refused one (the rest still go).
export class AnswerQueue {
  constructor(onBusy, onError) {
    this.pending = [];
    this.sending = false;
    this.onBusy = onBusy;
    this.onError = onError;
  }

  get busy() { return this.sending || this.pending.length > 0; }

  // `onFail(error)` hears when this line was not accepted.
  send(line, onFail = () => {}) {
    this.pending.push({ line, onFail });
    this.onBusy(this.pending.length);
    if (!this.sending) this.drain();
  }

  async drain() {
    this.sending = true;
    while (this.pending.length) {
      const { line, onFail } = this.pending.shift();
      try {
        const response = await fetch("/api/answer", {
          method: "POST",
          credentials: "same-origin",
          headers: { "Content-Type": "application/json" },
          body: JSON.stringify({ line }),
        });
        if (!response.ok) throw new Error(`HTTP ${response.status}`);
      } catch (error) {
        onFail(error);
        this.onError(line, error);
      }
    }
    this.sending = false;
    this.onBusy(0);
  }
}

// Long-polls /api/events and hands each event to `onEvent` in order until
// the session ends or `stop()` is called. A failed poll is retried after a
// pause (the server may be busy); `onTrouble` hears of it, and hears null
// once polls answer again.
export class EventStream {
  constructor(onEvent, onTrouble) {
    this.onEvent = onEvent;
    this.onTrouble = onTrouble;
    this.after = 0;
    this.stopped = false;
  }

  stop() { this.stopped = true; }

  async run() {
    while (!this.stopped) {
      let batch;
      try {
        batch = await getJson(`/api/events?after=${this.after}`);
        this.onTrouble(null);
      } catch (error) {
        this.onTrouble(error);
        await new Promise((resolve) => setTimeout(resolve, 1000));
        continue;
      }
      for (const event of batch.events) {
        if (this.stopped) return;
        if (typeof event.seq === "number" && event.seq <= this.after) continue;
        if (typeof event.seq === "number") this.after = event.seq;
        this.onEvent(event);
        if (event.kind === "ended") this.stopped = true;
      }
    }
  }
}
