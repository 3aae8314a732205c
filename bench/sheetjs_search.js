#!/usr/bin/env node
// Peer for the benchmark: the same search written on SheetJS. Walks FOLDER (hidden entries
// skipped, sub-folders included), opens every .xls/.xlsx/.csv and prints each cell whose
// displayed text, formula or comment contains WORD (case-insensitive).
//   node sheetjs_search.js FOLDER WORD   (NODE_PATH must reach the xlsx package)
const fs = require('fs');
const path = require('path');
const XLSX = require('xlsx');

const [folder, word] = process.argv.slice(2);
const needle = word.toLowerCase();
const types = new Set(['.xls', '.xlsx', '.csv']);

function* walk(dir) {
  const entries = fs.readdirSync(dir, { withFileTypes: true })
    .filter((e) => !e.name.startsWith('.'))
    .sort((a, b) => a.name.localeCompare(b.name, undefined, { sensitivity: 'base' }));
  for (const e of entries) {
    if (e.isFile() && types.has(path.extname(e.name).toLowerCase())) yield path.join(dir, e.name);
  }
  for (const e of entries) if (e.isDirectory()) yield* walk(path.join(dir, e.name));
}

let hits = 0;
for (const file of walk(folder)) {
  const book = XLSX.readFile(file, { cellFormula: true, cellNF: true, cellText: true });
  book.SheetNames.forEach((name, index) => {
    const sheet = book.Sheets[name];
    for (const ref of Object.keys(sheet)) {
      if (ref[0] === '!') continue;
      const cell = sheet[ref];
      const text = String(cell.w ?? cell.v ?? '');
      const formula = cell.f ? '=' + cell.f : '';
      const comment = (cell.c || []).map((c) => c.t).join('\n');
      if ([text, formula, comment].some((s) => s.toLowerCase().includes(needle))) {
        hits++;
        process.stdout.write(`${file}\t${index + 1}\t${name}\t${ref}\t${text}\n`);
      }
    }
  });
}
process.stderr.write(`${hits} hits\n`);
