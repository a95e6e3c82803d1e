#!/usr/bin/env python3
"""What a user might write instead of Vesk: pull the name, reference and
note of every component out of the files with one regular expression over
the component lines as the editor writes them, sort by reference, write the
rows. It knows nothing of escapes, blocks or the part definitions; it is
the reference `make bench` holds Vesk's speed against.

usage: naive_extract.py OUT.csv FILE.ce3 ...
"""
import re
import sys

COMPONENT = re.compile(
    rb",N:([^,\r\n]*),NX:[^,\r\n]*,NY:[^,\r\n]*,R:([^,\r\n]*),RX:[^,\r\n]*,RY:[^,\r\n]*,"
    rb"NOTE:([^,\r\n]*),-COMPONENT")


def main():
    rows = []
    for path in sys.argv[2:]:
        with open(path, "rb") as f:
            rows.extend(COMPONENT.findall(f.read()))
    rows.sort(key=lambda row: row[1])
    with open(sys.argv[1], "wb") as out:
        for name, reference, note in rows:
            out.write(b'"%s","%s","%s"\r\n' % (reference, name, note))


if __name__ == "__main__":
    main()
