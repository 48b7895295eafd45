// Writes the model-space entities of a drawing as LibreDWG-web converts it
// (its DwgDatabase) as DXF: the HEADER variables cadhost reads and the
// ENTITIES section, with every character beyond ASCII as a \U+XXXX escape so
// that the text does not depend on a code page. The importer's second way,
// for drawings that LibreDWG's own DXF writer fails on.

// LibreDWG's code page numbers and their DXF names.
const CODE_PAGES = {
  11: 'DOS437', 12: 'DOS850', 13: 'DOS852', 14: 'DOS855', 15: 'DOS857', 16: 'DOS860',
  17: 'DOS861', 18: 'DOS863', 19: 'DOS864', 20: 'DOS865', 21: 'DOS869', 22: 'ANSI_932',
  24: 'ANSI_950', 25: 'ANSI_949', 27: 'DOS866', 28: 'ANSI_1250', 29: 'ANSI_1251',
  30: 'ANSI_1252', 31: 'ANSI_936', 32: 'ANSI_1253', 33: 'ANSI_1254', 34: 'ANSI_1255',
  35: 'ANSI_1256', 36: 'ANSI_1257', 37: 'ANSI_874', 38: 'ANSI_932', 39: 'ANSI_936',
  40: 'ANSI_949', 41: 'ANSI_950', 44: 'ANSI_1258',
};

// `text` in ASCII: controls become blanks, other characters \U+XXXX escapes
// (those beyond the 16-bit range a '?').
function ascii(text) {
  let out = '';
  for (const c of String(text ?? '')) {
    const code = c.codePointAt(0);
    if (code < 0x20 || code === 0x7f) out += ' ';
    else if (code < 0x80) out += c;
    else if (code <= 0xffff) out += '\\U+' + code.toString(16).toUpperCase().padStart(4, '0');
    else out += '?';
  }
  return out;
}

function number(value) {
  const n = Number(value ?? 0);
  return Number.isFinite(n) ? String(n) : '0';
}

const DEGREES = 180 / Math.PI;
const PARTS = new Set(['ATTRIB', 'VERTEX', 'VERTEX_2D', 'VERTEX_3D', 'SEQEND']);

export function dxfFromDatabase(database, version, codePage) {
  const lines = [];
  const group = (code, value) => lines.push(String(code).padStart(3), value);
  const point = (base, p) => {
    group(base, number(p?.x));
    group(base + 10, number(p?.y));
    group(base + 20, number(p?.z));
  };
  // A zero direction is how the conversion leaves one it did not read.
  const extrusion = (e) => {
    const d = e.extrusionDirection;
    if (d && (d.x || d.y || d.z)) point(210, d);
  };

  group(0, 'SECTION');
  group(2, 'HEADER');
  group(9, '$ACADVER');
  group(1, version);
  group(9, '$DWGCODEPAGE');
  group(3, CODE_PAGES[codePage] ?? 'ANSI_1252');
  if (Number.isInteger(database.header?.INSUNITS)) {
    group(9, '$INSUNITS');
    group(70, String(database.header.INSUNITS));
  }
  group(0, 'ENDSEC');
  group(0, 'SECTION');
  group(2, 'ENTITIES');
  for (const e of database.entities) {
    // Parts of another entity (attributes of an INSERT, a polyline's
    // vertices) are not entities of their own in DXF.
    if (PARTS.has(e.type)) continue;
    const type = e.type === 'POLYLINE2D' || e.type === 'POLYLINE3D' ? 'POLYLINE' : e.type;
    group(0, ascii(type));
    group(5, ascii(e.handle));
    group(8, ascii(e.layer ?? '0'));
    switch (e.type) {
      case 'LINE':
        point(10, e.startPoint);
        point(11, e.endPoint);
        break;
      case 'ARC':
      case 'CIRCLE':
        point(10, e.center);
        group(40, number(e.radius));
        if (e.type === 'ARC') {
          group(50, number(e.startAngle * DEGREES));
          group(51, number(e.endAngle * DEGREES));
        }
        extrusion(e);
        break;
      case 'LWPOLYLINE':
        group(70, String((e.flag ?? 0) & 1));
        group(38, number(e.elevation));
        for (const v of e.vertices ?? []) {
          group(10, number(v.x));
          group(20, number(v.y));
        }
        extrusion(e);
        break;
      case 'POLYLINE2D':
      case 'POLYLINE3D':
        group(66, '1');
        group(70, String(e.type === 'POLYLINE3D' ? (e.flag ?? 0) | 8 : (e.flag ?? 0) & 1));
        point(10, { x: 0, y: 0, z: e.elevation ?? 0 });
        extrusion(e);
        for (const v of e.vertices ?? []) {
          group(0, 'VERTEX');
          group(8, ascii(e.layer ?? '0'));
          point(10, v);
        }
        group(0, 'SEQEND');
        break;
      case 'TEXT':
        point(10, { ...e.startPoint, z: 0 });
        group(1, ascii(e.text));
        extrusion(e);
        break;
      case 'MTEXT':
        point(10, e.insertionPoint);
        group(1, ascii(e.text));
        break;
      case 'INSERT':
        group(2, ascii(e.name));
        point(10, e.insertionPoint);
        extrusion(e);
        break;
      case 'POINT':
        point(10, e.position);
        break;
      default:
        break;
    }
  }
  group(0, 'ENDSEC');
  group(0, 'EOF');
  return lines.join('\r\n') + '\r\n';
}
