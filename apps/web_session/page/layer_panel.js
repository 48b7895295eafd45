// The layers: colour, name, line and arc counts, a visibility toggle, and a
// button that selects the layer's lines and arcs while objects are asked.

import { layerClause } from "./answer_text.js";

const css = ([r, g, b]) => `rgb(${r}, ${g}, ${b})`;

export class LayerPanel {
  // `onVisibility()` hears of a toggle; `answer(line)` sends a clause.
  constructor(table, layers, onVisibility, answer) {
    this.visible = layers.map(() => true);
    this.buttons = [];
    const head = table.createTHead().insertRow();
    for (const title of ["", "", "Layer", "Lines", "Arcs", ""]) {
      const cell = document.createElement("th");
      cell.textContent = title;
      head.append(cell);
    }
    const body = table.createTBody();
    layers.forEach((layer, l) => {
      const row = body.insertRow();
      row.dataset.layer = layer.name;
      const toggle = document.createElement("input");
      toggle.type = "checkbox";
      toggle.checked = true;
      toggle.title = `Show layer ${layer.name}`;
      toggle.addEventListener("change", () => {
        this.visible[l] = toggle.checked;
        row.classList.toggle("hidden-layer", !toggle.checked);
        onVisibility();
      });
      const swatch = document.createElement("span");
      swatch.className = "swatch";
      swatch.style.background = css(layer.color);
      const select = document.createElement("button");
      select.type = "button";
      select.className = "select-layer";
      select.textContent = "Select";
      select.title = `Select the lines and arcs of ${layer.name} (${layerClause(layer.name)})`;
      select.disabled = true;
      select.addEventListener("click", () => answer(layerClause(layer.name)));
      this.buttons.push(select);
      const cells = [toggle, swatch, layer.name, String(layer.lines), String(layer.arcs), select];
      for (const content of cells) {
        const cell = row.insertCell();
        cell.append(content);
      }
    });
  }

  // The select buttons work only while the host asks for objects.
  setSelecting(selecting) {
    for (const button of this.buttons) button.disabled = !selecting;
  }
}
