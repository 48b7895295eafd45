// The command line: the transcript as the terminal shows it, the prompt the
// host asks with, and the input. Enter sends what is typed, even nothing
// (which ends a selection, as at the terminal).

import { foldRepeats } from "./transcript_folding.js";

const kTranscriptLimit = 400_000;   // characters kept; the oldest go first

export class CommandPanel {
  constructor(transcript, prompt, input, answer) {
    this.transcript = transcript;
    this.prompt = prompt;
    this.input = input;
    this.text = "";  // as the host printed it; shown folded
    this.history = [];
    this.back = 0;
    input.addEventListener("keydown", (e) => {
      if (e.key === "Enter") {
        e.preventDefault();
        const line = input.value;
        input.value = "";
        if (line) this.history.push(line);
        this.back = 0;
        answer(line);
      } else if (e.key === "ArrowUp" || e.key === "ArrowDown") {
        e.preventDefault();
        this.back = Math.max(0, Math.min(this.history.length,
                                         this.back + (e.key === "ArrowUp" ? 1 : -1)));
        input.value = this.back ? this.history[this.history.length - this.back] : "";
      }
    });
  }

  append(text) {
    const pre = this.transcript;
    const atEnd = pre.scrollTop + pre.clientHeight >= pre.scrollHeight - 4;
    let all = this.text + text;
    if (all.length > kTranscriptLimit) all = all.slice(all.length - kTranscriptLimit);
    this.text = all;
    pre.textContent = foldRepeats(all);
    if (atEnd) pre.scrollTop = pre.scrollHeight;
  }

  // The host's prompt starts on a new line at the terminal; here it has
  // its own place, so leading line ends go.
  setPrompt(text) {
    this.prompt.textContent = text.replace(/^[\r\n]+/, "");
  }
}
