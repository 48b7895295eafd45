// Draws the drawing with WebGL: one vertex buffer of line-list vertices,
// grouped by layer so that a layer is one draw call (or none when hidden).
// Vertices are float32 relative to the extents' centre (`origin`), which
// keeps them exact to about 1e-7 of the drawing's size; the view's offset
// from that origin is worked out in doubles before it reaches the shader.

import { chordCount, sweepOf, writeArcChords } from "./arc_tessellation.js";

const kVertexShader = `
attribute vec2 position;
uniform vec2 offset;    // origin - view centre, drawing units
uniform vec2 toClip;    // clip units per drawing unit (x, y)
uniform vec2 nudge;     // extra shift in clip units (thick highlight)
void main() {
  gl_Position = vec4((position + offset) * toClip + nudge, 0.0, 1.0);
}`;

const kFragmentShader = `
precision mediump float;
uniform vec4 colour;
void main() { gl_FragColor = colour; }`;

// The drawn picture as a texture on a quad: what a pan or zoom shows of a big
// drawing until it is drawn anew.
const kImageVertexShader = `
attribute vec2 corner;  // 0..1 across the image
uniform vec4 rect;      // where the image goes: clip x0, y0, x1, y1
varying vec2 uv;
void main() {
  uv = corner;
  gl_Position = vec4(mix(rect.xy, rect.zw, corner), 0.0, 1.0);
}`;

const kImageFragmentShader = `
precision mediump float;
uniform sampler2D image;
varying vec2 uv;
void main() { gl_FragColor = texture2D(image, uv); }`;

// From this many segments on, a moving view shows the last picture moved
// (one quad) and the drawing is drawn anew when it stops.
export const kHeavySegments = 100_000;

const kOtherAlpha = 0.35;
const kHighlight = [1.0, 0.55, 0.1, 1.0];
// At most this many arc chords in all; past it every arc gets fewer.
const kChordBudget = 2_000_000;

function link(gl, vertexSource, fragmentSource) {
  const program = gl.createProgram();
  gl.attachShader(program, compile(gl, gl.VERTEX_SHADER, vertexSource));
  gl.attachShader(program, compile(gl, gl.FRAGMENT_SHADER, fragmentSource));
  gl.linkProgram(program);
  if (!gl.getProgramParameter(program, gl.LINK_STATUS))
    throw new Error(`WebGL program: ${gl.getProgramInfoLog(program)}`);
  return program;
}

function compile(gl, type, source) {
  const shader = gl.createShader(type);
  gl.shaderSource(shader, source);
  gl.compileShader(shader);
  if (!gl.getShaderParameter(shader, gl.COMPILE_STATUS))
    throw new Error(`WebGL shader: ${gl.getShaderInfoLog(shader)}`);
  return shader;
}

// Indexes 0..count-1 ordered by layer (a stable counting sort), and where
// each layer's run starts: starts[layer]..starts[layer + 1].
function groupByLayer(layerOf, count, layerCount) {
  const starts = new Uint32Array(layerCount + 1);
  for (let i = 0; i < count; ++i) ++starts[layerOf[i] + 1];
  for (let l = 0; l < layerCount; ++l) starts[l + 1] += starts[l];
  const next = starts.slice(0, layerCount);
  const order = new Uint32Array(count);
  for (let i = 0; i < count; ++i) order[next[layerOf[i]]++] = i;
  return { order, starts };
}

export class Renderer {
  // Throws when the browser has no WebGL.
  constructor(canvas) {
    this.canvas = canvas;
    // No multisampling: crisp one-pixel lines in their exact colour, and cheaper.
    const options = { antialias: false, alpha: false, preserveDrawingBuffer: false };
    const gl = canvas.getContext("webgl", options);
    if (!gl) throw new Error("this browser gives the page no WebGL context");
    this.gl = gl;
    const program = link(gl, kVertexShader, kFragmentShader);
    this.program = program;
    this.imageProgram = link(gl, kImageVertexShader, kImageFragmentShader);
    this.imageAt = {
      corner: gl.getAttribLocation(this.imageProgram, "corner"),
      rect: gl.getUniformLocation(this.imageProgram, "rect"),
      image: gl.getUniformLocation(this.imageProgram, "image"),
    };
    this.cornerBuffer = gl.createBuffer();
    gl.bindBuffer(gl.ARRAY_BUFFER, this.cornerBuffer);
    gl.bufferData(gl.ARRAY_BUFFER, new Float32Array([0, 0, 1, 0, 0, 1, 1, 1]), gl.STATIC_DRAW);
    this.picture = null;   // {texture, framebuffer, width, height, view, key}
    this.at = {
      position: gl.getAttribLocation(program, "position"),
      offset: gl.getUniformLocation(program, "offset"),
      toClip: gl.getUniformLocation(program, "toClip"),
      nudge: gl.getUniformLocation(program, "nudge"),
      colour: gl.getUniformLocation(program, "colour"),
    };
    gl.enable(gl.BLEND);
    gl.blendFunc(gl.SRC_ALPHA, gl.ONE_MINUS_SRC_ALPHA);
    this.staticBuffer = gl.createBuffer();
    this.arcBuffer = gl.createBuffer();
    this.highlightBuffer = gl.createBuffer();
    this.highlightVertices = 0;
    this.arcLevel = null;
    this.selected = [];
    this.framesDrawn = 0;
  }

  // `layers` as /api/hello gives them; `origin` {x, y}: the extents' centre.
  setDrawing(drawing, layers, origin, extentsMin) {
    const gl = this.gl;
    this.drawing = drawing;
    this.layers = layers;
    this.origin = origin;
    const layerCount = layers.length;
    const clampLayer = (array) => array.map((l) => (l < layerCount ? l : 0));
    const lineLayers = clampLayer(drawing.lineLayers);
    const otherLayers = clampLayer(drawing.otherLayers);
    this.arcLayers = clampLayer(drawing.arcLayers);

    // Lines then others in one buffer, each grouped by layer.
    const lines = groupByLayer(lineLayers, drawing.lineCount, layerCount);
    const others = groupByLayer(otherLayers, drawing.otherCount, layerCount);
    const vertices = new Float32Array((drawing.lineCount + drawing.otherCount) * 4);
    let o = 0;
    for (const i of lines.order) {
      vertices[o++] = drawing.lines[4 * i] - origin.x;
      vertices[o++] = drawing.lines[4 * i + 1] - origin.y;
      vertices[o++] = drawing.lines[4 * i + 2] - origin.x;
      vertices[o++] = drawing.lines[4 * i + 3] - origin.y;
    }
    // Others come relative to the extents' minimum; the shift is a double.
    const sx = extentsMin[0] - origin.x, sy = extentsMin[1] - origin.y;
    for (const i of others.order) {
      vertices[o++] = drawing.others[4 * i] + sx;
      vertices[o++] = drawing.others[4 * i + 1] + sy;
      vertices[o++] = drawing.others[4 * i + 2] + sx;
      vertices[o++] = drawing.others[4 * i + 3] + sy;
    }
    gl.bindBuffer(gl.ARRAY_BUFFER, this.staticBuffer);
    gl.bufferData(gl.ARRAY_BUFFER, vertices, gl.STATIC_DRAW);
    this.lineRuns = lines.starts;     // in segments; vertex = 2 * segment
    this.otherRuns = others.starts.map((s) => s + drawing.lineCount);
    this.arcGroups = groupByLayer(this.arcLayers, drawing.arcCount, layerCount);
    this.arcLevel = null;
    this.heavy = drawing.lineCount + drawing.otherCount + drawing.arcCount >= kHeavySegments;
    this.picture = null;
    this.setSelection(this.selected);
  }

  // Entity indexes of the selection, highlighted over everything.
  setSelection(entities) {
    this.selected = entities;
    this.highlightLevel = null;
    this.picture = null;
  }

  // The zoom level the arcs were cut for: chords are cut for the largest
  // scale of a power-of-two band, so they stay fine until the next band.
  levelOf(scale) {
    return Math.floor(Math.log2(scale));
  }

  arcChordCounts(scaleBound, indexes) {
    const arcs = this.drawing.arcs;
    const counts = new Uint32Array(indexes.length);
    let total = 0;
    indexes.forEach((i, k) => {
      counts[k] = chordCount(arcs[5 * i + 2] * scaleBound, sweepOf(arcs[5 * i + 3], arcs[5 * i + 4]));
      total += counts[k];
    });
    if (total > kChordBudget) {
      const shrink = kChordBudget / total;
      total = 0;
      counts.forEach((c, k) => { counts[k] = Math.max(2, Math.floor(c * shrink)); total += counts[k]; });
    }
    return { counts, total };
  }

  tessellate(indexes, scaleBound) {
    const { counts, total } = this.arcChordCounts(scaleBound, indexes);
    const out = new Float32Array(total * 4);
    const runs = new Uint32Array(indexes.length + 1);
    let offset = 0;
    indexes.forEach((i, k) => {
      offset = writeArcChords(this.drawing.arcs, i, counts[k], this.origin, out, offset);
      runs[k + 1] = offset / 4;
    });
    return { vertices: out, runs };
  }

  prepareArcs(level) {
    if (this.arcLevel === level) return;
    const gl = this.gl;
    const { vertices, runs } = this.tessellate(this.arcGroups.order, 2 ** (level + 1));
    gl.bindBuffer(gl.ARRAY_BUFFER, this.arcBuffer);
    gl.bufferData(gl.ARRAY_BUFFER, vertices, gl.STATIC_DRAW);
    // Per layer: the first chord of its first arc to the end of its last.
    const starts = this.arcGroups.starts;
    this.arcRuns = Array.from(starts, (s) => runs[s]);
    this.arcLevel = level;
  }

  prepareHighlight(level, directory) {
    if (this.highlightLevel === level) return;
    const gl = this.gl;
    const lineIndexes = [], arcIndexes = [];
    for (const entity of this.selected) {
      const where = directory.get(entity);
      if (where) (where.kind === "line" ? lineIndexes : arcIndexes).push(where.index);
    }
    const arcsPart = this.tessellate(arcIndexes, 2 ** (level + 1)).vertices;
    const vertices = new Float32Array(lineIndexes.length * 4 + arcsPart.length);
    let o = 0;
    const lines = this.drawing.lines;
    for (const i of lineIndexes) {
      vertices[o++] = lines[4 * i] - this.origin.x;
      vertices[o++] = lines[4 * i + 1] - this.origin.y;
      vertices[o++] = lines[4 * i + 2] - this.origin.x;
      vertices[o++] = lines[4 * i + 3] - this.origin.y;
    }
    vertices.set(arcsPart, o);
    gl.bindBuffer(gl.ARRAY_BUFFER, this.highlightBuffer);
    gl.bufferData(gl.ARRAY_BUFFER, vertices, gl.DYNAMIC_DRAW);
    this.highlightVertices = vertices.length / 2;
    this.highlightLevel = level;
  }

  // Draws one frame. `visible[layer]` false hides a layer; `directory` maps
  // entity indexes to lines and arcs (for the highlight). With `moving` a
  // heavy drawing shows its last picture moved to the view instead.
  draw(view, visible, directory, background, moving = false) {
    const gl = this.gl;
    const ratio = window.devicePixelRatio || 1;
    const w = Math.round(view.width * ratio), h = Math.round(view.height * ratio);
    if (this.canvas.width !== w || this.canvas.height !== h) {
      this.canvas.width = w;
      this.canvas.height = h;
    }
    ++this.framesDrawn;
    if (!this.drawing || !this.heavy) {
      gl.bindFramebuffer(gl.FRAMEBUFFER, null);
      this.drawScene(view, visible, directory, background, w, h);
      return;
    }
    const key = visible.join();
    const picture = this.picture;
    const fresh = picture && picture.width === w && picture.height === h && picture.key === key;
    if (!(moving && fresh)) {
      this.drawPicture(view, visible, directory, background, w, h, key);
    }
    this.showPicture(view, background, w, h);
  }

  // Draws the scene into the picture texture, for the view as it is now.
  drawPicture(view, visible, directory, background, w, h, key) {
    const gl = this.gl;
    let picture = this.picture;
    if (!picture || picture.width !== w || picture.height !== h) {
      if (picture) {
        gl.deleteTexture(picture.texture);
        gl.deleteFramebuffer(picture.framebuffer);
      }
      const texture = gl.createTexture();
      gl.bindTexture(gl.TEXTURE_2D, texture);
      gl.texImage2D(gl.TEXTURE_2D, 0, gl.RGBA, w, h, 0, gl.RGBA, gl.UNSIGNED_BYTE, null);
      for (const [name, value] of [[gl.TEXTURE_MIN_FILTER, gl.LINEAR], [gl.TEXTURE_MAG_FILTER, gl.LINEAR],
                                   [gl.TEXTURE_WRAP_S, gl.CLAMP_TO_EDGE], [gl.TEXTURE_WRAP_T, gl.CLAMP_TO_EDGE]])
        gl.texParameteri(gl.TEXTURE_2D, name, value);
      const framebuffer = gl.createFramebuffer();
      gl.bindFramebuffer(gl.FRAMEBUFFER, framebuffer);
      gl.framebufferTexture2D(gl.FRAMEBUFFER, gl.COLOR_ATTACHMENT0, gl.TEXTURE_2D, texture, 0);
      picture = { texture, framebuffer, width: w, height: h };
    }
    gl.bindFramebuffer(gl.FRAMEBUFFER, picture.framebuffer);
    this.drawScene(view, visible, directory, background, w, h);
    gl.bindFramebuffer(gl.FRAMEBUFFER, null);
    picture.key = key;
    picture.view = { centreX: view.centreX, centreY: view.centreY, scale: view.scale,
                     width: view.width, height: view.height };
    this.picture = picture;
  }

  // The picture on a quad where its drawing area is in the view now.
  showPicture(view, background, w, h) {
    const gl = this.gl;
    const p = this.picture.view;
    const halfW = p.width / 2 / p.scale, halfH = p.height / 2 / p.scale;
    const low = view.toScreen(p.centreX - halfW, p.centreY - halfH);
    const high = view.toScreen(p.centreX + halfW, p.centreY + halfH);
    const clipX = (x) => (2 * x) / view.width - 1, clipY = (y) => 1 - (2 * y) / view.height;
    gl.viewport(0, 0, w, h);
    gl.clearColor(background[0], background[1], background[2], 1);
    gl.clear(gl.COLOR_BUFFER_BIT);
    gl.useProgram(this.imageProgram);
    gl.disable(gl.BLEND);
    gl.activeTexture(gl.TEXTURE0);
    gl.bindTexture(gl.TEXTURE_2D, this.picture.texture);
    gl.uniform1i(this.imageAt.image, 0);
    gl.uniform4f(this.imageAt.rect, clipX(low.x), clipY(low.y), clipX(high.x), clipY(high.y));
    gl.bindBuffer(gl.ARRAY_BUFFER, this.cornerBuffer);
    gl.enableVertexAttribArray(this.imageAt.corner);
    gl.vertexAttribPointer(this.imageAt.corner, 2, gl.FLOAT, false, 0, 0);
    gl.drawArrays(gl.TRIANGLE_STRIP, 0, 4);
    gl.disableVertexAttribArray(this.imageAt.corner);
    gl.enable(gl.BLEND);
  }

  drawScene(view, visible, directory, background, w, h) {
    const gl = this.gl;
    gl.useProgram(this.program);
    gl.viewport(0, 0, w, h);
    gl.clearColor(background[0], background[1], background[2], 1);
    gl.clear(gl.COLOR_BUFFER_BIT);
    if (!this.drawing) return;
    const level = this.levelOf(view.scale);
    this.prepareArcs(level);
    this.prepareHighlight(level, directory);
    gl.uniform2f(this.at.offset, this.origin.x - view.centreX, this.origin.y - view.centreY);
    gl.uniform2f(this.at.toClip, (2 * view.scale) / view.width, (2 * view.scale) / view.height);
    gl.uniform2f(this.at.nudge, 0, 0);
    gl.enableVertexAttribArray(this.at.position);

    const drawRuns = (buffer, runs, alpha) => {
      gl.bindBuffer(gl.ARRAY_BUFFER, buffer);
      gl.vertexAttribPointer(this.at.position, 2, gl.FLOAT, false, 0, 0);
      this.layers.forEach((layer, l) => {
        const count = runs[l + 1] - runs[l];
        if (!visible[l] || count === 0) return;
        const [r, g, b] = layer.color;
        gl.uniform4f(this.at.colour, r / 255, g / 255, b / 255, alpha);
        gl.drawArrays(gl.LINES, 2 * runs[l], 2 * count);
      });
    };
    drawRuns(this.staticBuffer, this.otherRuns, kOtherAlpha);
    drawRuns(this.staticBuffer, this.lineRuns, 1);
    drawRuns(this.arcBuffer, this.arcRuns, 1);

    if (this.highlightVertices > 0) {
      gl.bindBuffer(gl.ARRAY_BUFFER, this.highlightBuffer);
      gl.vertexAttribPointer(this.at.position, 2, gl.FLOAT, false, 0, 0);
      gl.uniform4f(this.at.colour, ...kHighlight);
      // Three passes a pixel apart: a line twice as thick as the others.
      for (const [dx, dy] of [[0, 0], [1, 0], [0, 1]]) {
        gl.uniform2f(this.at.nudge, (2 * dx) / w, (2 * dy) / h);
        gl.drawArrays(gl.LINES, 0, this.highlightVertices);
      }
    }
  }
}
