#!/usr/bin/env python3
"""Reads every kind of parts list vesk writes back with Python's csv module.

usage: read_back_lists.py VESK EXAMPLES_DIR

For a design made here and for the bundled examples, vesk -F writes the
per-component and the grouped list, in Shift-JIS and in UTF-8, to a file
and to the standard output. The UTF-8 lists must hold, read as UTF-8 after
their byte order mark, the rows their Shift-JIS twins hold read with
Python's own cp932 codec; the grouped list must have one row per (prefix,
name, note) in the order of the per-component list, quantities adding up
to its rows, references expanding to exactly the rows of each part, and
"*" exactly where a reference of the row occurs more than once in the
design. Each list, given back to --changes-since, must show no change for
the same design, and for a revision of our design exactly the changes
counted here from the two designs' per-component lists. Exits 1 with a
line for each failed check.
"""
import csv
import io
import os
import re
import subprocess
import sys
import tempfile
from collections import Counter

HEADER = ["重複", "部品番号", "数量", "部品名", "備考"]
BOM = b"\xef\xbb\xbf"
failures = []


def check(condition, what):
    if not condition:
        failures.append(what)


def schematic(components):
    """A schematic file in Shift-JIS; in its fields the bytes up to space,
    '%' and ',' are written as %XX."""
    def field(text):
        return b"".join(b"%%%02X" % c if c <= 0x20 or c in b"%," else bytes([c])
                        for c in text.encode("cp932"))
    lines = [b"+KOLVA_DATA_V.1.0"]
    for reference, name, note in components:
        lines.append(b"+COMPONENT,X:0,Y:0,LIB:P,N:%s,R:%s,NOTE:%s,-COMPONENT"
                     % (field(name), field(reference), field(note)))
    return b"\r\n".join(lines + [b"-KOLVA_DATA_V.1.0", b""])


# Two sheets: Japanese texts (half-width katakana, NEC and full-width
# characters), references repeated within and across the sheets, runs of
# references, quotes and a line break in the texts.
FILM = "金属皮膜 1/4W"
SHEETS = {
    "a.ce3": [("R%d" % n, "10k", FILM) for n in (1, 2, 3, 4, 6, 7)] + [
        ("R9", "22k", ""), ("C1", "0.1μF", "積層セラミック"), ("C2", "0.1μF", "積層セラミック"),
        ("C3", "100μF", "電解 \"16V\""), ("U1", "ｵﾍﾟｱﾝﾌﾟ", "二回路\r\n低雑音"),
        ("SW1", "スイッチ", "①②"), ("5", "テストピン", ""), ("6", "テストピン", ""),
        ("7", "テストピン", "")],
    "b.ce3": [("R5", "10k", FILM), ("R8", "10k", FILM), ("R9", "10k", FILM), ("R3", "10k", FILM),
              ("C1", "0.1μF", "積層セラミック"), ("U1", "ｵﾍﾟｱﾝﾌﾟ", "二回路\r\n低雑音"),
              ("IC10", "ＮＪＭ４５８０", "～"), ("TP", "GND", "")],
}


# Our design revised: a part renamed, a component renumbered, a note
# changed, a part removed, a reference placed twice, a part added.
def revised(sheets):
    a = []
    for reference, name, note in sheets["a.ce3"]:
        if reference == "SW1":
            continue
        a.append({"R7": ("R17", name, note), "R9": (reference, "27k", note),
                  "C3": (reference, name, "電解 \"25V\"")}.get(reference,
                                                               (reference, name, note)))
    return {"a2.ce3": a, "b2.ce3": sheets["b.ce3"] + [("R1", "10k", FILM), ("C9", "1μF", "")]}


CHANGES_HEADER = ["変更", "部品名", "備考", "前", "今", "増減", "加わった部品番号",
                  "なくなった部品番号"]


def expected_changes(before_rows, now_rows):
    """The changes file's rows, counted from two per-component lists."""
    def parts(rows):
        found = {}
        for _mark, prefix, number, name, note in rows:
            found.setdefault((prefix, name, note), Counter())[int(number)] += 1
        return found
    before, now = parts(before_rows), parts(now_rows)
    rows = []
    for key in list(now) + [k for k in before if k not in now]:
        old, new = before.get(key, Counter()), now.get(key, Counter())
        if old == new:
            continue
        kind = "追加" if not old else "削除" if not new else "変更"
        delta = sum(new.values()) - sum(old.values())
        rows.append([kind, key[1], key[2], str(sum(old.values())), str(sum(new.values())),
                     "%+d" % delta if delta else "0",
                     Counter((key[0], n) for n in (new - old).elements()),
                     Counter((key[0], n) for n in (old - new).elements())])
    return rows


def check_changes(vesk, directory, encoding, inputs, expected, what):
    """vesk -F --changes-since=earlier.csv: its rows and its line."""
    arguments = ["-F", "--changes-since=earlier.csv", "--encoding=" + encoding] + inputs
    result = subprocess.run([vesk] + arguments + ["-o", "-"], cwd=directory, capture_output=True)
    check(result.returncode == 0, "%s: exit %d" % (what, result.returncode))
    said = "no part changed" if not expected else "%d parts changed" % len(expected)
    check((" %s since earlier.csv" % said).encode() in result.stderr, what + ": " + said)
    rows = rows_of(result.stdout, encoding, what)
    for row in rows[1:]:  # the references added and removed, expanded
        row[6:] = [Counter(r for item in cell.split(", ") if cell for r in expand(item))
                   for cell in row[6:]]
    check(rows == [CHANGES_HEADER] + expected, what)


def run(vesk, directory, options, inputs, output):
    """vesk -F with `options`, `inputs` and -o `output`; its standard output."""
    arguments = options + inputs + ["-o", output]
    result = subprocess.run([vesk, "-F"] + arguments, cwd=directory, capture_output=True)
    what = "vesk " + " ".join(arguments)
    check(result.returncode == 0, "%s: exit %d" % (what, result.returncode))
    # The traces, then the line about the references found more than once
    # (the files share some on purpose); nothing of the list.
    traces = "".join("Read " + i for i in inputs).encode()
    check(result.stderr.startswith(traces + b"\nvesk: ") and
          b" more than once" in result.stderr and
          result.stderr.count(b"\n") == 2,
          what + ": the traces and the duplicates' line on the standard error stream")
    return result.stdout


def rows_of(data, encoding, what):
    if encoding == "utf-8":
        check(data.startswith(BOM), what + ": the byte order mark")
        data = data[len(BOM):]
    try:
        text = data.decode("utf-8" if encoding == "utf-8" else "cp932")
    except UnicodeDecodeError as error:
        check(False, "%s: %s" % (what, error))
        return []
    check(text.endswith("\r\n") and "\r" not in text.replace("\r\n", ""),
          what + ": CR only in the row ends")
    return list(csv.reader(io.StringIO(text, newline="")))


def expand(item):
    """'R1-R4' into [('R', 1) ... ('R', 4)], 'R7' into [('R', 7)]."""
    match = re.fullmatch(r"(\D*)(\d+)(?:-(\D*)(\d+))?", item)
    if not match:
        check(False, "a reference or range: %r" % item)
        return []
    prefix, first = match.group(1), int(match.group(2))
    last = int(match.group(4)) if match.group(4) else first
    check(match.group(4) is None or (match.group(3) == prefix and last - first >= 2),
          "a range of three or more with its prefix: %r" % item)
    return [(prefix, n) for n in range(first, last + 1)]


def check_grouped(grouped, per_component, label):
    check(grouped[:1] == [HEADER], label + ": the header")
    parts = {}
    for _mark, prefix, number, name, note in per_component:
        parts.setdefault((prefix, name, note), []).append((prefix, int(number)))
    occurrences = Counter(r for references in parts.values() for r in references)
    check(len(grouped) - 1 == len(parts), label + ": one row per part")
    check(sum(int(row[2]) for row in grouped[1:]) == len(per_component),
          label + ": the quantities add up to the components")
    for row, ((_prefix, name, note), references) in zip(grouped[1:], parts.items()):
        mark, listed, quantity, row_name, row_note = row
        what = "%s: the row %s" % (label, listed)
        check((row_name, row_note, int(quantity)) == (name, note, len(references)),
              what + ": name, note and quantity")
        expanded = [r for item in listed.split(", ") for r in expand(item)]
        check(expanded == sorted(references, key=lambda r: r[1]), what + ": references")
        repeated = any(occurrences[r] > 1 for r in references)
        check(mark == ("*" if repeated else ""), what + ": the mark")


def main():
    vesk, examples = sys.argv[1], sys.argv[2]
    with tempfile.TemporaryDirectory(prefix="vesk-read-back-") as directory:
        for name, components in list(SHEETS.items()) + list(revised(SHEETS).items()):
            with open(os.path.join(directory, name), "wb") as f:
                f.write(schematic(components))
        designs = {"our design": list(SHEETS),
                   "the examples": [os.path.join(examples, name)
                                    for name in ("amp_main.ce3", "amp_power.ce3")]}
        run(vesk, directory, [], list(revised(SHEETS)), "revised.csv")
        with open(os.path.join(directory, "revised.csv"), "rb") as f:
            revised_rows = rows_of(f.read(), "shift_jis", "the revised design")
        for label, inputs in designs.items():
            lists = {}
            for layout in ([], ["--grouped"]):
                for encoding in ("shift_jis", "utf-8"):
                    options = layout + ["--encoding=" + encoding]
                    what = "%s %s" % (label, " ".join(options))
                    run(vesk, directory, options, inputs, "list.csv")
                    with open(os.path.join(directory, "list.csv"), "rb") as f:
                        data = f.read()
                    check(run(vesk, directory, options, inputs, "-") == data,
                          what + ": the standard output gets the file's bytes")
                    lists[(bool(layout), encoding)] = rows_of(data, encoding, what)
                    os.replace(os.path.join(directory, "list.csv"),
                               os.path.join(directory, "earlier.csv"))
                    check_changes(vesk, directory, encoding, inputs, [],
                                  what + ": no change since the same design")
                    if label == "our design":
                        check_changes(vesk, directory, encoding, list(revised(SHEETS)),
                                      expected_changes(lists[(False, "shift_jis")],
                                                       revised_rows),
                                      what + ": the changes since the revision")
            per_component = lists[(False, "shift_jis")]
            check(all(len(row) == 5 for row in per_component), label + ": five fields a row")
            check(lists[(False, "utf-8")] == per_component,
                  label + ": the UTF-8 list holds the Shift-JIS list's rows")
            check(lists[(True, "utf-8")] == lists[(True, "shift_jis")],
                  label + ": the grouped lists hold the same rows in either encoding")
            check_grouped(lists[(True, "utf-8")], per_component, label)
    for failure in failures:
        print("FAIL " + failure)
    print("%d failure(s)" % len(failures))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
