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
const read = (f, n) => pl.readCSV(f, { inferSchemaLength: 0, rowIndexName: n, rowIndexOffset: 2 });
const a = read(files[0], 'n'), b = read(files[1], 'm');
const cols = a.columns.filter((c) => c !== 'n');
const key = cols[0];
const changed = await a.lazy().join(b.lazy().select(key).unique(), { on: key, how: 'semi' })
  .join(b.lazy().select(cols).unique(), { on: cols, how: 'anti' }).sort('n').collect();
if (out.changed) changed.select(...cols).writeCSV(out.changed, { includeHeader: false, lineTerminator: '\n' });
if (out.changes) {
  const bKeys = b.lazy().join(changed.lazy().select(key).unique(), { on: key, how: 'semi' });
  const fresh = bKeys.join(a.lazy().select(cols).unique(), { on: cols, how: 'anti' })
    .groupBy(key).agg(pl.col('m').min().alias('fresh'));
  const partner = bKeys.groupBy(key).agg(pl.col('m').min().alias('first'))
    .join(fresh, { on: key, how: 'left' })
    .select(key, pl.col('fresh').fillNull(pl.col('first')).alias('line_2'));
  const pairs = await changed.lazy().join(partner, { on: key, how: 'left' }).sort('n')
    .select(pl.col('n').alias('line_1'), 'line_2').collect();
  pairs.writeCSV(out.changes, { lineTerminator: '\n' });
}
