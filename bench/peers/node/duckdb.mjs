// DuckDB: the three lists of two files, in file order with duplicates kept.
import { DuckDBInstance } from '@duckdb/node-api';
import { parseArgs } from './args.mjs';
const { matchCase, out, files } = parseArgs(process.argv.slice(2));
const q = (s) => "'" + s.replaceAll("'", "''") + "'";
const inst = await DuckDBInstance.create(':memory:');
const con = await inst.connect();
const key = matchCase ? 'line' : 'lower(line)';
for (const [name, f] of [['a', files[0]], ['b', files[1]]]) {
  await con.run(`CREATE TABLE ${name} AS SELECT n, line, ${key} AS k FROM (
      SELECT generate_subscripts(l, 1) AS n, unnest(l) AS line FROM (
        SELECT string_split(replace(content, chr(13), ''), chr(10)) AS l FROM read_text(${q(f)})))`);
}
const lists = [['both', 'a', 'k IN (SELECT k FROM b)'], ['only-in-1', 'a', 'k NOT IN (SELECT k FROM b)'],
               ['only-in-2', 'b', 'k NOT IN (SELECT k FROM a)']];
for (const [opt, t, cond] of lists) {
  if (!out[opt]) continue;
  await con.run(`COPY (SELECT line || chr(13) FROM ${t} WHERE ${cond} ORDER BY n)
                 TO ${q(out[opt])} (FORMAT csv, HEADER false, QUOTE '', ESCAPE '', DELIMITER chr(1))`);
}
