// daff: the table diff of two CSV files keyed on their first column.
//   node daff-records.mjs [--diff PATH] FILE1 FILE2
// Reads both files with daff's CSV parser, aligns the rows on the key and
// writes daff's highlighter diff (a CSV whose first column is "->" on each
// changed row, "+++" on added and "---" on removed ones) to --diff; prints the
// number of changed rows.
import fs from 'node:fs';
import daff from 'daff';
import { parseArgs } from './args.mjs';
const { out, files } = parseArgs(process.argv.slice(2));
const csv = new daff.Csv();
const [a, b] = files.map((f) => csv.makeTable(fs.readFileSync(f, 'utf8')));
const flags = new daff.CompareFlags();
flags.addPrimaryKey(a.getCell(0, 0));
const align = daff.compareTables(a, b, flags).align();
const diff = new daff.SimpleTable(0, 0);
new daff.TableDiff(align, flags).hilite(diff);
let changed = 0;
for (let r = 0; r < diff.get_height(); ++r) if (String(diff.getCell(0, r)).includes('->')) ++changed;
if (out.diff) fs.writeFileSync(out.diff, csv.renderTable(diff));
console.log(changed);
