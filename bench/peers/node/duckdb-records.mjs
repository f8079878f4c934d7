// DuckDB: the changed records of two CSV files keyed on their first column, in
// the order of file 1 with duplicates kept, and each one's partner in file 2.
//   node duckdb-records.mjs [--changed PATH] [--changes PATH] FILE1 FILE2
// A record of file 1 is changed when file 2 holds its key but no record equal
// to it in every column. Its partner is the first record of file 2 with that
// key equal to no record of file 1, or else the first with that key. --changed
// gets the changed records as CSV lines; --changes the CSV line_1,line_2 of
// their line numbers (the header is line 1). Every field is read as text.
import { DuckDBInstance } from '@duckdb/node-api';
import { parseArgs } from './args.mjs';
const { out, files } = parseArgs(process.argv.slice(2));
const q = (s) => "'" + s.replaceAll("'", "''") + "'";
const id = (s) => '"' + s.replaceAll('"', '""') + '"';
const inst = await DuckDBInstance.create(':memory:');
const con = await inst.connect();
// Tables keep the files' order (preserve_insertion_order), so rowid + 2 is the line.
for (const [t, f] of [['a', files[0]], ['b', files[1]]]) {
  await con.run(`CREATE TABLE ${t} AS SELECT * FROM read_csv(${q(f)}, header = true, all_varchar = true)`);
}
const cols = (await con.runAndReadAll('DESCRIBE a')).getRows().map((r) => id(r[0]));
const key = cols[0], list = cols.join(', ');
const same = (x, y) => cols.map((c) => `${x}.${c} = ${y}.${c}`).join(' AND ');
await con.run(`CREATE TABLE ch AS SELECT a.rowid + 2 AS n, a.* FROM a
  WHERE ${key} IN (SELECT ${key} FROM b)
    AND NOT EXISTS (SELECT 1 FROM b WHERE ${same('a', 'b')})`);
if (out.changed) {
  await con.run(`COPY (SELECT ${list} FROM ch ORDER BY n) TO ${q(out.changed)} (FORMAT csv, HEADER false)`);
}
if (out.changes) {
  await con.run(`COPY (
    WITH bk AS (SELECT b.rowid + 2 AS m, b.* FROM b WHERE ${key} IN (SELECT ${key} FROM ch)),
         p AS (SELECT ${key}, coalesce(min(m) FILTER (WHERE NOT EXISTS (SELECT 1 FROM a WHERE ${same('a', 'bk')})),
                                       min(m)) AS line_2
               FROM bk GROUP BY ${key})
    SELECT n AS line_1, line_2 FROM ch JOIN p USING (${key}) ORDER BY n)
    TO ${q(out.changes)} (FORMAT csv, HEADER true)`);
}
