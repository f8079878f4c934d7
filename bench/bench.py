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

Test files are made by gen.py into build/bench-data/<lines>/ and kept
there for the next run. The table is printed and written to
build/bench-results.md. The exit status is 1 if any contender's lists
differ from the companion's, 2 if something could not be run.
"""

import dataclasses
import filecmp
import hashlib
import os
import platform
import shutil
import statistics
import subprocess
import sys
import tempfile
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


# ---------------------------------------------------------------------------
# Contenders

def default_reps(lines):
    """Runs per contender, fewer for bigger pairs (BENCH_REPS overrides)."""
    if lines <= 200_000:
        return 5
    if lines <= 2_000_000:
        return 3
    return 2


def companion_command(mode, f1, f2, out):
    argv = [str(COMPANION)]
    if mode == EXACT:
        argv.append("--match-case")
    return argv + ["--both", str(out.both), "--only-in-1", str(out.only1),
                   "--only-in-2", str(out.only2), str(f1), str(f2)]


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


CONTENDERS = [
    Contender("quillmark-compare", companion_command),
    Contender("python set join", python_command,
              check={EXACT: SAME_BYTES, IGNORE: SAME_BYTES},
              reps=lambda n: 1 if n > 2_000_000 else default_reps(n),
              note="python set join: bench/peers/pyjoin.py, same command line and output as the companion."),
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
    """The window on the 1M pair (the largest pair up to 1M in this run):
    click on "Start Comparing" to three painted lists, scrolling the biggest
    list, finding a text that no line holds in it, saving it and copying all
    of it checked, each through the real commands, offscreen."""
    if not WINDOW_BENCH.exists():
        return "The window benchmark was not built (build/quillmark-window-bench)."
    usable = sorted(lines for lines in pairs if lines <= 1_000_000)
    if not usable:
        return ""
    lines = usable[-1]
    file1, file2 = pairs[lines]
    rows = ["| window, %s lines | case | click to lists (s) | scroll frame median / max (ms) "
            "| find in it: whole list (s) / longest wait (ms) "
            "| save biggest list (s) | copy it, all checked (s) | peak memory (MB) |" % f"{lines:,}",
            "|---|---|---|---|---|---|---|---|"]
    for mode, extra in ((EXACT, ["--match-case"]), (IGNORE, [])):
        runs = []
        for _ in range(3):
            out = subprocess.run([str(WINDOW_BENCH), str(file1), str(file2)] + extra,
                                 capture_output=True, text=True,
                                 env=dict(os.environ, QT_QPA_PLATFORM="offscreen"))
            figures = {}
            for line in out.stdout.splitlines():
                key, _, value = line.partition(":")
                figures[key.strip()] = value.strip().split(" ")[0]
            runs.append(figures)
        def median(key):
            return statistics.median(float(r.get(key, "nan")) for r in runs)
        rows.append("| Quillmark window | %s | %.2f | %.2f / %.2f | %.2f / %.1f | %.2f | %.2f | %.0f |" % (
            mode, median("click-to-lists-s"), median("scroll-frame-median-ms"),
            median("scroll-frame-max-ms"), median("find-whole-list-s"),
            median("find-longest-wait-ms"), median("save-s"), median("copy-s"),
            median("peak-memory-mb")))
    return "\n".join(rows)


EXTRA_SECTIONS.append(window_section)


# ---------------------------------------------------------------------------
# Timing

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
    median: float
    peak_mb: float
    ratio: float = None
    lists: str = ""


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
    times, peaks = [], []
    for i in range(runs):
        seconds, peak = time_command(contender.command(mode, f1, f2, outputs),
                                     stderr_path=outputs.folder / "stderr.txt")
        times.append(seconds)
        peaks.append(peak)
        log(f"  {contender.name:<18} {lines:>11,} lines  {mode:<7}  run {i + 1}/{runs}: "
            f"{seconds:7.2f} s  {peak:8.1f} MB")
    return outputs, Row(contender.name, lines, mode, runs, statistics.median(times), max(peaks))


def markdown_table(rows):
    out = ["| Contender | Lines | Case | Runs | Median wall (s) | Peak RSS (MB) | Time vs companion | Lists |",
           "|---|--:|---|--:|--:|--:|--:|---|"]
    for r in rows:
        ratio = f"{r.ratio:.2f}x" if r.ratio is not None else "-"
        name = r.name.replace("|", "\\|")  # a bare | would end the cell
        out.append(f"| {name} | {r.lines:,} | {r.mode} | {r.runs} | {r.median:.3f} | "
                   f"{r.peak_mb:.0f} | {ratio} | {r.lists} |")
    return "\n".join(out)


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


def main():
    sizes, reps, contenders = settings()
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
    for lines in sizes:
        f1, f2 = ensure_pair(lines)
        pairs[lines] = (f1, f2)
        warm_cache(f1, f2)
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
                rows.append(row)
        if not keep_outputs:
            shutil.rmtree(out_root, ignore_errors=True)

    notes = ["Time vs companion: median wall time divided by the companion's for the same pair and case mode.",
             "Peak RSS: from GNU time; for a script, the largest single process it ran, not the sum of a pipeline.",
             "same: identical output files; same (normalised): equal after turning CR LF into LF and "
             "dropping the empty line after each file's final CR LF, which awk and grep do not see."]
    notes += [c.note for c in available if c.note]
    if skipped:
        notes.append("Skipped: " + "; ".join(skipped) + ".")
    report = "\n".join([
        "# Quillmark compare benchmark",
        "",
        f"{time.strftime('%Y-%m-%d %H:%M')} - {machine_summary()}",
        f"Companion: `{COMPANION}`",
        "",
        markdown_table(rows),
        "",
        *[f"- {n}" for n in notes],
        "",
    ])
    for section in EXTRA_SECTIONS:
        report += "\n" + section(pairs).rstrip() + "\n"
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
