// Polars: the three lists of two files, in file order with duplicates kept.
import pl from 'nodejs-polars';
import fs from 'node:fs';
import { parseArgs } from './args.mjs';
const { matchCase, out, files } = parseArgs(process.argv.slice(2));
const frame = (f) => {
  const lines = fs.readFileSync(f, 'utf8').replaceAll('\r', '').split('\n');
  const line = pl.Series('line', lines);
  return pl.DataFrame([line, (matchCase ? line : line.str.toLowerCase()).rename('k')]);
};
const a = frame(files[0]), b = frame(files[1]);
const inB = a.getColumn('k').isIn(b.getColumn('k').unique());
const inA = b.getColumn('k').isIn(a.getColumn('k').unique());
const write = (opt, df, mask) => {
  if (!out[opt]) return;
  const lines = df.filter(mask).getColumn('line').toArray();
  fs.writeFileSync(out[opt], lines.length ? lines.join('\r\n') + '\r\n' : '');
};
write('both', a, inB); write('only-in-1', a, inB.not()); write('only-in-2', b, inA.not());
