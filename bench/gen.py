#!/usr/bin/env python3
"""Make a pair of test files for the benchmark.

    gen.py LINES OUTDIR
    gen.py --fold LINES OUTDIR

writes OUTDIR/a.txt and OUTDIR/b.txt, LINES lines each, CR LF line endings
(the last line too). The output depends only on LINES: the random generator
has a fixed seed, so two runs give the same bytes.

With --fold it writes OUTDIR/fold.txt instead, LINES lines "key-" and twenty
'@' or '`' that differ only in which: lines that a hash which ignores case by
setting the 0x20 bit of every byte made collide whatever its seed; and
OUTDIR/fold-ordinary.txt, as many lines "key-" and twenty random small letters.

What the files look like:
  * records of the kind people compare: e-mail addresses, customer and order
    IDs, CSV-like rows, config lines, log lines, URLs, UUIDs, short phrases;
  * about half of each file's distinct lines also occur in the other file
    when case is ignored, about a third when it is not: 30 % of the shared
    records are written with different case in b.txt;
  * duplicates within a file, a few very common lines (section headers,
    "enabled = true"...), some blank lines, and a few case variants of the
    same record inside one file;
  * accented letters (é, ü, ñ, ø, å, ç...) in names and words. Only letters
    whose upper and lower case are single characters are used (no ß), so
    lower-casing one character at a time gives the same result as Python's
    str.lower().

1,000,000 lines make about 58 MB per file.
"""

import os
import random
import sys

SEED = 20240607

FIRST_NAMES = [
    "anna", "ben", "carla", "david", "emma", "felix", "greta", "hugo", "ida",
    "jonas", "karin", "lars", "maria", "nils", "olga", "paul", "rita", "sven",
    "tina", "ulf", "vera", "walter", "yara", "zoe", "josé", "zoë", "andré",
    "renée", "noël", "françois", "søren", "bjørn", "åsa", "jürgen", "müge",
    "íñigo", "núria", "élodie", "göran", "çağla", "chloé", "rené", "mónica",
    "oliver", "sophie", "liam", "mia", "noah", "lea", "elias", "lina",
]
LAST_NAMES = [
    "smith", "jones", "miller", "brown", "wilson", "taylor", "clark", "lewis",
    "walker", "young", "king", "wright", "hill", "green", "baker", "adams",
    "müller", "schäfer", "köhler", "núñez", "muñoz", "peña", "ibáñez",
    "sørensen", "lindqvist", "åkesson", "østergaard", "françois", "leclère",
    "gonçalves", "özdemir", "çelik", "dvořák", "novák", "horváth", "kovács",
    "rossi", "bianchi", "ferrari", "garcía", "lópez", "martín", "fernández",
    "nguyen", "tanaka", "kim", "novak", "larsen", "berg", "dahl",
]
DOMAINS = [
    "example.com", "example.org", "mail.example.net", "corp.example.com",
    "students.example.edu", "post.example.de", "correo.example.es",
    "posten.example.no", "example.co.uk", "web.example.fr", "example.io",
    "lists.example.org", "support.example.com", "example.ch", "example.at",
]
WORDS = [
    "alpha", "beacon", "cedar", "delta", "ember", "falcon", "garnet", "harbor",
    "island", "juniper", "kestrel", "lantern", "meadow", "nectar", "orchid",
    "pepper", "quartz", "raven", "saffron", "timber", "umber", "violet",
    "willow", "yonder", "zephyr", "crème", "brûlée", "café", "naïve", "façade",
    "jalapeño", "piñata", "smørrebrød", "fjäll", "grün", "über", "déjà",
    "señor", "mañana", "résumé", "coöperate", "élan", "soirée", "entrée",
    "blue", "green", "north", "river", "stone", "cloud", "paper", "signal",
    "server", "report", "invoice", "account", "ticket", "backup", "cluster",
]
CITIES = [
    "Berlin", "München", "Köln", "Zürich", "Genève", "Málaga", "Córdoba",
    "København", "Århus", "Tromsø", "Göteborg", "Malmö", "Paris", "Orléans",
    "Besançon", "Lisboa", "Porto", "Kraków", "Brno", "Wien", "Oslo",
    "London", "Dublin", "Madrid", "Roma", "Torino", "Praha", "Bergen",
]
SECTIONS = ["database", "server", "cache", "logging", "auth", "mail", "ui",
            "network", "storage", "scheduler", "metrics", "backup"]
KEYS = ["host", "port", "timeout", "max_connections", "retries", "enabled",
        "path", "user", "level", "interval", "size_mb", "mode", "name"]
SERVICES = ["api", "web", "worker", "auth", "billing", "search", "mailer"]
LEVELS = ["INFO", "INFO", "INFO", "WARN", "DEBUG", "ERROR"]
EVENTS = ["logged in from", "logged out from", "failed login from",
          "changed password from", "uploaded a file from", "opened session from"]
STATUSES = ["open", "closed", "pending", "shipped", "cancelled", "Paid", "Refunded"]


def make_record(rng):
    """One random record; roughly 58 bytes on average."""
    r = rng.random()
    ch = rng.choice
    ri = rng.randrange
    if r < 0.22:
        # e-mail address, sometimes written with capitals
        first, last = ch(FIRST_NAMES), ch(LAST_NAMES)
        sep = ch(".._-")
        rec = f"{first}{sep}{last}{ri(10000)}@{ch(DOMAINS)}"
        if ri(4) == 0:
            rec = rec.capitalize()
        return rec
    if r < 0.34:
        # CSV-like order row
        return (f"ORD-{2015 + ri(10)}-{ri(10**7):07d};{ch(FIRST_NAMES).capitalize()} "
                f"{ch(LAST_NAMES).capitalize()};{2015 + ri(10)}-{1 + ri(12):02d}-"
                f"{1 + ri(28):02d};{1 + ri(9)};{ri(100000) / 100:.2f} EUR;"
                f"{ch(CITIES)};{ch(STATUSES)}")
    if r < 0.44:
        # customer or product ID with a label
        return (f"CUST{ri(10**8):08d} {ch(LAST_NAMES).capitalize()}, "
                f"{ch(FIRST_NAMES).capitalize()} - {ch(CITIES)} - tier {ch('ABCDE')} "
                f"since {2000 + ri(25)}-{1 + ri(12):02d}")
    if r < 0.56:
        # config line
        return (f"{ch(SECTIONS)}.{ch(KEYS)}{ri(100)} = "
                f"{ch(WORDS)}-{ri(100000)}/{ch(WORDS)}  # set by {ch(FIRST_NAMES)}")
    if r < 0.74:
        # log line
        return (f"2024-{1 + ri(12):02d}-{1 + ri(28):02d}T{ri(24):02d}:{ri(60):02d}:"
                f"{ri(60):02d}Z {ch(LEVELS)} [{ch(SERVICES)}] user {ch(FIRST_NAMES)}."
                f"{ch(LAST_NAMES)} {ch(EVENTS)} 10.{ri(256)}.{ri(256)}.{ri(256)}")
    if r < 0.84:
        # URL
        return (f"https://www.{ch(DOMAINS)}/{ch(WORDS)}/{ch(WORDS)}/{ch(WORDS)}/"
                f"{ri(10**6)}?session={rng.getrandbits(40):010x}&lang={ch(['en', 'de', 'fr', 'es', 'DE', 'EN'])}")
    if r < 0.92:
        # UUID, lower or upper case hex
        rec = "%08x-%04x-%04x-%04x-%012x" % (
            rng.getrandbits(32), rng.getrandbits(16), rng.getrandbits(16),
            rng.getrandbits(16), rng.getrandbits(48))
        return rec.upper() if ri(3) == 0 else rec
    # a short phrase
    words = [ch(WORDS) for _ in range(4 + ri(7))]
    rec = " ".join(words)
    return rec.capitalize() if ri(2) else rec


def case_variant(rec, rng):
    """The same record with different letter case (unchanged if it has no letters)."""
    for _ in range(4):
        v = rng.choice((str.upper, str.lower, str.title, str.swapcase))(rec)
        if v != rec:
            return v
    return rec


def common_lines():
    """Lines that show up very often in both files."""
    lines = [f"[{s}]" for s in SECTIONS]
    lines += [f"{k} = {v}" for k in KEYS for v in ("true", "false", "0", "1", "default")]
    lines += ["# end of section", "----", "N/A", "TODO", "Total:", "enabled=true"]
    return lines


def build_files(n, rng):
    """Return (lines_a, lines_b), n lines each."""
    shared = [make_record(rng) for _ in range(max(1, int(n * 0.38)))]
    only_a = [make_record(rng) for _ in range(max(1, int(n * 0.22)))]
    only_b = [make_record(rng) for _ in range(max(1, int(n * 0.22)))]

    # In b.txt, 30 % of the shared records are written with other case.
    shared_b = [case_variant(s, rng) if rng.random() < 0.3 else s for s in shared]

    # A few records appear in two spellings within the same file.
    n_extra = max(1, n // 150)
    extra_a = [case_variant(s, rng) for s in rng.sample(only_a + shared, n_extra)]
    extra_b = [case_variant(s, rng) for s in rng.sample(only_b + shared_b, n_extra)]

    # Common lines make up about 3 % of each file, blank lines about 0.2 %.
    pool_a = shared + only_a + extra_a
    pool_b = shared_b + only_b + extra_b
    common = common_lines()
    copies = max(1, int(len(pool_a) * 0.03 / len(common)))
    blanks = [""] * max(1, int(len(pool_a) * 0.002))
    pool_a += common * copies + blanks
    pool_b += common * copies + blanks

    # Drawing n lines from a pool of about 0.6 n records (with replacement)
    # gives plenty of duplicates; each file ends up with roughly 0.5 n
    # distinct lines.
    lines_a = rng.choices(pool_a, k=n)
    lines_b = rng.choices(pool_b, k=n)
    # Keep the last line non-empty: the only empty line at the very end of
    # the text is then the one after the final CR LF.
    for lines, pool in ((lines_a, shared), (lines_b, shared_b)):
        if lines and lines[-1] == "":
            lines[-1] = pool[0]
    return lines_a, lines_b


def write_crlf(path, lines, chunk=200_000):
    tmp = path + ".part"
    with open(tmp, "wb") as f:
        for i in range(0, len(lines), chunk):
            part = lines[i:i + chunk]
            f.write(("\r\n".join(part) + "\r\n").encode("utf-8"))
    os.replace(tmp, path)


def write_fold_pair(n, outdir, rng):
    """fold.txt and fold-ordinary.txt, n lines each (see the top)."""
    fold = ["key-" + "".join("`" if (i >> j) & 1 else "@" for j in range(20)) for i in range(n)]
    ordinary = ["key-" + "".join(rng.choice("abcdefghijklmnopqrstuvwxyz") for _ in range(20))
                for _ in range(n)]
    for name, lines in (("fold.txt", fold), ("fold-ordinary.txt", ordinary)):
        path = os.path.join(outdir, name)
        with open(path + ".tmp", "w", encoding="ascii", newline="") as f:
            f.write("\n".join(lines) + "\n")
        os.replace(path + ".tmp", path)


def main(argv):
    fold = len(argv) == 4 and argv[1] == "--fold"
    if fold:
        argv = argv[1:]
    if len(argv) != 3:
        sys.exit("usage: gen.py [--fold] LINES OUTDIR")
    n = int(argv[1].replace("_", ""))
    if n < 1:
        sys.exit("gen.py: LINES must be at least 1")
    outdir = argv[2]
    os.makedirs(outdir, exist_ok=True)
    rng = random.Random(SEED)
    if fold:
        write_fold_pair(n, outdir, rng)
        return
    lines_a, lines_b = build_files(n, rng)
    write_crlf(os.path.join(outdir, "a.txt"), lines_a)
    write_crlf(os.path.join(outdir, "b.txt"), lines_b)


if __name__ == "__main__":
    main(sys.argv)
