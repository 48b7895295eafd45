// The host's message box: caption, icon, text and its buttons, modal. A
// button answers with the word a script gives for it.

import { openModal } from "./modal_window.js";

const kIcons = { warning: "!", error: "×", information: "i", question: "?" };

// "Yes" -> "yes"; the host takes ok, yes and no.
export function buttonAnswer(button) {
  return button.toLowerCase();
}

export class MessageBox {
  constructor(answer) {
    this.answer = answer;
    this.modal = null;
  }

  get isOpen() { return this.modal !== null; }

  show(event) {
    this.close();
    this.modal = openModal(event.caption, { className: "message-box" });
    const row = document.createElement("div");
    row.className = "message-row";
    const icon = document.createElement("div");
    icon.className = `message-icon icon-${event.icon}`;
    icon.textContent = kIcons[event.icon] || "";
    icon.setAttribute("aria-label", event.icon || "");
    const text = document.createElement("div");
    text.className = "message-text";
    text.textContent = event.text;
    row.append(icon, text);
    const buttons = document.createElement("div");
    buttons.className = "message-buttons";
    for (const name of event.buttons) {
      const button = document.createElement("button");
      button.type = "button";
      button.dataset.button = name;
      button.textContent = name;
      button.addEventListener("click", () => this.answer(buttonAnswer(name)));
      buttons.append(button);
    }
    this.modal.body.append(row, buttons);
    this.modal.frame.addEventListener("keydown", (e) => {
      const key = e.key.toLowerCase();
      const byKey = event.buttons.find((b) => b[0].toLowerCase() === key);
      if (byKey) {
        e.preventDefault();
        this.answer(buttonAnswer(byKey));
      }
    });
    // Enter presses the focused button: the box's default, which is No for a
    // question that would replace something.
    const focused = buttons.querySelector(`[data-button="${event.default}"]`) ||
                    buttons.querySelector("button");
    (focused || this.modal.frame).focus({ preventScroll: true });
  }

  close() {
    if (this.modal) this.modal.close();
    this.modal = null;
  }
}
