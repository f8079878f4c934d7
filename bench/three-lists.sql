-- The three lists of two text files, for a distributed engine (Spark SQL 3.4
-- or later): the lines of file 1 that file 2 holds ("both"), the lines only
-- in file 1 and the lines only in file 2, each in file order with duplicates
-- kept, as quillmark-compare --match-case gives them. One query: a semi join
-- and two anti joins, each row tagged with its list.
--
-- Put the two paths in place of FILE1 and FILE2 (HDFS, S3 or local). lineSep
-- '\n' ends a line at LF only, as the companion does; the default would also
-- end one at a lone CR. Every CR is then taken out of the line, so CR LF and
-- LF files compare alike. A text reader gives no empty line after the last
-- line end, where the companion counts one: for files that end in a line end,
-- its "both" list ends with one more empty item.
CREATE OR REPLACE TEMPORARY VIEW raw1 USING text OPTIONS (path 'FILE1', lineSep '\n');
CREATE OR REPLACE TEMPORARY VIEW raw2 USING text OPTIONS (path 'FILE2', lineSep '\n');

-- What keeps file order: a file is read in blocks, each block by one task
-- from start to end, and _metadata.file_block_start is the block's byte
-- offset in the file; monotonically_increasing_id() grows within a task in
-- the order the rows are read. So (blk, pos) orders the lines as the file
-- does, however the blocks were spread over tasks, with no shuffle and no
-- single-task sort. It is a position, not a count: for line numbers 1, 2, 3...
-- take row_number() OVER (ORDER BY blk, pos), which runs in one task.
--
-- Case-sensitive whole lines. To ignore case, as the companion does without
-- --match-case, compare keys instead of lines: add lower(line) AS k to f1 and
-- f2 and join ON f1.k = f2.k. (lower() folds some characters otherwise than
-- the companion's one-character-at-a-time lowering, such as a Turkish dotted
-- capital I or a final sigma; letters with a one-character lower case agree.)
WITH f1 AS (
  SELECT replace(value, char(13), '') AS line,
         _metadata.file_block_start AS blk,
         monotonically_increasing_id() AS pos
  FROM raw1),
f2 AS (
  SELECT replace(value, char(13), '') AS line,
         _metadata.file_block_start AS blk,
         monotonically_increasing_id() AS pos
  FROM raw2)
SELECT 'both' AS list, f1.blk, f1.pos, f1.line
  FROM f1 LEFT SEMI JOIN f2 ON f1.line = f2.line
UNION ALL
SELECT 'only in 1' AS list, f1.blk, f1.pos, f1.line
  FROM f1 LEFT ANTI JOIN f2 ON f1.line = f2.line
UNION ALL
SELECT 'only in 2' AS list, f2.blk, f2.pos, f2.line
  FROM f2 LEFT ANTI JOIN f1 ON f2.line = f1.line
ORDER BY list, blk, pos;
-- To write each list as a text file of its own, in order, rather than sort
-- everything into one result: INSERT OVERWRITE DIRECTORY ... USING text
-- SELECT line FROM (the query above) WHERE list = 'both' ORDER BY blk, pos,
-- once for each list; the files of that folder are in order by their names.
