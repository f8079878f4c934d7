#!/usr/bin/env python3
"""Python set join: the same three lists as quillmark-compare.

    pyjoin.py [--match-case] [--both PATH] [--only-in-1 PATH] [--only-in-2 PATH] FILE1 FILE2

Same command line and same output as the companion, so the benchmark can
compare the files byte for byte. Every CR is removed, the text is split at
every LF (a file ending in CR LF gives a last, empty line), and each line of
one file is looked up in a set built from the other. Without --match-case
the lookup keys are the lines passed through str.lower().
"""

import argparse


def read_bytes(path):
    with open(path, "rb") as f:
        return f.read().replace(b"\r", b"")


def read_exact(path):
    """Lines as bytes; each line is its own key."""
    lines = read_bytes(path).split(b"\n")
    return lines, lines


def read_folded(path):
    """Lines as text, and their lower-cased keys."""
    text = read_bytes(path).decode("utf-8", "surrogateescape")
    # Lower-casing never adds or removes a line feed, so the keys line up
    # with the lines. Lower-casing the whole text at once is quicker than
    # line by line.
    keys = text.lower().split("\n")
    lines = text.split("\n")
    return lines, keys


def write_list(path, items, sep, block=100_000):
    """Write each item followed by CR LF, a block of items at a time."""
    if path is None:
        return
    with open(path, "wb") as f:
        for start in range(0, len(items), block):
            data = sep.join(items[start:start + block]) + sep
            if isinstance(data, str):
                data = data.encode("utf-8", "surrogateescape")
            f.write(data)


def main():
    p = argparse.ArgumentParser()
    p.add_argument("--match-case", action="store_true")
    p.add_argument("--both")
    p.add_argument("--only-in-1")
    p.add_argument("--only-in-2")
    p.add_argument("file1")
    p.add_argument("file2")
    args = p.parse_args()

    if args.match_case:
        # Bytes are enough here: equal UTF-8 bytes means equal text.
        lines1, keys1 = read_exact(args.file1)
        lines2, keys2 = read_exact(args.file2)
        sep = b"\r\n"
    else:
        lines1, keys1 = read_folded(args.file1)
        lines2, keys2 = read_folded(args.file2)
        sep = "\r\n"

    set1, set2 = set(keys1), set(keys2)
    both = [line for line, key in zip(lines1, keys1) if key in set2]
    only1 = [line for line, key in zip(lines1, keys1) if key not in set2]
    only2 = [line for line, key in zip(lines2, keys2) if key not in set1]
    write_list(args.both, both, sep)
    write_list(args.only_in_1, only1, sep)
    write_list(args.only_in_2, only2, sep)


if __name__ == "__main__":
    main()
