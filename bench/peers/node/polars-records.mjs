// Polars: the changed records of two CSV files keyed on their first column, in
// the order of file 1 with duplicates kept, and each one's partner in file 2.
//   node polars-records.mjs [--changed PATH] [--changes PATH] FILE1 FILE2
// A record of file 1 is changed when file 2 holds its key but no record equal
// to it in every column. Its partner is the first record of file 2 with that
// key equal to no record of file 1, or else the first with that key. --changed
// gets the changed records as CSV lines; --changes the CSV line_1,line_2 of
// their line numbers (the header is line 1). Every field is read as text.
import pl from 'nodejs-polars';
import { parseArgs } from './args.mjs';
const { out, files } = parseArgs(process.argv.slice(2));
const scan = (f, n) => pl.scanCSV(f, { inferSchemaLength: 0, rowIndexName: n, rowIndexOffset: 2 });
const a = scan(files[0], 'n'), b = scan(files[1], 'm');
const cols = (await a.limit(0).collect()).columns.filter((c) => c !== 'n');
const key = cols[0];
const changed = a.join(b.select(key).unique(), { on: key, how: 'semi' })
  .join(b.select(cols).unique(), { on: cols, how: 'anti' });
const todo = [];
if (out.changed) {
  todo.push(changed.sort('n').select(cols).collect()
    .then((df) => df.writeCSV(out.changed, { includeHeader: false, lineTerminator: '\n' })));
}
if (out.changes) {
  const aRecords = a.select(cols).unique();
  const bKeys = b.join(changed.select(key).unique(), { on: key, how: 'semi' });
  const fresh = bKeys.join(aRecords, { on: cols, how: 'anti' }).groupBy(key).agg(pl.col('m').min().alias('fresh'));
  const first = bKeys.groupBy(key).agg(pl.col('m').min().alias('first'));
  const partner = first.join(fresh, { on: key, how: 'left' })
    .select(key, pl.col('fresh').fillNull(pl.col('first')).alias('line_2'));
  todo.push(changed.join(partner, { on: key, how: 'left' }).sort('n')
    .select(pl.col('n').alias('line_1'), 'line_2').collect()
    .then((df) => df.writeCSV(out.changes, { lineTerminator: '\n' })));
}
await Promise.all(todo);
