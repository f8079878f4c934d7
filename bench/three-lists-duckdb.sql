-- The query of three-lists.sql in DuckDB (1.1 or later), on one machine.
-- Name the two files first, then run it:
--   SET VARIABLE file1 = 'a.txt';
--   SET VARIABLE file2 = 'b.txt';
--   .read bench/three-lists-duckdb.sql        (in the duckdb shell)
-- bench/check-sql-recipe.sh runs it and sets its lists beside the companion's.
--
-- read_csv reads raw lines here: one VARCHAR column, no header, no quote and
-- no escape character, and chr(31) as the delimiter, which text lines do not
-- hold. It ends a line at LF or CR LF, without the CR; an empty line comes as
-- NULL, hence coalesce. Its strict mode refuses a file with a CR inside a
-- line or a chr(31) rather than reading it some other way.
--
-- What keeps file order: row_number() OVER () over one table read alone
-- numbers the rows in the order they were read, and DuckDB keeps the file's
-- order in such a read (preserve_insertion_order, on by default). A text
-- reader gives no empty line after the last line end, where the companion
-- counts one: for files that end in a line end, its "both" list ends with
-- one more empty item.
--
-- Case-sensitive whole lines. To ignore case, as the companion does without
-- --match-case, add lower(line) AS k to f1 and f2 and join ON f1.k = f2.k.
WITH f1 AS (
  SELECT row_number() OVER () AS n, coalesce(line, '') AS line
  FROM read_csv(getvariable('file1'), columns = {'line': 'VARCHAR'}, header = false,
                delim = chr(31), quote = '', escape = '', auto_detect = false)),
f2 AS (
  SELECT row_number() OVER () AS n, coalesce(line, '') AS line
  FROM read_csv(getvariable('file2'), columns = {'line': 'VARCHAR'}, header = false,
                delim = chr(31), quote = '', escape = '', auto_detect = false))
SELECT 'both' AS list, f1.n, f1.line FROM f1 SEMI JOIN f2 ON f1.line = f2.line
UNION ALL
SELECT 'only in 1' AS list, f1.n, f1.line FROM f1 ANTI JOIN f2 ON f1.line = f2.line
UNION ALL
SELECT 'only in 2' AS list, f2.n, f2.line FROM f2 ANTI JOIN f1 ON f2.line = f1.line
ORDER BY list, n;
