// The host's dialog as a form laid out from its template: every control at
// its rect, dialog units to CSS pixels as x * 1.5 and y * 1.75. The host owns
// the dialog: the form shows the state each "dialog" event gives and answers
// every gesture with the dialog's own event line (focus, type, key, click,
// select, spin, paste, close), so the dialog's tab order, Enter rules and key
// filters apply exactly as in a script.

import { openModal } from "./modal_window.js";

export const kUnitX = 1.5;
export const kUnitY = 1.75;

// The event line for a key pressed in the dialog, or null for keys the
// dialog has no event for (they do nothing). Esc is left to the page.
export function keyEventLine(event) {
  if (event.ctrlKey || event.metaKey) return null;
  switch (event.key) {
    case "Enter": return "key ENTER";
    case "Tab": return event.shiftKey ? "key SHIFT+TAB" : "key TAB";
    case "Backspace": return "key BACKSPACE";
    case "ArrowUp": return "key UP";
    case "ArrowDown": return "key DOWN";
    default: break;
  }
  if (!event.altKey && [...event.key].length === 1) return `type ${event.key}`;
  return null;
}

// "保存(&S)" -> {label: "保存(S)", mnemonic: "s", at: 3}; "&&" is one "&".
export function mnemonicOf(text) {
  let label = "", mnemonic = null, at = -1;
  for (let i = 0; i < text.length; ++i) {
    if (text[i] === "&" && i + 1 < text.length) {
      ++i;
      if (text[i] !== "&" && mnemonic === null) {
        mnemonic = text[i].toLowerCase();
        at = label.length;
      }
    }
    label += text[i];
  }
  return { label, mnemonic, at };
}

// A group box is a button of its own style; a server that does not flag it
// still gives it no id.
export function isGroupBox(control) {
  if (control.class !== "Button") return false;
  if (control.groupBox !== undefined) return control.groupBox === true;
  return !(control.id > 0 && control.id < 0xffff);
}

// Controls without an id (labels, the group box) are known by their place
// in the template.
function hasId(control) {
  return control.id > 0 && control.id < 0xffff && !isGroupBox(control);
}

function keyOf(control, n) {
  return hasId(control) ? control.id : `n${n}`;
}

function place(element, rect) {
  const [x, y, w, h] = rect;
  element.style.left = `${x * kUnitX}px`;
  element.style.top = `${y * kUnitY}px`;
  element.style.width = `${w * kUnitX}px`;
  element.style.height = `${h * kUnitY}px`;
}

function labelWithMnemonic(element, text) {
  const { label, at } = mnemonicOf(text);
  element.replaceChildren();
  if (at < 0) {
    element.textContent = label;
    return;
  }
  const underlined = document.createElement("u");
  underlined.textContent = label[at];
  element.append(label.slice(0, at), underlined, label.slice(at + 1));
}

export class DialogForm {
  // `answer(line)` sends one event line to the host.
  constructor(answer) {
    this.answer = answer;
    this.modal = null;
    this.templateId = null;
    this.elements = new Map();   // control id -> element
    this.state = null;
  }

  get isOpen() { return this.modal !== null; }

  // Shows the dialog as `event` describes it (or closes it).
  show(event) {
    if (!event.open) {
      this.close();
      return;
    }
    if (!this.modal || this.templateId !== event.templateId) this.build(event);
    this.state = event;
    this.modal.setCaption(event.caption);
    event.controls.forEach((control, n) => this.update(control, n));
    this.note.textContent = event.note || "";
    this.applyFocus(event.controls.find((c) => c.focus));
  }

  close() {
    if (this.modal) this.modal.close();
    this.modal = null;
    this.templateId = null;
    this.elements.clear();
  }

  build(event) {
    this.close();
    this.templateId = event.templateId;
    this.modal = openModal(event.caption, {
      className: "host-dialog",
      onClose: () => this.answer("close"),
    });
    this.modal.frame.dataset.template = String(event.templateId);
    const surface = document.createElement("div");
    surface.className = "dialog-surface";
    surface.style.width = `${event.size[0] * kUnitX}px`;
    surface.style.height = `${event.size[1] * kUnitY}px`;
    this.note = document.createElement("div");
    this.note.className = "dialog-note";
    this.note.setAttribute("role", "status");
    this.modal.body.append(surface, this.note);
    event.controls.forEach((control, n) => {
      const element = this.create(control);
      place(element, control.rect);
      element.classList.add("dialog-control");
      if (hasId(control)) element.dataset.control = String(control.id);
      this.elements.set(keyOf(control, n), element);
      surface.append(element);
    });
    this.modal.frame.addEventListener("keydown", (e) => this.onKey(e));
    this.modal.frame.addEventListener("paste", (e) => {
      e.preventDefault();
      const text = e.clipboardData ? e.clipboardData.getData("text/plain") : "";
      if (text) this.answer(`paste ${text.replace(/[\r\n]+/g, " ")}`);
    });
  }

  create(control) {
    const id = control.id;
    if (isGroupBox(control)) {
      const box = document.createElement("fieldset");
      box.className = "dialog-groupbox";
      if (control.text) {
        const legend = document.createElement("legend");
        legend.textContent = control.text;
        box.append(legend);
      }
      return box;
    }
    switch (control.class) {
      case "Edit": {
        const input = document.createElement("input");
        input.type = "text";
        input.className = "dialog-edit";
        input.autocomplete = "off";
        input.spellcheck = false;
        input.addEventListener("mousedown", () => this.focusOnHost(id));
        // Typing goes through the host; the field only shows its text.
        input.addEventListener("beforeinput", (e) => e.preventDefault());
        return input;
      }
      case "ComboBox": {
        const select = document.createElement("select");
        select.className = "dialog-list";
        select.addEventListener("mousedown", () => this.focusOnHost(id));
        select.addEventListener("change", () => this.answer(`select ${id} ${select.selectedIndex}`));
        return select;
      }
      case "UpDown": {
        const spin = document.createElement("div");
        spin.className = "dialog-updown";
        for (const [part, glyph] of [["up", "▲"], ["down", "▼"]]) {
          const arrow = document.createElement("button");
          arrow.type = "button";
          arrow.tabIndex = -1;
          arrow.dataset.part = part;
          arrow.textContent = glyph;
          arrow.addEventListener("click", () => this.answer(`spin ${id} ${part}`));
          spin.append(arrow);
        }
        return spin;
      }
      case "Button": {
        const button = document.createElement("button");
        button.type = "button";
        button.className = "dialog-button";
        button.addEventListener("click", () => this.answer(`click ${id}`));
        return button;
      }
      default: {
        const label = document.createElement("div");
        label.className = "dialog-static";
        return label;
      }
    }
  }

  update(control, n) {
    const element = this.elements.get(keyOf(control, n));
    if (!element) return;
    element.hidden = control.visible === false;
    if ("disabled" in element) element.disabled = control.enabled === false;
    switch (control.class) {
      case "Edit":
        element.value = control.text;
        element.readOnly = control.readOnly === true;
        element.tabIndex = -1;
        break;
      case "ComboBox": {
        const items = control.items || [];
        const same = element.options.length === items.length &&
          items.every((item, i) => element.options[i].text === item);
        if (!same) element.replaceChildren(...items.map((item) => new Option(item, item)));
        element.selectedIndex = typeof control.selected === "number" ? control.selected : -1;
        element.tabIndex = -1;
        break;
      }
      case "Button":
        if (!isGroupBox(control)) {
          labelWithMnemonic(element, control.text);
          element.classList.toggle("default", control.default === true);
          element.tabIndex = -1;
        }
        break;
      case "UpDown":
        break;
      default:
        if (!isGroupBox(control)) labelWithMnemonic(element, control.text || "");
        break;
    }
    element.classList.toggle("focused", control.focus === true);
  }

  applyFocus(control) {
    const element = control && hasId(control) ? this.elements.get(control.id) : null;
    const target = element && !(element instanceof HTMLDivElement) ? element : this.modal.frame;
    if (document.activeElement !== target) target.focus({ preventScroll: true });
    if (target instanceof HTMLInputElement) {
      const end = target.value.length;
      target.setSelectionRange(end, end);
    }
  }

  focusOnHost(id) {
    const focused = this.state && this.state.controls.find((c) => c.focus);
    if (!focused || focused.id !== id) this.answer(`focus ${id}`);
  }

  onKey(event) {
    if (event.key === "Escape") return;   // the page's Esc: *cancel*
    if (event.altKey && !event.ctrlKey && event.key.length === 1) {
      const wanted = event.key.toLowerCase();
      const button = this.state.controls.find(
        (c) => c.class === "Button" && mnemonicOf(c.text).mnemonic === wanted);
      event.preventDefault();
      if (button) this.answer(`click ${button.id}`);
      return;
    }
    event.preventDefault();
    event.stopPropagation();
    const line = keyEventLine(event);
    if (line) this.answer(line);
  }
}
