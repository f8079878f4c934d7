#!/usr/bin/env python3
"""Make a pair of CSV files of records for the keyed benchmark.

    gen_records.py ROWS OUTDIR

writes OUTDIR/a.csv and OUTDIR/b.csv: a header line

    id,name,email,city,score,updated

then ROWS records each, CR LF line endings (the last line too). The bytes
depend only on ROWS: every choice comes from a fixed seed.

What the files hold:
  * customer records: an id like C004711342, a name (one in twenty written
    "Last, First" and so quoted), an e-mail address, a city, a score with two
    decimals and an ISO time stamp; accented letters in names and cities;
  * half of each file's ids are in the other file too; a third of those
    shared records differ in b.csv in one or two fields (mostly the score or
    the time stamp, sometimes the city, the e-mail address or the name);
  * ids are unique within a file but for about one row in a thousand, which
    repeats another row's id: half of them the very same line, half with
    another time stamp;
  * each file's rows are in their own shuffled order, not sorted by id.

Fields are quoted only where they hold a comma, as CSV writers do, so a
record read and written again by a CSV library gives the same line.

1,000,000 rows make about 85 MB per file.
"""

import random
import sys
import time
import unicodedata
from pathlib import Path

SEED = 20261209
MASK = (1 << 64) - 1
ID_PRIME = 999_999_937      # ids are (A * u + B) mod this prime: distinct, in no order
ID_A, ID_B = 386_178_211, 52_711_019

FIRST = ["Anna", "Ben", "Carla", "David", "Emma", "Felix", "Greta", "Hugo", "Ida",
         "Jonas", "Karin", "Lars", "Maria", "Nils", "Olga", "Paul", "Rita", "Sven",
         "Tina", "Ulf", "Vera", "Walter", "Yara", "Zoë", "José", "André", "Renée",
         "Noël", "François", "Søren", "Bjørn", "Åsa", "Jürgen", "Müge", "Íñigo",
         "Núria", "Élodie", "Göran", "Çağla", "Chloé", "René", "Mónica", "Oliver",
         "Sophie", "Liam", "Mia", "Noah", "Lea", "Elias", "Lina", "Kenji", "Aiko"]
LAST = ["Smith", "Jones", "Miller", "Brown", "Wilson", "Taylor", "Clark", "Lewis",
        "Walker", "Young", "King", "Wright", "Hill", "Green", "Baker", "Adams",
        "Müller", "Schäfer", "Köhler", "Núñez", "Muñoz", "Peña", "Ibáñez",
        "Sørensen", "Lindqvist", "Åkesson", "Østergaard", "Leclère", "Gonçalves",
        "Özdemir", "Çelik", "Dvořák", "Novák", "Horváth", "Kovács", "Rossi",
        "Bianchi", "Ferrari", "García", "López", "Martín", "Fernández", "Nguyen",
        "Tanaka", "Kim", "Novak", "Larsen", "Berg", "Dahl", "O'Brien"]
DOMAINS = ["example.com", "example.org", "mail.example.net", "corp.example.com",
           "students.example.edu", "post.example.de", "correo.example.es",
           "posten.example.no", "example.co.uk", "web.example.fr", "example.io",
           "lists.example.org", "support.example.com", "example.ch", "example.at"]
CITIES = ["Berlin", "München", "Köln", "Zürich", "Genève", "Málaga", "Córdoba",
          "København", "Århus", "Tromsø", "Göteborg", "Malmö", "Paris", "Orléans",
          "Besançon", "Lisboa", "Porto", "Kraków", "Brno", "Wien", "Oslo",
          "London", "Dublin", "Madrid", "Roma", "Torino", "Praha", "Bergen"]
# Which fields a changed record differs in, drawn with these weights.
CHANGEABLE = ["score", "score", "score", "updated", "updated", "updated", "city",
              "email", "name"]
EPOCH = 1_704_067_200        # 2024-01-01T00:00:00Z
SPAN = 2 * 365 * 86_400


def ascii_of(word):
    word = word.replace("ø", "o").replace("Ø", "O").replace("'", "")
    return unicodedata.normalize("NFKD", word).encode("ascii", "ignore").decode().lower()


FIRST_ASCII = [ascii_of(w) for w in FIRST]
LAST_ASCII = [ascii_of(w) for w in LAST]


def mix(x):
    """splitmix64: a well-spread 64-bit number from x."""
    x = (x + 0x9E3779B97F4A7C15) & MASK
    x = ((x ^ (x >> 30)) * 0xBF58476D1CE4E5B9) & MASK
    x = ((x ^ (x >> 27)) * 0x94D049BB133111EB) & MASK
    return x ^ (x >> 31)


def record(u):
    """The fields of record u (u numbers all records of both files)."""
    h = mix(u ^ SEED)
    f, l = h % len(FIRST), (h >> 8) % len(LAST)
    name = f"{LAST[l]}, {FIRST[f]}" if (h >> 56) % 20 == 0 else f"{FIRST[f]} {LAST[l]}"
    email = f"{FIRST_ASCII[f]}.{LAST_ASCII[l]}{(h >> 16) % 100}@{DOMAINS[(h >> 24) % len(DOMAINS)]}"
    return [f"C{(ID_A * u + ID_B) % ID_PRIME:09d}", name, email,
            CITIES[(h >> 32) % len(CITIES)], (h >> 40) % 100_000, EPOCH + (h >> 20) % SPAN]


def changed(fields, u):
    """Record u as b.csv holds it when it changed: one or two fields differ."""
    h = mix(u ^ (SEED * 3))
    fields = list(fields)
    names = {CHANGEABLE[h % len(CHANGEABLE)]}
    if (h >> 8) & 1:
        names.add(CHANGEABLE[(h >> 12) % len(CHANGEABLE)])
    step = 1 + (h >> 20) % 997
    for name in names:
        if name == "score":
            fields[4] = (fields[4] + step) % 100_000
        elif name == "updated":
            fields[5] += 60 * step
        elif name == "city":
            fields[3] = CITIES[(CITIES.index(fields[3]) + 1 + step % 27) % len(CITIES)]
        elif name == "email":
            local, domain = fields[2].split("@")
            fields[2] = f"{local}@{DOMAINS[(DOMAINS.index(domain) + 1) % len(DOMAINS)]}"
        else:
            first = fields[1].split(", ")[1] if ", " in fields[1] else fields[1].split(" ")[0]
            fields[1] = f"{first} {LAST[(h >> 32) % len(LAST)]}-{LAST[(h >> 40) % len(LAST)]}"
    return fields


def line(fields):
    _, name, email, city, score, stamp = fields
    if "," in name:
        name = f'"{name}"'
    when = time.strftime("%Y-%m-%dT%H:%M:%SZ", time.gmtime(stamp))
    return f"{fields[0]},{name},{email},{city},{score // 100}.{score % 100:02d},{when}\r\n"


def write_file(path, rows, side):
    """Rows 0..rows/2-1 of each file are the shared records; the rest are the
    file's own (numbered after the shared ones, file 2's after file 1's)."""
    shared = rows // 2
    rng = random.Random(SEED + side)
    order = list(range(rows))
    rng.shuffle(order)

    def fields_of(slot):
        if slot < shared:
            fields = record(slot)
            if side == 2 and mix(slot ^ (SEED * 5)) % 3 == 0:
                fields = changed(fields, slot)
            return fields
        return record(shared + (side - 1) * (rows - shared) + (slot - shared))

    with open(path, "w", encoding="utf-8", newline="") as out:
        out.write("id,name,email,city,score,updated\r\n")
        chunk = []
        for slot in order:
            h = mix(slot ^ (SEED * 7 + side))
            if h % 1000 == 0:
                # A repeated id: another row's record, the same or re-stamped.
                fields = fields_of((h >> 10) % rows)
                if (h >> 40) & 1:
                    fields[5] += 3600
            else:
                fields = fields_of(slot)
            chunk.append(line(fields))
            if len(chunk) == 100_000:
                out.write("".join(chunk))
                chunk.clear()
        out.write("".join(chunk))


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    rows, folder = int(sys.argv[1]), Path(sys.argv[2])
    folder.mkdir(parents=True, exist_ok=True)
    write_file(folder / "a.csv", rows, 1)
    write_file(folder / "b.csv", rows, 2)


if __name__ == "__main__":
    main()
