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


def write_list(path, items, sep):
    """Write each item followed by CR LF."""
    if path is None:
        return
    data = sep.join(items) + sep if items else sep[:0]
    if isinstance(data, str):
        data = data.encode("utf-8", "surrogateescape")
    with open(path, "wb") as f:
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

    data1, data2 = read_bytes(args.file1), read_bytes(args.file2)
    if args.match_case:
        # Bytes are enough here: equal UTF-8 bytes means equal text.
        lines1, lines2 = data1.split(b"\n"), data2.split(b"\n")
        keys1, keys2 = lines1, lines2
        sep = b"\r\n"
    else:
        text1 = data1.decode("utf-8", "surrogateescape")
        text2 = data2.decode("utf-8", "surrogateescape")
        lines1, lines2 = text1.split("\n"), text2.split("\n")
        # Lower-casing never adds or removes a line feed, so the key lists
        # line up with the line lists.
        keys1, keys2 = text1.lower().split("\n"), text2.lower().split("\n")
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
