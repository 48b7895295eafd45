#!/usr/bin/env node
// Writes a DWG drawing as DXF for cadhost: dwg-import.mjs DRAWING.dwg OUT.dxf
//
// The reading and the writing are LibreDWG's, built for WebAssembly
// (@mlightcad/libredwg-web): the DXF holds the drawing as LibreDWG reads it,
// in the DWG's own version and code page. cadhost runs this as a separate
// program and reads the DXF with its own reader.
//
// Only the HEADER and ENTITIES sections are kept: cadhost reads nothing
// else, and LibreDWG's writer is at its least sure in the others (objects of
// newer versions).
//
// Exit status: 0 the DXF is written; 2 the reader cannot read the drawing;
// 3 the reader package is not installed; 1 anything else. The last line on
// standard error says why.
import fs from 'node:fs';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import v8 from 'node:v8';

const EXIT_UNREADABLE = 2;
const EXIT_NO_READER = 3;
// LibreDWG's error bits from this one on mean nothing usable was read.
const CRITICAL_ERROR = 128;

function stop(status, message) {
  process.stderr.write(message + '\n');
  process.exit(status);
}

// The HEADER and ENTITIES sections of the DXF `dxf` (bytes, ASCII DXF as
// LibreDWG writes it), then EOF. Bytes stay as they are (latin1 maps each
// byte to one character and back).
function headerAndEntities(dxf) {
  const text = '\n' + Buffer.from(dxf).toString('latin1');
  let kept = '';
  for (const name of ['HEADER', 'ENTITIES']) {
    const start = text.search(new RegExp(`\\n *0\\r?\\nSECTION\\r?\\n *2\\r?\\n${name}\\r?\\n`));
    if (start < 0) continue;
    const end = /\n *0\r?\nENDSEC\r?\n/.exec(text.slice(start));
    if (!end) continue;
    kept += text.slice(start + 1, start + end.index + end[0].length);
  }
  return Buffer.from(kept + '  0\r\nEOF\r\n', 'latin1');
}

const [input, output] = process.argv.slice(2);
if (!input || !output) stop(1, 'usage: dwg-import.mjs DRAWING.dwg OUT.dxf');

// The reader is 9 MB of WebAssembly: its baseline code is quick enough, and
// optimising all of it costs more processor time than any drawing's reading.
v8.setFlagsFromString('--liftoff-only');

const here = path.dirname(fileURLToPath(import.meta.url));
const readerFile = path.join(here, 'node_modules/@mlightcad/libredwg-web/wasm/libredwg-web.js');
if (!fs.existsSync(readerFile))
  stop(EXIT_NO_READER, `the DWG reader package is not installed in ${here}`);
const { default: createModule } = await import(readerFile);

let contents;
try {
  contents = fs.readFileSync(input);
} catch (error) {
  stop(1, `cannot read ${input}: ${error.message}`);
}

// The reader's own messages go to standard error, the last kept for the
// refusal.
let lastMessage = '';
const tell = (text) => {
  if (text.trim()) lastMessage = text.trim();
  process.stderr.write(text + '\n');
};
try {
  const reader = await createModule({ print: tell, printErr: tell });
  reader.FS.writeFile('/drawing.dwg', contents);
  const error = reader.dwg_write_dxf('/drawing.dwg', '/drawing.dxf');
  const written = reader.FS.analyzePath('/drawing.dxf').exists;
  if (error >= CRITICAL_ERROR || !written)
    stop(EXIT_UNREADABLE, `LibreDWG error ${error}` + (lastMessage ? ` (${lastMessage})` : ''));
  fs.writeFileSync(output, headerAndEntities(reader.FS.readFile('/drawing.dxf')));
} catch (error) {
  stop(EXIT_UNREADABLE, `the reader stopped: ${error.message ?? error}`);
}
process.exit(0);
