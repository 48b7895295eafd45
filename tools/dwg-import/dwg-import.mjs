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
// newer versions). When that writer fails, or writes an ENTITIES section
// whose group codes are not numbers, the drawing is read again and its
// entities written from LibreDWG-web's own conversion (dxf-from-database.mjs).
//
// Exit status: 0 the DXF is written; 2 the reader cannot read the drawing;
// 3 the reader package is not installed; 1 anything else. The last line on
// standard error says why.
import fs from 'node:fs';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import v8 from 'node:v8';

import { dxfFromDatabase } from './dxf-from-database.mjs';

const EXIT_UNREADABLE = 2;
const EXIT_NO_READER = 3;
// LibreDWG's error bits from this one on mean nothing usable was read.
const CRITICAL_ERROR = 128;

// LibreDWG's critical error bits, for messages.
const CRITICAL_ERRORS = {
  128: 'its classes were not found', 256: 'a section was not found',
  512: 'a page was not found', 1024: 'LibreDWG had an internal error',
  2048: 'it is not a valid DWG', 4096: 'it could not be read from memory',
  8192: 'it needs more memory than the reader has',
};

function describeError(error) {
  const said = Object.entries(CRITICAL_ERRORS)
    .filter(([bit]) => (error & Number(bit)) !== 0)
    .map(([, what]) => what);
  return `${said.length ? said.join(', ') : 'it could not be read'} (LibreDWG error ${error})`;
}

function stop(status, message) {
  process.stderr.write(message + '\n');
  process.exit(status);
}

// The HEADER and ENTITIES sections of the DXF `dxf` (bytes, ASCII DXF as
// LibreDWG writes it), then EOF. Bytes stay as they are (latin1 maps each
// byte to one character and back).
// Null when the ENTITIES section is missing or a group code in it is no
// number (the writer's known fault: bytes of a long text spilling over).
function headerAndEntities(dxf) {
  const text = '\n' + Buffer.from(dxf).toString('latin1');
  let kept = '';
  for (const name of ['HEADER', 'ENTITIES']) {
    const start = text.search(new RegExp(`\\n *0\\r?\\nSECTION\\r?\\n *2\\r?\\n${name}\\r?\\n`));
    const end = start < 0 ? null : /\n *0\r?\nENDSEC\r?\n/.exec(text.slice(start));
    if (!end) {
      if (name === 'ENTITIES') return null;
      continue;
    }
    const section = text.slice(start + 1, start + end.index + end[0].length);
    if (name === 'ENTITIES' && !groupCodesAreNumbers(section)) return null;
    kept += section;
  }
  return Buffer.from(kept + '  0\r\nEOF\r\n', 'latin1');
}

function groupCodesAreNumbers(section) {
  const lines = section.split('\n');
  for (let i = 0; i + 1 < lines.length; i += 2)
    if (!/^ *-?\d{1,4}\r?$/.test(lines[i])) return false;
  return true;
}

// The drawing read anew and written from LibreDWG-web's conversion of it;
// null when the reader cannot read it either.
async function convertedDxf() {
  const { LibreDwg } = await import(
    path.join(here, 'node_modules/@mlightcad/libredwg-web/dist/libredwg-web.js'));
  const reader = await LibreDwg.create(path.join(here, 'node_modules/@mlightcad/libredwg-web/wasm/'));
  reader.FS.writeFile('/again.dwg', contents);
  const { error, data } = reader.dwg_read_file('/again.dwg');
  if (error >= CRITICAL_ERROR || !data) {
    failure = describeError(error);
    return null;
  }
  const version = reader.dwg_get_version_type(data).hdr;
  const codePage = reader.dwg_get_codepage(data);
  const database = reader.convert(data);
  reader.dwg_free(data);
  return Buffer.from(dxfFromDatabase(database, version, codePage), 'latin1');
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
let dxf = null;
let failure = '';
try {
  const reader = await createModule({ print: tell, printErr: tell });
  reader.FS.writeFile('/drawing.dwg', contents);
  const error = reader.dwg_write_dxf('/drawing.dwg', '/drawing.dxf');
  if (error < CRITICAL_ERROR && reader.FS.analyzePath('/drawing.dxf').exists)
    dxf = headerAndEntities(reader.FS.readFile('/drawing.dxf'));
  else failure = describeError(error);
} catch (error) {
  failure = `the reader stopped: ${error.message ?? error}`;
}
if (!dxf) {
  process.stderr.write(`LibreDWG's DXF writer failed (${failure || 'malformed entities'}); ` +
                       'writing the entities from the converted drawing\n');
  try {
    dxf = await convertedDxf();
  } catch (error) {
    failure = `the reader stopped: ${error.message ?? error}`;
  }
}
if (!dxf) stop(EXIT_UNREADABLE, failure || 'LibreDWG read no drawing');
fs.writeFileSync(output, dxf);
process.exit(0);
