// DuckDB running a query file that gives the three lists as rows (list, n,
// line), such as bench/three-lists-duckdb.sql, on two files; each list is
// written as a text file, items ended by LF, in the order of n. Exact case:
// the query's own.
//   node sql-lists.mjs --sql QUERY.sql [--memory-limit 256MB] [--temp-dir DIR]
//        [--both PATH] [--only-in-1 PATH] [--only-in-2 PATH] FILE1 FILE2
// The query reads the files as getvariable('file1') and getvariable('file2').
import fs from 'node:fs';
import { DuckDBInstance } from '@duckdb/node-api';
import { parseArgs } from './args.mjs';
const { out, files } = parseArgs(process.argv.slice(2));
const q = (s) => "'" + s.replaceAll("'", "''") + "'";
const query = fs.readFileSync(out.sql, 'utf8').trim().replace(/;$/, '');
const inst = await DuckDBInstance.create(':memory:');
const con = await inst.connect();
if (out['memory-limit']) await con.run(`SET memory_limit = ${q(out['memory-limit'])}`);
if (out['temp-dir']) await con.run(`SET temp_directory = ${q(out['temp-dir'])}`);
await con.run(`SET VARIABLE file1 = ${q(files[0])}`);
await con.run(`SET VARIABLE file2 = ${q(files[1])}`);
// Each list is its own run of the query, filtered on the list column: DuckDB
// then leaves out the other two joins, and only that list is sorted (the
// query's closing ORDER BY list, n gives way to the COPY's ORDER BY n).
const body = query.replace(/\s+ORDER\s+BY\s+list\s*,\s*n$/i, '');
for (const [opt, list] of [['both', 'both'], ['only-in-1', 'only in 1'], ['only-in-2', 'only in 2']]) {
  if (!out[opt]) continue;
  await con.run(`COPY (SELECT line FROM (${body}) WHERE list = ${q(list)} ORDER BY n)
                 TO ${q(out[opt])} (FORMAT csv, HEADER false, QUOTE '', ESCAPE '', DELIMITER chr(1))`);
}
