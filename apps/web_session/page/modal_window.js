// A modal window over the page: a veil that takes every click, and a frame
// with a caption bar and an optional close box.

export function openModal(caption, { onClose, className = "" } = {}) {
  const veil = document.createElement("div");
  veil.className = "modal-veil";
  const frame = document.createElement("div");
  frame.className = `modal-window ${className}`.trim();
  frame.setAttribute("role", "dialog");
  frame.setAttribute("aria-modal", "true");
  frame.tabIndex = -1;
  const bar = document.createElement("div");
  bar.className = "modal-caption";
  const title = document.createElement("span");
  title.textContent = caption;
  bar.append(title);
  if (onClose) {
    const close = document.createElement("button");
    close.className = "modal-close";
    close.type = "button";
    close.title = "Close";
    close.textContent = "×";
    close.addEventListener("click", onClose);
    bar.append(close);
  }
  const body = document.createElement("div");
  body.className = "modal-body";
  frame.append(bar, body);
  veil.append(frame);
  document.body.append(veil);
  return {
    veil, frame, body,
    setCaption(text) { title.textContent = text; },
    close() { veil.remove(); },
  };
}
