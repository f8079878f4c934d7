#!/usr/bin/env python3
"""Speed benchmark: quillmark-compare against common command-line ways of
getting the same three lists.

Run from anywhere (`make bench` runs it from the repo root):

    python3 bench/bench.py

Settings (environment variables):
    QUILLMARK_COMPARE   path of the companion (default: build/quillmark-compare)
    BENCH_QUICK=1       only the 100,000-line pair, for a quick check
    BENCH_SIZES         comma list of pair sizes, e.g. "100k,1M" (default "100k,1M,10M")
    BENCH_REPS          runs per contender, overriding the per-size defaults
    BENCH_CONTENDERS    comma list of contender names to run (the companion always runs)
    BENCH_RECORDS       on (default), off, or only: the CSV records section on a key
    BENCH_WAIT_QUIET    seconds a records row may wait for other processes to stop (default 0)
    BENCH_DISK          off (default), on, or only: very large inputs, the companion
                        comparing from disk (--memory, --temp-dir) against in memory,
                        DuckDB under the same memory limit, and cat
    BENCH_DISK_SIZES    comma list of pair sizes for it (default "10M"; "10M,100M": 100M
                        is about 6 GB a file)
    BENCH_DISK_DATA     where its pairs, lists and temporary files go (default
                        ../bigdata beside the checkout; never inside the checkout)
    BENCH_DISK_MEMORY   its --memory for every size (default 256M up to 10M lines, 2G above)

Test files are made by gen.py into build/bench-data/<lines>/ and kept
there for the next run (the disk section's in BENCH_DISK_DATA). The SQL
recipe's DuckDB form (three-lists-duckdb.sql) is checked against the
companion on the 1M pair in every run. The table is printed and written to
build/bench-results.md. The exit status is 1 if any contender's lists
differ from the companion's, 2 if something could not be run.
"""

import dataclasses
import filecmp
import hashlib
import json
import os
import platform
import shlex
import shutil
import statistics
import subprocess
import sys
import tempfile
import threading
import time
from pathlib import Path
from typing import Callable

BENCH_DIR = Path(__file__).resolve().parent
ROOT = BENCH_DIR.parent
PEERS = BENCH_DIR / "peers"
DATA_DIR = ROOT / "build" / "bench-data"
RESULTS_FILE = ROOT / "build" / "bench-results.md"
COMPANION = Path(os.environ.get("QUILLMARK_COMPARE", ROOT / "build" / "quillmark-compare"))
GNU_TIME = "/usr/bin/time"

EXACT = "exact"
IGNORE = "ignored"

# How a contender's lists are checked against the companion's:
SAME_BYTES = "bytes"   # same command-line semantics and output format: files must be identical
SAME_LINES = "lines"   # line-oriented tool: compared after normalising (see line_view)
NOT_CHECKED = None     # different output (sorted, de-duplicated, other case folding)


@dataclasses.dataclass
class Outputs:
    """The three list files one run writes."""
    folder: Path

    @property
    def both(self):
        return self.folder / "both.txt"

    @property
    def only1(self):
        return self.folder / "only-in-1.txt"

    @property
    def only2(self):
        return self.folder / "only-in-2.txt"

    def lists(self):
        return [("both", self.both), ("only in 1", self.only1), ("only in 2", self.only2)]


@dataclasses.dataclass
class Contender:
    name: str
    # command(mode, file1, file2, outputs) -> argv
    command: Callable[[str, Path, Path, Outputs], list]
    modes: tuple = (EXACT, IGNORE)
    check: dict = dataclasses.field(default_factory=lambda: {EXACT: SAME_LINES, IGNORE: SAME_LINES})
    sizes: Callable[[int], bool] = lambda lines: True
    reps: Callable[[int], int] = None  # runs for a pair of this many lines (default: default_reps)
    tools: tuple = ()     # programs that must be installed
    note: str = ""        # one line for the notes under the table
    warm_always: bool = False  # warm runs at every size, not only up to 1M lines


# ---------------------------------------------------------------------------
# Contenders

def default_reps(lines):
    """Runs per contender, fewer for bigger pairs (BENCH_REPS overrides)."""
    if lines <= 200_000:
        return 5
    if lines <= 2_000_000:
        return 3
    return 2


def companion_command(mode, f1, f2, out, options=()):
    argv = [str(COMPANION)]
    if mode == EXACT:
        argv.append("--match-case")
    return argv + list(options) + ["--both", str(out.both), "--only-in-1", str(out.only1),
                                   "--only-in-2", str(out.only2), str(f1), str(f2)]


def companion_with(*options):
    return lambda mode, f1, f2, out: companion_command(mode, f1, f2, out, options)


def python_command(mode, f1, f2, out):
    return [sys.executable, str(PEERS / "pyjoin.py")] + companion_command(mode, f1, f2, out)[1:]


def awk_command(awk):
    def command(mode, f1, f2, out):
        # Exact comparison is byte comparison, so the C locale is fine (and
        # fastest); ignoring case needs a UTF-8 locale for tolower().
        locale = "LC_ALL=C" if mode == EXACT else "LC_ALL=C.UTF-8"
        return ["env", locale, awk, "-v", f"icase={int(mode == IGNORE)}",
                "-v", f"both={out.both}", "-v", f"only1={out.only1}", "-v", f"only2={out.only2}",
                "-f", str(PEERS / "join.awk"), str(f2), "pass=2", str(f1), "pass=3", str(f2)]
    return command


def grep_command(mode, f1, f2, out):
    # In a UTF-8 locale, grep -Fxi with 100,000 patterns did not finish in
    # ten minutes, so -i runs in the C locale, where only A-Z fold.
    argv = ["env", "LC_ALL=C", str(PEERS / "grep.sh")]
    if mode == IGNORE:
        argv.append("-i")
    return argv + [str(f1), str(f2), str(out.both), str(out.only1), str(out.only2)]


def sortcomm_command(mode, f1, f2, out):
    return [str(PEERS / "sortcomm.sh"), str(f1), str(f2), str(out.both), str(out.only1), str(out.only2)]


NODE_PEERS = PEERS / "node"


def node_command(script):
    """A data engine driven from Node.js with the companion's command line."""
    def command(mode, f1, f2, out):
        return ["node", str(NODE_PEERS / script)] + companion_command(mode, f1, f2, out)[1:]
    return command


CONTENDERS = [
    # The reference: every other row is set against its median, and a run on
    # this machine drifts by a tenth or more, so it takes five runs at every size.
    Contender("quillmark-compare", companion_command, reps=lambda n: 5),
    Contender("quillmark-compare --ignore-blanks", companion_with("--ignore-blanks"),
              sizes=lambda n: n <= 1_000_000, check={EXACT: NOT_CHECKED, IGNORE: NOT_CHECKED},
              note="--ignore-blanks / --each-once rows: the companion with that option; other "
                   "lists by design, so not checked; time vs the companion is the option's cost."),
    Contender("quillmark-compare --each-once", companion_with("--each-once"),
              sizes=lambda n: n <= 1_000_000, check={EXACT: NOT_CHECKED, IGNORE: NOT_CHECKED}),
    Contender("python set join", python_command,
              check={EXACT: SAME_BYTES, IGNORE: SAME_BYTES},
              reps=lambda n: 1 if n > 2_000_000 else default_reps(n),
              note="python set join: bench/peers/pyjoin.py, same command line and output as the companion."),
    Contender("DuckDB", node_command("duckdb.mjs"), check={EXACT: SAME_BYTES, IGNORE: SAME_BYTES},
              reps=lambda n: 1 if n > 2_000_000 else default_reps(n), tools=("node",),
              note="DuckDB: bench/peers/node/duckdb.mjs, read_text and string_split, lower() keys, "
                   "IN / NOT IN ordered by line number, COPY to the list files."),
    Contender("Polars", node_command("polars.mjs"), check={EXACT: SAME_BYTES, IGNORE: SAME_BYTES},
              sizes=lambda n: n <= 2_000_000, tools=("node",),
              note="Polars: bench/peers/node/polars.mjs, lines split by Node.js, str.toLowerCase() "
                   "keys and isIn over the other file's unique keys; up to 1M lines, as Node.js "
                   "holds no string over 512 MB (a 10M-line file is 580 MB)."),
    Contender("gawk", awk_command("gawk"), sizes=lambda n: n <= 1_000_000, tools=("gawk",),
              note="gawk / mawk: bench/peers/join.awk, the NR==FNR hash idiom; ignored case via tolower() in C.UTF-8."),
    Contender("mawk", awk_command("mawk"), modes=(EXACT,), sizes=lambda n: n <= 1_000_000, tools=("mawk",),
              note="mawk: exact case only (its tolower() folds A-Z only)."),
    Contender("grep -Fxf", grep_command, sizes=lambda n: n <= 100_000, reps=lambda n: 3, tools=("grep",),
              check={EXACT: SAME_LINES, IGNORE: NOT_CHECKED},
              note="grep -Fxf: bench/peers/grep.sh, three grep -Fx[v]f runs; with ignored case it runs "
                   "as grep -i in the C locale (A-Z only), so that row is not checked."),
    Contender("sort | comm", sortcomm_command, modes=(EXACT,), sizes=lambda n: n <= 1_000_000,
              check={EXACT: NOT_CHECKED}, tools=("sort", "comm"),
              note="sort | comm: sorted, de-duplicated lists, so not the same lists; speed reference only."),
]

# --- More rows ---------------------------------------------------------------
# Anything that can write the three lists for a pair of files can be timed and
# checked the same way: append a Contender whose command() returns the argv of
# one run. For example:
#
#   CONTENDERS.append(Contender(
#       "some other tool", lambda mode, f1, f2, out: ["some-tool", ..., str(f1), str(f2)],
#       check={EXACT: SAME_BYTES, IGNORE: SAME_BYTES}))
#
# For a one-off measurement without the table, time_command(argv) returns the
# wall time in seconds and the peak resident memory in MB.
#
# Figures that do not fit the table (a GUI's own timings, say) go into
# EXTRA_SECTIONS: each entry is a function taking {lines: (file1, file2)} for
# the pairs of this run and returning Markdown text, which is printed and
# saved under the table.
EXTRA_SECTIONS = []

WINDOW_BENCH = ROOT / "build" / "quillmark-window-bench"


def window_section(pairs):
    """The window on the 1M and the largest pair of this run: click on "Start
    Comparing" to three painted lists with the longest time the window went
    without a repaint meanwhile, how soon Cancel gives the window back, then
    scrolling, finding, saving and copying the biggest list, each through the
    real commands, offscreen. A figure the window benchmark does not print
    shows as -."""
    if not WINDOW_BENCH.exists():
        return "The window benchmark was not built (build/quillmark-window-bench)."
    chosen = sorted({lines for lines in pairs if lines == 1_000_000} | {max(pairs)})
    columns = [("click to lists (s)", "click-to-lists-s", "%.2f"),
               ("longest gap between repaints (ms)", "longest-gap-between-repaints-ms", "%.0f"),
               ("Cancel at 50 %: window back (ms)", "cancel-at-50%-window-back-ms", "%.0f"),
               ("scroll frame median / max (ms)", ("scroll-frame-median-ms", "scroll-frame-max-ms"),
                "%.2f / %.2f"),
               ("find: whole list (s)", "find-whole-list-s", "%.2f"),
               ("save biggest list (s)", "save-s", "%.2f"),
               ("copy it, all checked (s)", "copy-s", "%.2f"),
               ("peak memory: comparing / whole run (MB)",
                ("peak-memory-first-comparison-mb", "peak-memory-mb"), "%.0f / %.0f")]
    rows = ["| window | lines | case | runs | " + " | ".join(c[0] for c in columns)
            + " | peak / inputs: comparing / whole run |",
            "|---|--:|---|--:|" + "--:|" * (len(columns) + 1)]
    for lines in chosen:
        file1, file2 = pairs[lines]
        inputs_mb = (file1.stat().st_size + file2.stat().st_size) / 2**20
        runs_per_mode = 3 if lines <= 1_000_000 else 1
        for mode, extra in ((EXACT, ["--match-case"]), (IGNORE, [])):
            runs = []
            for _ in range(runs_per_mode):
                time.sleep(3)  # a person clicks after some idle
                out = subprocess.run([str(WINDOW_BENCH), str(file1), str(file2)] + extra,
                                     capture_output=True, text=True,
                                     env=dict(os.environ, QT_QPA_PLATFORM="offscreen"))
                figures = {}
                for line in out.stdout.splitlines():
                    key, _, value = line.partition(":")
                    try:
                        figures[key.strip()] = float(value.strip().split(" ")[0])
                    except ValueError:
                        pass
                runs.append(figures)
                log(f"  window {lines:>11,} lines  {mode:<7}: {figures}")

            def median(key):
                values = [r[key] for r in runs if key in r]
                return statistics.median(values) if values else None

            cells = []
            for _, keys, fmt in columns:
                values = [median(k) for k in (keys if isinstance(keys, tuple) else (keys,))]
                cells.append("-" if None in values else fmt % tuple(values))
            peaks = [median(k) for k in ("peak-memory-first-comparison-mb", "peak-memory-mb")]
            ratio = " / ".join("-" if p is None else f"{p / inputs_mb:.2f}x" for p in peaks)
            rows.append(f"| Quillmark window | {lines:,} | {mode} | {len(runs)} | "
                        + " | ".join(cells) + f" | {ratio} |")
    return "\n".join(rows)


EXTRA_SECTIONS.append(window_section)

CRAFT_TOOL = ROOT / "build" / "quillmark-craft-lines"
CRAFTED_LIMIT = 2.0  # crafted lines may cost at most this many times ordinary ones


def crafted_inputs():
    """The crafted files and their ordinary counterparts, made (or reused) in
    build/bench-data/crafted/: [(label, lines, crafted, ordinary)]."""
    folder = DATA_DIR / "crafted"
    folder.mkdir(parents=True, exist_ok=True)
    (folder / "small.txt").write_text("x\n")
    gen, stamp = BENCH_DIR / "gen.py", folder / "stamp"
    want = (f"{hashlib.sha256(gen.read_bytes()).hexdigest()} "
            f"{hashlib.sha256(CRAFT_TOOL.read_bytes()).hexdigest()}\n")
    if not (stamp.exists() and stamp.read_text() == want):
        log(f"making the crafted lines in {folder} ...")
        subprocess.run([sys.executable, str(gen), "--fold", "100000", str(folder)], check=True)
        subprocess.run([str(CRAFT_TOOL), "200000", str(folder / "crafted.txt"),
                        str(folder / "crafted-ordinary.txt")], check=True)
        stamp.write_text(want)
    return [("'@' and '`' lines", 100_000, folder / "fold.txt", folder / "fold-ordinary.txt"),
            ("lines crafted against a fixed seed", 200_000, folder / "crafted.txt",
             folder / "crafted-ordinary.txt")], folder / "small.txt"


def crafted_section(pairs):
    """Lines made to collide, against ordinary lines of the same number and
    sizes: the '@'/'`' lines that a hash setting the 0x20 bit of every byte to
    ignore case made collide under any seed, and lines whose hashes under one
    fixed seed all want the same slots (bench/craft_lines.cpp), as file 1
    against a one-line file 2. First runs; each at most CRAFTED_LIMIT times the
    ordinary lines' time."""
    if not CRAFT_TOOL.exists():
        return "The crafted lines were not made: build/quillmark-craft-lines was not built."
    inputs, small = crafted_inputs()
    runs = int(os.environ.get("BENCH_REPS") or 3)
    rows = ["| crafted lines | lines | case | runs | crafted first run (s) "
            "| ordinary first run (s) | crafted / ordinary |",
            "|---|--:|---|--:|--:|--:|--:|"]
    worst = 0.0
    for label, lines, crafted, ordinary in inputs:
        warm_cache(crafted, ordinary, small)
        for mode in (IGNORE, EXACT):
            option = ["--match-case"] if mode == EXACT else []
            times = [statistics.median(timed_runs([str(COMPANION)] + option + [str(f), str(small)],
                                                  runs, IDLE_SECONDS))
                     for f in (crafted, ordinary)]
            ratio = times[0] / times[1]
            worst = max(worst, ratio)
            log(f"  crafted: {label}, {lines:,} lines, case {mode}: {times[0]:.3f} s against "
                f"{times[1]:.3f} s")
            rows.append(f"| {label} | {lines:,} | {mode} | {runs} | {times[0]:.3f} | "
                        f"{times[1]:.3f} | {ratio:.2f}x |")
    verdict = "met" if worst <= CRAFTED_LIMIT else "**NOT MET**"
    return "\n".join(rows + ["", f"- Crafted lines at most {CRAFTED_LIMIT:.0f}x the ordinary "
                                  f"lines' time: {verdict} (worst {worst:.2f}x)."])


EXTRA_SECTIONS.append(crafted_section)


# What each matching option costs, set against the plain comparison of the
# same pair, first runs, case ignored: (label, options, most it may cost).
OPTION_COSTS = [
    ("--field 1 --delimiter ,", ["--field", "1", "--delimiter", ","], 1.5),
    ("--key-pattern '^(\\S+)'", ["--key-pattern", r"^(\S+)"], 3.0),
    ("--look-alike", ["--look-alike"], 1.5),
    ("--near-misses", ["--near-misses", "{out}/near-misses.tsv"], 1.3),
    # Letter case matched, lines that differ only in case are look-alikes: the
    # near misses' busiest case, against the plain run with --match-case.
    ("--match-case --near-misses", ["--match-case", "--near-misses", "{out}/near-misses.tsv"], 1.5),
    ("--csv", ["--csv", "{out}/lists.csv"], 1.3),
    ("--summary", ["--summary"], 1.3),
    ("--skip-empty", ["--skip-empty"], 1.05),
]


def shown_path(path):
    """path relative to the checkout when it lies inside it, as results are kept in git."""
    try:
        return str(Path(path).resolve().relative_to(ROOT))
    except ValueError:
        return str(path)


def companion_options():
    """The options the companion's --help lists."""
    text = subprocess.run([str(COMPANION), "--help"], capture_output=True, text=True).stdout
    return {word.rstrip(",=") for word in text.split() if word.startswith("--")}


def options_section(pairs):
    """Each matching option against the plain comparison on the 1M and 10M
    pairs: first runs, all three lists written, case ignored; the ratio and
    whether it stays within what the option may cost."""
    chosen = [lines for lines in sorted(pairs) if lines >= 1_000_000]
    if not chosen:
        return "Option costs: measured on the 1M and 10M pairs only."
    known = companion_options()
    runs = int(os.environ.get("BENCH_REPS") or 3)
    rows = ["| option | lines | runs | plain first run (s) | with the option (s) | ratio | at most |",
            "|---|--:|--:|--:|--:|--:|--:|"]
    verdicts = []
    for lines in chosen:
        f1, f2 = pairs[lines]
        out = DATA_DIR / "out" / "options"
        out.mkdir(parents=True, exist_ok=True)
        lists = ["--both", str(out / "both.txt"), "--only-in-1", str(out / "1.txt"),
                 "--only-in-2", str(out / "2.txt")]
        warm_cache(f1, f2)
        # Each option and the plain runs it is set against, interleaved: a run
        # of each in turn, so that a busy moment of the machine falls on all.
        # Without a list option the companion prints the counts, as --summary
        # does; --csv writes the lists as one CSV file instead of three.
        bases = {"plain": [str(COMPANION)] + lists,
                 "plain, --match-case": [str(COMPANION), "--match-case"] + lists,
                 "counts": [str(COMPANION)]}
        measured = [(label, options, limit) for label, options, limit in OPTION_COSTS
                    if all(o in known for o in options if o.startswith("--"))]

        def base_of(options):
            if options[0] == "--summary":
                return "counts"
            return "plain, --match-case" if "--match-case" in options else "plain"

        def argv_of(options):
            argv = [str(COMPANION)] + [o.replace("{out}", str(out)) for o in options]
            return argv + (lists if options[0] not in ("--summary", "--csv") else [])

        times = {name: [] for name in bases}
        times.update({label: [] for label, _, _ in measured})
        for _ in range(runs):
            for name, argv in bases.items():
                times[name] += timed_runs(argv + [str(f1), str(f2)], 1, IDLE_SECONDS)
            for label, options, _ in measured:
                times[label] += timed_runs(argv_of(options) + [str(f1), str(f2)], 1,
                                           IDLE_SECONDS)
        for label, options, limit in measured:
            took = statistics.median(times[label])
            base = statistics.median(times[base_of(options)])
            plain = base
            ratio = took / base
            verdicts.append((label, lines, ratio, limit))
            log(f"  option {label}, {lines:,} lines: {took:.3f} s against {plain:.3f} s")
            rows.append(f"| `{label}` | {lines:,} | {runs} | {base:.3f} | {took:.3f} | "
                        f"{ratio:.2f}x | {limit:.2f}x |")
        shutil.rmtree(out, ignore_errors=True)
    over = [f"{label} at {lines:,} ({ratio:.2f}x)" for label, lines, ratio, limit in verdicts
            if ratio > limit]
    verdict = "all met" if not over else "**NOT MET**: " + ", ".join(over)
    return "\n".join(rows + ["", f"- Each option within its bound: {verdict}. `--summary` "
                                  "writes no list, so it is set against the plain run that prints "
                                  "the counts; `--csv` writes the lists as one file instead of "
                                  "three; `--match-case` rows are set against the plain run with "
                                  "it. Runs interleaved, medians."])


EXTRA_SECTIONS.append(options_section)


# --- Records on a key ----------------------------------------------------------
# CSV pairs from gen_records.py (header id,name,email,city,score,updated; half
# the ids in both files, a third of those records changed in one or two
# fields; shuffled rows), compared on the id with exact case. The companion
# keyed as it is plain, with --changed, and with --changed and --changes,
# against Polars and DuckDB finding the same changed records and their
# partners, and daff on the smallest pair. BENCH_RECORDS=off leaves the
# section out, BENCH_RECORDS=only runs nothing else.

RECORDS = os.environ.get("BENCH_RECORDS", "on").strip().lower()
if RECORDS not in ("on", "off", "only"):
    sys.exit(f"bench: BENCH_RECORDS is on, off or only, not {RECORDS!r}")
CHANGES_TIME_LIMIT = 1.3    # --changed --changes against the plain keyed run: time
CHANGES_MEMORY_LIMIT = 1.2  # and peak memory
POLARS_SPEEDUP_TARGET = 5.0  # Polars' time over the companion's --changes run, at least
DAFF_MAX_ROWS = 100_000     # daff takes seconds per 100,000 rows and ~7x the inputs in memory
KEYED = ["--field", "1", "--header"]


def records_companion(*outputs):
    """The companion keyed on the first field, exact case, writing the three
    lists and the named extra outputs (option, file name) into its folder."""
    def command(mode, f1, f2, out):
        extra = [x for option, name in outputs for x in (option, str(out.folder / name))]
        return companion_command(EXACT, f1, f2, out, KEYED + extra)
    return command


def records_peer(script):
    def command(mode, f1, f2, out):
        return ["node", str(NODE_PEERS / script), "--changed", str(out.folder / "changed.csv"),
                "--changes", str(out.folder / "changes.csv"), str(f1), str(f2)]
    return command


def daff_command(mode, f1, f2, out):
    return ["node", str(NODE_PEERS / "daff-records.mjs"), "--diff", str(out.folder / "diff.csv"),
            str(f1), str(f2)]


RECORD_ROWS = [
    Contender("quillmark-compare, whole lines", lambda mode, f1, f2, out:
              companion_command(EXACT, f1, f2, out), reps=lambda n: 5, warm_always=True),
    Contender("quillmark-compare --field 1", records_companion(), reps=lambda n: 5,
              warm_always=True),
    Contender("quillmark-compare --field 1 --changed", records_companion(("--changed", "changed.txt")),
              reps=lambda n: 5, warm_always=True),
    Contender("quillmark-compare --field 1 --changed --changes",
              records_companion(("--changed", "changed.txt"), ("--changes", "changes.csv")),
              reps=lambda n: 5, warm_always=True),
    Contender("Polars", records_peer("polars-records.mjs"), tools=("node",),
              reps=lambda n: 2 if n > 2_000_000 else default_reps(n)),
    Contender("DuckDB", records_peer("duckdb-records.mjs"), tools=("node",),
              reps=lambda n: 2 if n > 2_000_000 else default_reps(n)),
    Contender("daff", daff_command, tools=("node",), sizes=lambda n: n <= DAFF_MAX_ROWS,
              reps=lambda n: 3),
]
RECORDS_PLAIN, RECORDS_CHANGES = RECORD_ROWS[1].name, RECORD_ROWS[3].name
NODE_PACKAGES = {"Polars": "nodejs-polars", "DuckDB": "@duckdb/node-api", "daff": "daff"}
# Problems the sections find, reported with the table's and setting the exit status.
SECTION_FAILURES = []


def node_package_ready(package):
    """Whether bench/peers/node has package; installs the peers once if not
    (an older checkout's node_modules may predate a peer)."""
    if (NODE_PEERS / "node_modules" / package).is_dir():
        return True
    if shutil.which("npm") is None:
        return False
    log(f"installing the Node.js peers ({package} is missing) ...")
    subprocess.run(["npm", "install", "--prefix", str(NODE_PEERS), "--no-audit", "--no-fund",
                    "--silent", "--engine-strict=false"], stdin=subprocess.DEVNULL)
    return (NODE_PEERS / "node_modules" / package).is_dir()


def ensure_records(rows):
    """Make (or reuse) the CSV pair with this many records a file."""
    folder = DATA_DIR / f"records-{rows}"
    gen = BENCH_DIR / "gen_records.py"
    stamp = folder / "stamp"
    want = f"{rows} {hashlib.sha256(gen.read_bytes()).hexdigest()}\n"
    if not (stamp.exists() and stamp.read_text() == want
            and (folder / "a.csv").exists() and (folder / "b.csv").exists()):
        log(f"generating the {rows:,}-record pair in {folder} ...")
        start = time.perf_counter()
        subprocess.run([sys.executable, str(gen), str(rows), str(folder)], check=True)
        stamp.write_text(want)
        log(f"  done in {time.perf_counter() - start:.1f} s")
    return folder / "a.csv", folder / "b.csv"


def csv_rows(path, encoding="utf-8"):
    import csv
    with open(path, newline="", encoding=encoding) as f:
        return [row for row in csv.reader(f) if row]


def check_changed(reference, outputs):
    """A peer's changed records and partners against the companion's --changed
    and the first two columns of its --changes. Returns (cell, problems)."""
    ours = (reference.folder / "changed.txt").read_bytes().replace(b"\r\n", b"\n")
    theirs = (outputs.folder / "changed.csv").read_bytes().replace(b"\r\n", b"\n")
    problems, cells = [], []
    if ours == theirs:
        cells.append("same changed lines")
    elif csv_rows(reference.folder / "changed.txt") == csv_rows(outputs.folder / "changed.csv"):
        cells.append("same changed records (quoted otherwise)")
    else:
        problems.append(f"changed records differ ({first_difference(ours, theirs)})")
    expected = "\n".join(",".join(r[:2]) for r in csv_rows(reference.folder / "changes.csv"))
    actual = "\n".join(",".join(r) for r in csv_rows(outputs.folder / "changes.csv"))
    if expected == actual:
        cells.append("same partners")
    else:
        problems.append(f"partners differ ({first_difference(expected.encode(), actual.encode())})")
    return ("**DIFFERENT**" if problems else ", ".join(cells)), problems


def check_daff(reference, outputs, f1, f2):
    """daff pairs repeated keys one to one, so only keys that each file holds
    once are set side by side: the same changed keys, and how many."""
    def keys(path):
        counts = {}
        for row in csv_rows(path)[1:]:
            counts[row[0]] = counts.get(row[0], 0) + 1
        return counts
    k1, k2 = keys(f1), keys(f2)
    single = lambda k: k1.get(k) == 1 and k2.get(k) == 1
    ours = [row[0] for row in csv_rows(reference.folder / "changed.txt")]
    theirs = [row[1] for row in csv_rows(outputs.folder / "diff.csv") if "->" in row[0]]
    ours_single, theirs_single = {k for k in ours if single(k)}, {k for k in theirs if single(k)}
    cell = (f"{len(theirs):,} changed rows against {len(ours):,}; on keys once in each file "
            f"{len(theirs_single):,} against {len(ours_single):,}")
    if ours_single != theirs_single:
        return "**DIFFERENT**: " + cell, [f"daff's changed keys differ: {cell}"]
    return "same changed keys once in each file (" + cell + ")", []


def others_running(seconds=1.0):
    """How many other processes were running, on average over seconds: the
    procs_running count of /proc/stat, less this process reading it."""
    samples = []
    for _ in range(int(seconds * 20)):
        for line in Path("/proc/stat").read_text().splitlines():
            if line.startswith("procs_running"):
                samples.append(int(line.split()[1]) - 1)
        time.sleep(0.05)
    return statistics.mean(samples) if samples else 0.0


def wait_until_quiet():
    """With BENCH_WAIT_QUIET=SECONDS, wait up to that long before a row until
    nothing else runs (a build, tests); returns what still ran, on average."""
    patience = float(os.environ.get("BENCH_WAIT_QUIET") or 0)
    deadline = time.monotonic() + patience
    busy = others_running()
    while busy > 0.5 and time.monotonic() < deadline:
        time.sleep(5)
        busy = others_running()
    return busy


def records_section(pairs):
    """The keyed comparison on the CSV pairs: each row's first-run and warm
    times and peak memory; the --changes run against the plain keyed run, the
    peers against the --changes run; the changed records checked."""
    sizes = record_sizes()
    reps = int(os.environ["BENCH_REPS"]) if os.environ.get("BENCH_REPS") else None
    rows, notes, verdicts, busy_rows = [], [], [], []
    for lines in sizes:
        f1, f2 = ensure_records(lines)
        warm_cache(f1, f2)
        notes.append(host_floor(lines, f1, f2).replace(" lines:", " records:"))
        out_root = DATA_DIR / "out" / f"records-{lines}"
        shutil.rmtree(out_root, ignore_errors=True)
        keep, results = False, {}
        for contender in RECORD_ROWS:
            if not contender.sizes(lines):
                continue
            if contender.name in NODE_PACKAGES and not (
                    shutil.which("node") and node_package_ready(NODE_PACKAGES[contender.name])):
                notes.append(f"{contender.name} skipped: node or {NODE_PACKAGES[contender.name]} "
                             "not installed.")
                continue
            busy = wait_until_quiet()
            warm_cache(f1, f2)
            try:
                outputs, row = run_contender(contender, lines, EXACT, f1, f2, out_root, reps)
            except RuntimeError as e:
                SECTION_FAILURES.append(f"records, {lines:,}: a run failed: {e}")
                keep = True
                continue
            results[contender.name] = (outputs, row)
            busy_rows.append(f"{busy:.1f}")
            reference = results.get(RECORDS_CHANGES, (None,))[0]
            if contender.name.startswith("quillmark-compare --field"):
                plain = results[RECORDS_PLAIN][0]
                problems = check_outputs(SAME_BYTES, plain, outputs)
                row.lists = "reference" if contender.name == RECORDS_PLAIN else (
                    "same lists" if not problems else "**DIFFERENT**")
            elif contender.name.startswith("quillmark-compare"):
                problems, row.lists = [], "-"
            elif reference is None:
                problems, row.lists = ["no companion --changes run to check against"], "not checked"
            elif contender.name == "daff":
                row.lists, problems = check_daff(reference, outputs, f1, f2)
            else:
                row.lists, problems = check_changed(reference, outputs)
            for p in problems:
                keep = True
                SECTION_FAILURES.append(f"records, {contender.name}, {lines:,}: {p} (files in "
                                        f"{outputs.folder})")
            rows.append(row)
        if not keep:
            shutil.rmtree(out_root, ignore_errors=True)
        plain = results.get(RECORDS_PLAIN, (None, None))[1]
        changes = results.get(RECORDS_CHANGES, (None, None))[1]
        for _, row in results.values():
            row.ratio = (row.median / plain.median, row.peak_mb / plain.peak_mb) if plain else None
            row.vs_changes = row.median / changes.median if changes else None
        if plain and changes:
            t, m = changes.median / plain.median, changes.peak_mb / plain.peak_mb
            verdicts.append(f"{lines:,} records: --changed --changes takes {t:.2f}x the time "
                            f"(at most {CHANGES_TIME_LIMIT}x: {'met' if t <= CHANGES_TIME_LIMIT else '**NOT MET**'}) "
                            f"and {m:.2f}x the peak memory (at most {CHANGES_MEMORY_LIMIT}x: "
                            f"{'met' if m <= CHANGES_MEMORY_LIMIT else '**NOT MET**'}) of the plain keyed run")
            for peer in ("Polars", "DuckDB"):
                if peer in results:
                    r = results[peer][1]
                    s = r.median / changes.median
                    target = (f" (at least {POLARS_SPEEDUP_TARGET:.0f}x: "
                              f"{'met' if s >= POLARS_SPEEDUP_TARGET else '**NOT MET**'})"
                              if peer == "Polars" else "")
                    verdicts.append(f"{lines:,} records: {peer} takes {s:.1f}x the time of the "
                                    f"companion's --changed --changes run{target}, "
                                    f"{r.peak_mb / changes.peak_mb:.1f}x its peak memory")
    table = ["| Records on a key | Records a file | Runs | First run (s) | Warm (s) "
             "| Peak RSS (MB) | Peak / inputs | Time / keyed | RSS / keyed "
             "| Time / --changes run | Lists |",
             "|---|--:|--:|--:|--:|--:|--:|--:|--:|--:|---|"]
    for r in rows:
        ratio = (f"{r.ratio[0]:.2f}x | {r.ratio[1]:.2f}x" if r.ratio else "- | -")
        faster = f"{r.vs_changes:.2f}x" if r.vs_changes else "-"
        table.append(f"| {r.name} | {r.lines:,} | {r.runs} | {r.median:.3f} | {r.warm:.3f} "
                     f"| {r.peak_mb:.0f} | {r.peak_mb / r.inputs_mb:.2f}x | {ratio} | {faster} "
                     f"| {r.lists} |")
    about = [
        "Pairs from bench/gen_records.py: header id,name,email,city,score,updated, CR LF; half "
        "of each file's ids in both files, a third of those records changed in one or two "
        "fields; one row in a thousand repeats an id; rows shuffled.",
        "Companion rows: `--field 1 --header --match-case` writing --both, --only-in-1 and "
        "--only-in-2, then also --changed, then also --changes; keyed: the plain keyed run. "
        "Exact case everywhere, so the peers fold nothing.",
        "Polars / DuckDB: bench/peers/node/polars-records.mjs / duckdb-records.mjs, every "
        "column read as text, semi join on the id and anti join on all columns for the changed "
        "records (written in file-1 order), and the partner line for each; checked against the "
        "companion's --changed (line ends aside) and the first two columns of its --changes. "
        "They write no --both / --only lists.",
        "daff: bench/peers/node/daff-records.mjs, compareTables with the id as primary key, "
        f"up to {DAFF_MAX_ROWS:,} records; it pairs repeated ids one to one, so its changed "
        "rows are checked on the ids each file holds once.",
        "First run: median of runs each after 3 s idle; warm: back to back (the peers' 10M warm "
        "figure is their one memory run). Peak RSS from GNU time, largest process.",
        "Other processes running when each row started (mean over 1 s, in table order; "
        f"BENCH_WAIT_QUIET={os.environ.get('BENCH_WAIT_QUIET') or 0} s of waiting allowed): "
        + ", ".join(busy_rows) + ".",
    ]
    return "\n".join(["## Records on a key", "", *table, "", *[f"- {v}" for v in verdicts], "",
                      *[f"- {n}" for n in notes + about], ""])


def record_sizes():
    if os.environ.get("BENCH_QUICK") == "1":
        return [100_000]
    return [parse_size(s) for s in os.environ.get("BENCH_SIZES", "100k,1M,10M").split(",")
            if s.strip()]


if RECORDS != "off":
    EXTRA_SECTIONS.append(records_section)


# --- The SQL recipe --------------------------------------------------------------
# bench/three-lists.sql gives the three lists as one Spark SQL query, for files
# past one machine; bench/three-lists-duckdb.sql is the same query in DuckDB,
# which runs here. check-sql-recipe.sh runs that form on a pair and sets its
# lists beside the companion's (--match-case): cheap, so every run checks it.

def sql_recipe_section(pairs):
    """The DuckDB form of the SQL recipe on the 1M pair (else the run's
    smallest), its three lists checked against the companion's."""
    if not pairs:
        return ""
    lines = 1_000_000 if 1_000_000 in pairs else min(pairs)
    if not (shutil.which("node") and node_package_ready("@duckdb/node-api")):
        return "- SQL recipe: not checked (node or @duckdb/node-api not installed)."
    f1, f2 = pairs[lines]
    start = time.perf_counter()
    proc = subprocess.run(["bash", str(BENCH_DIR / "check-sql-recipe.sh"), str(f1), str(f2)],
                          capture_output=True, text=True, stdin=subprocess.DEVNULL,
                          env=dict(os.environ, QUILLMARK_COMPARE=str(COMPANION)))
    took = time.perf_counter() - start
    log(f"  SQL recipe, {lines:,} lines: status {proc.returncode} in {took:.1f} s")
    if proc.returncode != 0:
        problem = (proc.stderr.strip() or proc.stdout.strip()).replace("\n", " ")
        SECTION_FAILURES.append(f"SQL recipe, {lines:,} lines: {problem}")
        return f"- SQL recipe (bench/three-lists-duckdb.sql), {lines:,} lines: **DIFFERENT** or not run."
    return f"- {proc.stdout.strip()}; {took:.1f} s for both runs."


EXTRA_SECTIONS.append(sql_recipe_section)


# --- Very large inputs -------------------------------------------------------------
# The companion with a memory budget too small for the pair, so that it
# compares from disk (--memory, --temp-dir), against the same pair compared in
# memory, DuckDB running the SQL recipe under the same memory limit, and cat
# reading both files. Exact case throughout, as the recipe. BENCH_DISK=on adds
# the section, only runs nothing else; it is off by default, as a 100M pair
# takes about 12 GB of disk and a run of it many minutes.

DISK = os.environ.get("BENCH_DISK", "off").strip().lower()
if DISK not in ("on", "off", "only"):
    sys.exit(f"bench: BENCH_DISK is on, off or only, not {DISK!r}")
DISK_DATA = Path(os.environ.get("BENCH_DISK_DATA") or ROOT.parent / "bigdata")
IN_MEMORY_BUDGET = "64G"   # more than any pair here needs: that run stays in memory
TILE_LINES = 10_000_000    # bigger pairs are made of copies of the 10M pair
TILES_VERSION = "1"        # in the stamp of a tiled pair: change it with write_tiles()
IN_MEMORY, FROM_DISK, DUCKDB = ("quillmark-compare, in memory", "quillmark-compare, from disk",
                                "DuckDB, SQL recipe")


def disk_sizes():
    return [parse_size(s) for s in os.environ.get("BENCH_DISK_SIZES", "10M").split(",")
            if s.strip()]


def disk_budget(lines):
    """The --memory of the disk run: 256M up to 10M lines, 2G above
    (BENCH_DISK_MEMORY sets it for every size)."""
    return os.environ.get("BENCH_DISK_MEMORY") or ("256M" if lines <= TILE_LINES else "2G")


def duckdb_limit(budget):
    """The companion's '256M' as DuckDB's memory_limit takes it, '256MB'."""
    return budget.strip().upper().rstrip("B") + "B"


def write_tiles(base, path, tiles):
    """base's lines tiles times over. In copy t every non-empty line starts
    with t and a blank, so no line of one copy is in another and blank lines
    stay blank: each copy holds its share of lines in both files, only in one,
    repeated and in other case as the base does, and the pair tiles times the
    distinct lines."""
    width = len(str(tiles - 1))
    tmp = path.with_name(path.name + ".part")
    with open(tmp, "wb") as out:
        for t in range(tiles):
            tag = b"%0*d " % (width, t)
            with open(base, "rb") as f:
                rest = b""
                while True:
                    chunk = f.read(1 << 26)
                    if not chunk:
                        break
                    chunk = rest + chunk
                    cut = chunk.rfind(b"\n") + 1
                    chunk, rest = chunk[:cut], chunk[cut:]
                    parts = chunk.split(b"\n")[:-1]
                    if parts:
                        out.write(b"\n".join(p if p in (b"", b"\r") else tag + p for p in parts) + b"\n")
                if rest:
                    raise RuntimeError(f"{base} does not end with a line end")
    os.replace(tmp, path)


def ensure_disk_pair(lines):
    """Make (or reuse) the pair of this many lines under BENCH_DISK_DATA: gen.py
    up to 10M lines, copies of the 10M pair above (gen.py holds a whole pair in
    memory, about 2 GB per 10M lines)."""
    folder = DISK_DATA / str(lines)
    gen = BENCH_DIR / "gen.py"
    tiled = lines > TILE_LINES
    if tiled and lines % TILE_LINES:
        raise RuntimeError(f"pairs above {TILE_LINES:,} lines come in multiples of it, not {lines:,}")
    want = (f"{lines} {hashlib.sha256(gen.read_bytes()).hexdigest()}"
            + (f" tiles {TILES_VERSION}" if tiled else "") + "\n")
    stamp = folder / "stamp"
    if (stamp.exists() and stamp.read_text() == want
            and (folder / "a.txt").exists() and (folder / "b.txt").exists()):
        return folder / "a.txt", folder / "b.txt"
    needed = lines * 58 * 2 * (2 if tiled else 1)  # gen.py's 58 bytes a line; a tiled pair reads the 10M one
    if shutil.disk_usage(DISK_DATA).free < needed:
        raise RuntimeError(f"{DISK_DATA} has less than the {needed / 1e9:.0f} GB free that "
                           f"the {lines:,}-line pair needs")
    log(f"generating the {lines:,}-line pair in {folder} ...")
    start = time.perf_counter()
    folder.mkdir(parents=True, exist_ok=True)
    stamp.unlink(missing_ok=True)
    if tiled:
        base = ensure_disk_pair(TILE_LINES)
        for source, name in zip(base, ("a.txt", "b.txt")):
            write_tiles(source, folder / name, lines // TILE_LINES)
    else:
        subprocess.run([sys.executable, str(gen), str(lines), str(folder)], check=True)
    stamp.write_text(want)
    log(f"  done in {time.perf_counter() - start:.1f} s")
    return folder / "a.txt", folder / "b.txt"


def first_run(argv, folder, watch=None):
    """One run after IDLE_SECONDS of idle: (wall seconds, peak RSS in MB, whether
    anything showed up in the folder watch meanwhile). One run gives both
    figures, as a run of the 100M pair takes minutes."""
    folder.mkdir(parents=True, exist_ok=True)
    seen = []
    done = threading.Event()

    def look():
        while not done.wait(0.2):
            if watch and any(watch.iterdir()):
                seen.append(True)
                return
    watcher = threading.Thread(target=look, daemon=True)
    time.sleep(IDLE_SECONDS)
    watcher.start()
    try:
        seconds, peak = time_command(argv, stderr_path=folder / "stderr.txt")
    finally:
        done.set()
        watcher.join()
    return seconds, peak, bool(seen)


def disk_section(pairs):
    """Each disk size: cat, the companion in memory and from disk, DuckDB with
    the SQL recipe under the same memory limit; one first run each, the files
    read beforehand so that all start from the page cache alike."""
    title = "## Very large inputs"
    known = companion_options()
    if not {"--memory", "--temp-dir"} <= known:
        return f"{title}\n\nSkipped: this companion has no --memory and --temp-dir options.\n"
    try:
        DISK_DATA.resolve().relative_to(ROOT)
        return f"{title}\n\nSkipped: BENCH_DISK_DATA ({DISK_DATA}) lies inside the checkout.\n"
    except ValueError:
        pass
    DISK_DATA.mkdir(parents=True, exist_ok=True)
    duckdb_ready = shutil.which("node") and node_package_ready("@duckdb/node-api")
    table = ["| Contender | Lines | Memory | Seconds | Peak RSS (MB) | vs in memory | vs DuckDB | Lists |",
             "|---|--:|---|--:|--:|--:|--:|---|"]
    notes = []
    for lines in disk_sizes():
        try:
            f1, f2 = ensure_disk_pair(lines)
        except (RuntimeError, subprocess.CalledProcessError) as e:
            SECTION_FAILURES.append(f"disk, {lines:,} lines: no pair: {e}")
            continue
        inputs = f1.stat().st_size + f2.stat().st_size
        if shutil.disk_usage(DISK_DATA).free < 3 * inputs:
            notes.append(f"{lines:,} lines skipped: {DISK_DATA} has less than three times the "
                         f"pair's {inputs / 1e9:.1f} GB free, for the lists and the temporary files.")
            continue
        budget = disk_budget(lines)
        root = DISK_DATA / "out" / str(lines)
        shutil.rmtree(root, ignore_errors=True)
        temp = {"companion": root / "temp-companion", "duckdb": root / "temp-duckdb"}
        for folder in temp.values():
            folder.mkdir(parents=True)
        companion_temp = ["--temp-dir", str(temp["companion"])]
        runs = [(IN_MEMORY, IN_MEMORY_BUDGET, None, lambda out: companion_command(
                    EXACT, f1, f2, out, ["--memory", IN_MEMORY_BUDGET])),
                (FROM_DISK, budget, temp["companion"], lambda out: companion_command(
                    EXACT, f1, f2, out, ["--memory", budget] + companion_temp))]
        if duckdb_ready:
            runs.append((DUCKDB, duckdb_limit(budget), None, lambda out: [
                "node", str(NODE_PEERS / "sql-lists.mjs"), "--sql", str(BENCH_DIR / "three-lists-duckdb.sql"),
                "--memory-limit", duckdb_limit(budget), "--temp-dir", str(temp["duckdb"]),
                "--both", str(out.both), "--only-in-1", str(out.only1), "--only-in-2", str(out.only2),
                str(f1), str(f2)]))
        else:
            notes.append("DuckDB skipped: node or @duckdb/node-api not installed.")
        warm_cache(f1, f2)
        cat_seconds = first_run(["cat", str(f1), str(f2)], root / "cat")[0]
        results, unfinished, keep = {}, {}, False
        for number, (name, memory, watch, command) in enumerate(runs):
            outputs = Outputs(root / f"lists-{number}")
            warm_cache(f1, f2)
            try:
                seconds, peak, spilled = first_run(command(outputs), outputs.folder, watch)
            except RuntimeError as e:
                # DuckDB not finishing within its memory limit is a result;
                # the companion not finishing is a failure.
                errors = [l for l in str(e).splitlines() if "Error" in l] or str(e).splitlines()[-1:]
                unfinished[name] = errors[0].strip(" [")[:160] if errors else "failed"
                if name != DUCKDB:
                    keep = True
                    SECTION_FAILURES.append(f"disk, {name}, {lines:,} lines: {unfinished[name]} "
                                            f"(stderr in {outputs.folder})")
                continue
            log(f"  disk: {name}, {lines:,} lines, memory {memory}: {seconds:.2f} s, {peak:.0f} MB")
            # The in-memory run's lists are the reference; if it failed, the disk run's.
            reference = results.get(IN_MEMORY) or results.get(FROM_DISK)
            if reference is None:
                check = "reference"
            else:
                kind = SAME_LINES if name == DUCKDB else SAME_BYTES
                problems = check_outputs(kind, reference[0], outputs)
                check = ("same" if kind == SAME_BYTES else "same (normalised)") if not problems else "**DIFFERENT**"
                for p in problems:
                    keep = True
                    SECTION_FAILURES.append(f"disk, {name}, {lines:,} lines: {p} (files in {outputs.folder})")
            if name == FROM_DISK:
                left = list(temp["companion"].iterdir())
                if left:
                    keep = True
                    SECTION_FAILURES.append(f"disk, {lines:,} lines: the companion left {len(left)} "
                                            f"entries in --temp-dir {temp['companion']}")
                notes.append(f"{lines:,} lines, --memory {budget}: "
                             + ("temporary files showed up in --temp-dir during the run"
                                if spilled else "**no temporary file showed up in --temp-dir**: "
                                "the comparison may have stayed in memory")
                             + (f", and {len(left)} were left at the end." if left
                                else "; none was left at the end."))
            results[name] = (outputs, seconds, peak, check)
            if reference is not None and not keep:
                shutil.rmtree(outputs.folder, ignore_errors=True)
        base, duck = results.get(IN_MEMORY), results.get(DUCKDB)
        for name, memory, _, _ in runs:
            if name not in results:
                why = unfinished.get(name, "").replace("|", "/")
                table.append(f"| {name} | {lines:,} | {memory} | - | - | - | - | did not finish: {why} |")
                continue
            _, seconds, peak, check = results[name]
            vs_memory = f"{seconds / base[1]:.2f}x" if base else "-"
            vs_duck = f"{seconds / duck[1]:.2f}x" if duck else "-"
            table.append(f"| {name} | {lines:,} | {memory} | {seconds:.2f} | {peak:.0f} | "
                         f"{vs_memory} | {vs_duck} | {check} |")
        disk = results.get(FROM_DISK)
        if disk:
            notes.append(f"{lines:,} lines ({inputs / 2**20:,.0f} MB in both files): cat FILE1 FILE2 "
                         f"takes {cat_seconds:.2f} s ({inputs / 2**20 / cat_seconds:,.0f} MB/s); from "
                         f"disk the companion takes {disk[1] / cat_seconds:.1f}x that "
                         f"({inputs / 2**20 / disk[1]:,.0f} MB/s of input).")
        if keep:
            notes.append(f"{lines:,} lines: outputs kept in {root}.")
        else:
            shutil.rmtree(root, ignore_errors=True)
    about = [
        f"Pairs in {DISK_DATA}: gen.py up to 10M lines; above, copies of the 10M pair, each "
        "copy's non-empty lines tagged with its number so that copies share no line.",
        "One first run each, after 3 s of idle, both files read just before it so that every "
        "row starts with them in the page cache; seconds and peak RSS from that run (GNU time, "
        "largest process). Exact case (--match-case) in every row.",
        f"In memory: --memory {IN_MEMORY_BUDGET}; from disk: --memory and --temp-dir as shown, "
        "its lists byte-compared with the in-memory run's.",
        "DuckDB: bench/peers/node/sql-lists.mjs running bench/three-lists-duckdb.sql with that "
        "memory_limit and a temp_directory, default threads; its lists (LF, no empty line after "
        "the last line end) checked after normalising as for awk.",
    ]
    return "\n".join([title, "", *table, "", *[f"- {n}" for n in notes + about], ""])


if DISK == "on":
    EXTRA_SECTIONS.append(disk_section)


# ---------------------------------------------------------------------------
# Timing

IDLE_SECONDS = 3  # before each first run, as hyperfine --prepare 'sleep 3'


def timed_runs(argv, runs, idle):
    """Wall seconds of runs back-to-back runs of argv, each preceded by idle
    seconds of sleep (0: warm runs). Uses hyperfine -N when it is installed."""
    if shutil.which("hyperfine"):
        with tempfile.NamedTemporaryFile("r", suffix=".json", prefix="bench-") as report:
            command = ["hyperfine", "-N", "--style", "none", "--runs", str(runs),
                       "--export-json", report.name]
            if idle:
                command += ["--prepare", f"sleep {idle}"]
            subprocess.run(command + [shlex.join(argv)], check=True,
                           stdout=subprocess.DEVNULL, stdin=subprocess.DEVNULL)
            return json.load(report)["results"][0]["times"]
    times = []
    for _ in range(runs):
        time.sleep(idle)
        start = time.perf_counter()
        subprocess.run(argv, check=True, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL)
        times.append(time.perf_counter() - start)
    return times


def time_command(argv, stderr_path=None):
    """Run argv once; return (wall seconds, peak RSS in MB).

    The peak comes from GNU time, which forks the command from its own small
    process. (Asking wait4() here would count this script's own memory too:
    a child inherits its parent's high-water mark when it starts.) For a
    script it is the largest single process, children included, not a sum.
    """
    with tempfile.NamedTemporaryFile("r", prefix="bench-rss-") as rss:
        err = open(stderr_path, "wb") if stderr_path else subprocess.DEVNULL
        try:
            start = time.perf_counter()
            proc = subprocess.run([GNU_TIME, "-f", "%M", "-o", rss.name] + list(argv),
                                  stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=err)
            elapsed = time.perf_counter() - start
        finally:
            if stderr_path:
                err.close()
        report = rss.read().split()
    if proc.returncode != 0:
        message = Path(stderr_path).read_text(errors="replace") if stderr_path else ""
        raise RuntimeError(f"{' '.join(map(str, argv))}\nexited with status {proc.returncode}\n{message}")
    return elapsed, int(report[-1]) / 1024


# ---------------------------------------------------------------------------
# Checking

def line_view(data):
    """What a line-oriented tool (awk, grep) writes, for a list the companion wrote.

    The companion ends each item with CR LF; awk and grep end lines with LF.
    Items never contain a CR (every CR is removed from the input), so
    turning CR LF into LF is exact.
    """
    return data.replace(b"\r\n", b"\n")


def drop_final_empty_item(data):
    """Remove the empty item at the end of the companion's "both" list.

    The companion splits the text at every LF, so a file ending in CR LF has
    one more line, an empty one, after its last record. awk and grep do not
    see that line. Both files from gen.py end in CR LF, so both have this
    empty line: file 1's is listed last in "both", file 2's is in file 1 and
    so in no list. Returns None if the item is not there.
    """
    if data == b"\n":
        return b""
    if data.endswith(b"\n\n"):
        return data[:-1]
    return None


def first_difference(companion, other):
    """Describe where two LF-separated lists first part."""
    ours, theirs = companion.split(b"\n"), other.split(b"\n")
    for i, (a, b) in enumerate(zip(ours, theirs)):
        if a != b:
            return f"item {i + 1}: companion has {a[:120]!r}, this one has {b[:120]!r}"
    return f"companion has {len(ours) - 1} items, this one has {len(theirs) - 1}"


def check_outputs(kind, reference, outputs):
    """Return a list of problems (empty when the lists agree)."""
    problems = []
    for (label, ref_path), (_, path) in zip(reference.lists(), outputs.lists()):
        if kind == SAME_BYTES:
            if not filecmp.cmp(ref_path, path, shallow=False):
                diff = first_difference(ref_path.read_bytes().replace(b"\r\n", b"\n"),
                                        path.read_bytes().replace(b"\r\n", b"\n"))
                problems.append(f"list '{label}' differs ({diff})")
            continue
        expected = line_view(ref_path.read_bytes())
        if label == "both":
            expected = drop_final_empty_item(expected)
            if expected is None:
                problems.append("the companion's 'both' list does not end with the empty line "
                                "that follows the final CR LF")
                continue
        actual = path.read_bytes()
        if expected != actual:
            problems.append(f"list '{label}' differs ({first_difference(expected, actual)})")
    return problems


# ---------------------------------------------------------------------------
# Test data

def parse_size(text):
    text = text.strip().lower().replace("_", "").replace(",", "")
    factor = 1
    if text.endswith("k"):
        factor, text = 1000, text[:-1]
    elif text.endswith("m"):
        factor, text = 1_000_000, text[:-1]
    return int(float(text) * factor)


def ensure_pair(lines):
    """Make (or reuse) the pair of files with this many lines."""
    folder = DATA_DIR / str(lines)
    stamp = folder / "stamp"
    gen = BENCH_DIR / "gen.py"
    want = f"{lines} {hashlib.sha256(gen.read_bytes()).hexdigest()}\n"
    if not (stamp.exists() and stamp.read_text() == want
            and (folder / "a.txt").exists() and (folder / "b.txt").exists()):
        log(f"generating the {lines:,}-line pair in {folder} ...")
        start = time.perf_counter()
        subprocess.run([sys.executable, str(gen), str(lines), str(folder)], check=True)
        stamp.write_text(want)
        log(f"  done in {time.perf_counter() - start:.1f} s")
    return folder / "a.txt", folder / "b.txt"


def warm_cache(*paths):
    for path in paths:
        with open(path, "rb") as f:
            while f.read(1 << 24):
                pass


# ---------------------------------------------------------------------------
# Main

@dataclasses.dataclass
class Row:
    name: str
    lines: int
    mode: str
    runs: int
    median: float        # first runs, each after IDLE_SECONDS of idle
    warm: float          # back-to-back runs
    peak_mb: float
    inputs_mb: float
    ratio: float = None
    lists: str = ""
    vs_changes: float = None  # records: first run over the companion's --changes run


def log(message):
    print(message, file=sys.stderr, flush=True)


def settings():
    if os.environ.get("BENCH_QUICK") == "1":
        sizes = [100_000]
    else:
        sizes = [parse_size(s) for s in os.environ.get("BENCH_SIZES", "100k,1M,10M").split(",") if s.strip()]
    reps = int(os.environ["BENCH_REPS"]) if os.environ.get("BENCH_REPS") else None
    wanted = os.environ.get("BENCH_CONTENDERS")
    contenders = CONTENDERS
    if wanted:
        names = {n.strip() for n in wanted.split(",")}
        unknown = names - {c.name for c in CONTENDERS}
        if unknown:
            sys.exit(f"bench: unknown contender(s) {', '.join(sorted(unknown))}; "
                     f"known: {', '.join(c.name for c in CONTENDERS)}")
        contenders = [c for c in CONTENDERS if c is CONTENDERS[0] or c.name in names]
    return sizes, reps, contenders


def run_contender(contender, lines, mode, f1, f2, out_root, reps):
    outputs = Outputs(out_root / f"{contender.name.replace(' ', '_').replace('|', '')}-{mode}")
    outputs.folder.mkdir(parents=True, exist_ok=True)
    runs = reps or (contender.reps or default_reps)(lines)
    argv = contender.command(mode, f1, f2, outputs)
    # One run for the peak memory and the lists, then the timed ones.
    memory_run, peak = time_command(argv, stderr_path=outputs.folder / "stderr.txt")
    first = timed_runs(argv, runs, IDLE_SECONDS)
    # Peers are slow on the biggest pair: the memory run stands for their warm run there.
    warm = timed_runs(argv, runs, 0) if (contender is CONTENDERS[0] or contender.warm_always
                                              or lines <= 1_000_000) else [memory_run]
    inputs_mb = (f1.stat().st_size + f2.stat().st_size) / 2**20
    log(f"  {contender.name:<34} {lines:>11,} lines  {mode:<7}: first runs "
        f"{' '.join(f'{t:.2f}' for t in first)} s, warm {' '.join(f'{t:.2f}' for t in warm)} s, "
        f"{peak:.0f} MB")
    return outputs, Row(contender.name, lines, mode, runs, statistics.median(first),
                        statistics.median(warm), peak, inputs_mb)


def host_floor(lines, f1, f2):
    """What any tool pays here before it compares anything: reading both
    files, first run and warm. A host that takes back a virtual machine's idle
    memory makes the first read of cached files and fresh memory several times
    slower, so this line tells what a first-run figure can reach on the day."""
    first, warm = (statistics.median(timed_runs(["cat", str(f1), str(f2)], 5, idle))
                   for idle in (IDLE_SECONDS, 0))
    return (f"Floor, {lines:,} lines: reading both files (cat FILE1 FILE2 > /dev/null) takes "
            f"{first:.3f} s first run, {warm:.3f} s warm")


def start_floor():
    """The companion starting and ending (--version), first run and warm."""
    first, warm = (statistics.median(timed_runs([str(COMPANION), "--version"], 5, idle))
                   for idle in (IDLE_SECONDS, 0))
    return (f"Floor: the companion starting and ending (--version), Qt's libraries loaded, "
            f"takes {first:.3f} s first run, {warm:.3f} s warm")


def markdown_table(rows):
    out = ["| Contender | Lines | Case | Runs | First run (s) | Warm (s) | Peak RSS (MB) "
           "| Peak / inputs | First run vs companion | Lists |",
           "|---|--:|---|--:|--:|--:|--:|--:|--:|---|"]
    for r in rows:
        ratio = f"{r.ratio:.2f}x" if r.ratio is not None else "-"
        name = r.name.replace("|", "\\|")  # a bare | would end the cell
        out.append(f"| {name} | {r.lines:,} | {r.mode} | {r.runs} | {r.median:.3f} | "
                   f"{r.warm:.3f} | {r.peak_mb:.0f} | {r.peak_mb / r.inputs_mb:.2f}x | {ratio} "
                   f"| {r.lists} |")
    return "\n".join(out)


def figures(rows):
    """The companion's headline figures from the table's rows."""
    plain = {(r.lines, r.mode): r for r in rows if r.name == CONTENDERS[0].name}
    peers = {(r.lines, r.mode): r for r in rows if r.name == "python set join"}
    out = []
    for lines in sorted({k[0] for k in plain}):
        exact, ignored = plain.get((lines, EXACT)), plain.get((lines, IGNORE))
        if exact and ignored:
            out.append(f"{lines:,} lines: first run {exact.median:.3f} s exact, "
                       f"{ignored.median:.3f} s ignoring case ({ignored.median / exact.median:.2f}x "
                       f"exact); peak {max(exact.peak_mb, ignored.peak_mb) / exact.inputs_mb:.2f}x "
                       "the inputs")
        if exact and (lines, EXACT) in peers:
            out.append(f"{lines:,} lines, exact: the Python set join takes "
                       f"{peers[(lines, EXACT)].median / exact.median:.1f}x the companion's time")
    for mode in (EXACT, IGNORE):
        small, big = plain.get((1_000_000, mode)), plain.get((10_000_000, mode))
        if small and big:
            out.append(f"10M against 1M lines, case {mode}: {big.median / small.median:.1f}x the time")
    return out


def machine_summary():
    cpu = platform.processor() or platform.machine()
    try:
        for line in Path("/proc/cpuinfo").read_text().splitlines():
            if line.startswith("model name"):
                cpu = line.split(":", 1)[1].strip()
                break
    except OSError:
        pass
    return f"{cpu}, {os.cpu_count()} cores, {platform.system()} {platform.release()}, Python {platform.python_version()}"


def load_average():
    return " / ".join(f"{x:.2f}" for x in os.getloadavg())


def main():
    sizes, reps, contenders = settings()
    # BENCH_RECORDS=only or BENCH_DISK=only: that section alone.
    only = [section for section, setting in ((records_section, RECORDS), (disk_section, DISK))
            if setting == "only"]
    if only:
        sizes = []
    load_at_start = load_average()
    if not (COMPANION.is_file() and os.access(COMPANION, os.X_OK)):
        log(f"bench: {COMPANION} not found or not executable.\n"
            f"Build it first, or point QUILLMARK_COMPARE at it.")
        return 2
    if not os.access(GNU_TIME, os.X_OK):
        log(f"bench: {GNU_TIME} (GNU time) is needed for the memory figures: apt-get install time")
        return 2

    skipped = []
    available = []
    for c in contenders:
        missing = [t for t in c.tools if shutil.which(t) is None]
        if missing:
            skipped.append(f"{c.name} (not installed: {', '.join(missing)})")
        else:
            available.append(c)

    rows, failures, pairs = [], [], {}
    floors = [start_floor()]
    for lines in sizes:
        f1, f2 = ensure_pair(lines)
        pairs[lines] = (f1, f2)
        warm_cache(f1, f2)
        floors.append(host_floor(lines, f1, f2))
        log(f"  {floors[-1]}")
        out_root = DATA_DIR / "out" / str(lines)
        shutil.rmtree(out_root, ignore_errors=True)
        keep_outputs = False
        for mode in (EXACT, IGNORE):
            reference = None
            companion_time = None
            for contender in available:
                if mode not in contender.modes or not contender.sizes(lines):
                    continue
                try:
                    outputs, row = run_contender(contender, lines, mode, f1, f2, out_root, reps)
                except RuntimeError as e:
                    log(f"bench: a run failed:\n{e}")
                    return 2
                if contender is CONTENDERS[0]:
                    # The companion always runs first; its lists are the reference.
                    reference, companion_time = outputs, row.median
                    row.lists = "reference"
                else:
                    kind = contender.check.get(mode)
                    if kind is NOT_CHECKED:
                        row.lists = "not checked"
                    else:
                        problems = check_outputs(kind, reference, outputs)
                        if problems:
                            keep_outputs = True
                            row.lists = "**DIFFERENT**"
                            for p in problems:
                                failures.append(f"{contender.name}, {lines:,} lines, case {mode}: {p} "
                                                f"(files in {outputs.folder}, reference in {reference.folder})")
                        else:
                            row.lists = "same" if kind == SAME_BYTES else "same (normalised)"
                row.ratio = row.median / companion_time if companion_time else None
                if contender is not CONTENDERS[0] and contender.name.startswith(CONTENDERS[0].name):
                    row.lists = "option"
                rows.append(row)
        if not keep_outputs:
            shutil.rmtree(out_root, ignore_errors=True)

    notes = ["First run: median wall time of runs each preceded by 3 s of idle (hyperfine -N "
             "--prepare 'sleep 3'), as when a person starts a comparison; warm: runs back to back.",
             "First run vs companion: first-run median divided by the companion's for the same pair "
             "and case mode.",
             "Peak / inputs: peak RSS divided by the two input files' size together.",
             "Peak RSS: from GNU time; for a script, the largest single process it ran, not the sum of a pipeline.",
             "same: identical output files; same (normalised): equal after turning CR LF into LF and "
             "dropping the empty line after each file's final CR LF, which awk and grep do not see."]
    notes += [c.note for c in available if c.note]
    if skipped:
        notes.append("Skipped: " + "; ".join(skipped) + ".")
    lines_table = [markdown_table(rows), "", *[f"- {f}" for f in figures(rows)], ""] if rows else []
    report = "\n".join([
        "# Quillmark compare benchmark",
        "",
        f"{time.strftime('%Y-%m-%d %H:%M')} - {machine_summary()}",
        f"Companion: `{shown_path(COMPANION)}`",
        "",
        *lines_table,
        *[f"- {f}" for f in floors],
        "",
        *([f"- {n}" for n in notes] + [""] if rows else []),
    ])
    for section in only or EXTRA_SECTIONS:
        report += "\n" + section(pairs).rstrip() + "\n"
    failures += SECTION_FAILURES
    report += (f"\nLoad average (1 / 5 / 15 min): {load_at_start} at the start, "
               f"{load_average()} at the end.\n")
    if failures:
        report += "\n## Lists that differ from the companion's\n\n" + "\n".join(f"- {f}" for f in failures) + "\n"
    RESULTS_FILE.parent.mkdir(parents=True, exist_ok=True)
    RESULTS_FILE.write_text(report, encoding="utf-8")
    print(report)
    log(f"written to {RESULTS_FILE}")
    if failures:
        log(f"bench: {len(failures)} list(s) differ from the companion's (see above).")
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
