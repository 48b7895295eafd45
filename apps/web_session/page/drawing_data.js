// The drawing as /api/drawing.bin sends it: typed arrays over one buffer, no
// object per entity. Coordinates of lines and arcs are the drawing's doubles.

const kHeaderBytes = 32;

// Throws an Error naming what is wrong (magic, version, size) when `buffer`
// is not a drawing of version 1.
export function parseDrawing(buffer) {
  if (buffer.byteLength < kHeaderBytes)
    throw new Error(`drawing.bin: ${buffer.byteLength} bytes, shorter than its 32-byte header`);
  const head = new DataView(buffer, 0, kHeaderBytes);
  const magic = String.fromCharCode(...new Uint8Array(buffer, 0, 4));
  if (magic !== "TVDR") throw new Error(`drawing.bin: starts with "${magic}", not "TVDR"`);
  const version = head.getUint32(4, true);
  if (version !== 1) throw new Error(`drawing.bin: version ${version}, this page reads 1`);
  const lineCount = head.getUint32(8, true);
  const arcCount = head.getUint32(12, true);
  const otherCount = head.getUint32(16, true);
  const expected =
    kHeaderBytes + lineCount * 32 + arcCount * 40 + otherCount * 16 +
    (lineCount + arcCount + otherCount) * 4 + (lineCount + arcCount) * 4;
  if (buffer.byteLength !== expected)
    throw new Error(
      `drawing.bin: ${buffer.byteLength} bytes, but ${lineCount} lines, ${arcCount} arcs and ` +
      `${otherCount} others take ${expected}`);
  // Float64Array needs 8-byte alignment: the header is 32 bytes and lines 32
  // each, so arcs start aligned too. On a big-endian machine this would be
  // wrong; every browser this page targets is little-endian.
  let offset = kHeaderBytes;
  const take = (Type, count) => {
    const array = new Type(buffer, offset, count);
    offset += count * Type.BYTES_PER_ELEMENT;
    return array;
  };
  const lines = take(Float64Array, lineCount * 4);
  const arcs = take(Float64Array, arcCount * 5);
  const others = take(Float32Array, otherCount * 4);
  const lineLayers = take(Uint32Array, lineCount);
  const arcLayers = take(Uint32Array, arcCount);
  const otherLayers = take(Uint32Array, otherCount);
  const lineEntities = take(Uint32Array, lineCount);
  const arcEntities = take(Uint32Array, arcCount);
  return {
    lineCount, arcCount, otherCount, lines, arcs, others,
    lineLayers, arcLayers, otherLayers, lineEntities, arcEntities,
  };
}

// Entity index (as /api/handles and the selection events count) -> where it
// is: {kind: "line"|"arc", index}.
export function entityDirectory(drawing) {
  const directory = new Map();
  drawing.lineEntities.forEach((entity, index) => directory.set(entity, { kind: "line", index }));
  drawing.arcEntities.forEach((entity, index) => directory.set(entity, { kind: "arc", index }));
  return directory;
}
