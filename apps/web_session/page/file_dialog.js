// The host's open-file dialog: the folder it looks in, the entries the host
// lists there, a name field and OK. OK answers with the name field's text
// (relative to the shown folder, or absolute), as a script line would; a
// folder clicked twice is looked into by answering its name.

import { openModal } from "./modal_window.js";

export class FileDialog {
  constructor(answer) {
    this.answer = answer;
    this.modal = null;
  }

  get isOpen() { return this.modal !== null; }

  show(event) {
    this.close();
    this.modal = openModal(event.title || "Open", {
      className: "file-dialog",
      onClose: () => this.answer("*cancel*"),
    });
    const where = document.createElement("div");
    where.className = "file-folder";
    where.textContent = `Look in: ${event.folder}`;
    const list = document.createElement("ul");
    list.className = "file-list";
    list.setAttribute("role", "listbox");
    const name = document.createElement("input");
    name.type = "text";
    name.dataset.control = "file-name";
    name.value = event.name || "";
    name.autocomplete = "off";
    name.spellcheck = false;
    const entries = [{ name: "..", folder: true }, ...(event.entries || [])];
    for (const entry of entries) {
      const item = document.createElement("li");
      item.className = entry.folder ? "file-entry folder" : "file-entry";
      item.textContent = entry.folder ? `${entry.name}/` : entry.name;
      item.dataset.entry = entry.name;
      item.addEventListener("click", () => {
        for (const other of list.children) other.classList.remove("chosen");
        item.classList.add("chosen");
        if (!entry.folder) name.value = entry.name;
      });
      item.addEventListener("dblclick", () => this.answer(entry.name));
      list.append(item);
    }
    const row = document.createElement("div");
    row.className = "file-name-row";
    const label = document.createElement("label");
    label.textContent = "File name:";
    const filter = document.createElement("span");
    filter.className = "file-filter";
    filter.textContent = event.filter || "";
    const ok = document.createElement("button");
    ok.type = "button";
    ok.dataset.control = "file-ok";
    ok.textContent = "OK";
    const cancel = document.createElement("button");
    cancel.type = "button";
    cancel.dataset.control = "file-cancel";
    cancel.textContent = "Cancel";
    row.append(label, name, filter);
    const buttons = document.createElement("div");
    buttons.className = "file-buttons";
    buttons.append(ok, cancel);
    this.modal.body.append(where, list, row, buttons);
    ok.addEventListener("click", () => this.answer(name.value));
    cancel.addEventListener("click", () => this.answer("*cancel*"));
    name.addEventListener("keydown", (e) => {
      if (e.key === "Enter") {
        e.preventDefault();
        this.answer(name.value);
      }
    });
    name.focus({ preventScroll: true });
  }

  close() {
    if (this.modal) this.modal.close();
    this.modal = null;
  }
}
