#!/usr/bin/python3
"""Independent readers of Pendulab's measurement files, called by formats_tests.

  check_files.py csv FILE EXPECTED SEP DEC D          Python's csv module
  check_files.py xlsx FILE EXPECTED D                 openpyxl, both sheets
  check_files.py ssconvert-xlsx FILE EXPECTED D       gnumeric opens the workbook, no warning
  check_files.py ssconvert-csv FILE EXPECTED D LANG   gnumeric reads the CSV (LANG: fr or en)
  check_files.py dump FILE ROW [SEP DEC]              the titles, then data row ROW (0: the first)
                                                      as repr of floats (None: blank), one a line;
                                                      a CSV with SEP and DEC, or a workbook's first sheet

EXPECTED names three files written by the test: EXPECTED.bin, 2001 rows of the five value
columns as little-endian doubles (NaN where a column is absent); EXPECTED.source, the source
text's bytes; EXPECTED.params, the parameter sheet's rows "label<TAB>n|s<TAB>value" (numbers
as %.17g; the source row is "Source<TAB>S<TAB>").
Prints what differs and exits with 1 on the first mismatches; exits with 0 when all agree.
"""
import csv
import math
import os
import struct
import subprocess
import sys
import tempfile
import warnings

# Gnumeric's own .xlsx has no default style; openpyxl says so and applies its own.
warnings.filterwarnings("ignore", message="Workbook contains no default style")

HEADER = ["t (s)", "V (V)", "Y mes (V)", "dY/dt mes (V/s)", "Y theor (V)", "dY/dt theor (V/s)"]
errors = []


def fail(message):
    errors.append(message)
    if len(errors) >= 10:
        finish()


def finish():
    for e in errors:
        print(e)
    sys.exit(1 if errors else 0)


def expected_rows(prefix):
    data = open(prefix + ".bin", "rb").read()
    values = struct.unpack("<%dd" % (len(data) // 8), data)
    assert len(values) == 2001 * 5, len(values)
    return [values[i * 5:(i + 1) * 5] for i in range(2001)]


def bits(x):
    return struct.pack("<d", x)


def sixteen(x):
    """The double libxlsxwriter's "%.16G" text reads back to."""
    return float("%.16G" % x)


def check_table(rows, expected, duration, convert, where, same_bits=True):
    """rows: header then 2001 rows of cells; convert maps an expected double to the wanted value.
    same_bits: the very same double (-0 included); otherwise numerical equality (spreadsheets
    read "-0" as 0)."""
    if [str(c) for c in rows[0][:6]] != HEADER:
        fail("%s: header %r" % (where, rows[0]))
    data = rows[1:]
    if len(data) != 2001:
        fail("%s: %d rows instead of 2001" % (where, len(data)))
    for i, row in enumerate(data[:2001]):
        row = list(row) + [None] * (6 - len(row))
        want = [i * duration / 2000] + list(expected[i])  # Python's int/int division is correctly rounded
        for c in range(6):
            cell = row[c]
            if math.isnan(want[c]):
                if cell not in (None, ""):
                    fail("%s: row %d column %d should be blank, holds %r" % (where, i, c, cell))
                continue
            got = cell if isinstance(cell, float) or isinstance(cell, int) else None
            if isinstance(cell, str):
                try:
                    got = float(cell)
                except ValueError:
                    got = None
            same = got is not None and (bits(float(got)) == bits(convert(want[c])) if same_bits
                                        else float(got) == convert(want[c]))
            if not same:
                fail("%s: row %d column %d: %r, expected %r" % (where, i, c, cell, convert(want[c])))


def unescape(text):
    out, i = [], 0
    while i < len(text):
        if text[i] == "\\" and i + 1 < len(text):
            out.append({"n": "\n", "r": "\r"}.get(text[i + 1], text[i + 1]))
            i += 2
        else:
            out.append(text[i])
            i += 1
    return "".join(out)


def check_csv(path, prefix, sep, dec, duration):
    expected = expected_rows(prefix)
    raw = open(path, "rb").read()
    text = raw.decode("utf-8")  # strict: the file must be UTF-8
    rows = list(csv.reader(text.splitlines(), delimiter=sep, strict=True))
    comments = {r[0][2:]: r[1] for r in rows if r and r[0].startswith("# ") and len(r) == 2}
    table = [r for r in rows if r and not r[0].startswith("#")]
    number = lambda s: s.replace(dec, ".")
    if dec == "," and any("." in c for r in table[1:] for c in r):
        fail("a decimal point in a French file")
    table = [table[0]] + [[number(c) for c in r] for r in table[1:]]
    check_table(table, expected, duration, lambda x: x, "csv")
    source = open(prefix + ".source", "rb").read().decode("utf-8")
    if unescape(comments.get("source", "")) != source:
        fail("source %r" % comments.get("source"))
    if comments.get("durée en s") != str(duration):
        fail("duration %r" % comments.get("durée en s"))
    if "mètres par volt" not in comments:
        fail("no metres per volt")
    finish()


def check_params(ws, prefix):
    source = open(prefix + ".source", "rb").read().decode("utf-8")
    lines = open(prefix + ".params", encoding="utf-8").read().splitlines()
    got = list(ws.iter_rows(values_only=True))
    if len(got) != len(lines):
        fail("parameter sheet: %d rows instead of %d" % (len(got), len(lines)))
    for row, line in zip(got, lines):
        label, kind, value = line.split("\t")
        want = {"n": lambda: sixteen(float(value)), "s": lambda: value or None, "S": lambda: source}[kind]()
        if row[0] != label or row[1] != want:
            fail("parameter sheet: %r, expected %r" % (row, (label, want)))


def check_xlsx(path, prefix, duration):
    import openpyxl
    book = openpyxl.load_workbook(path)
    if book.sheetnames != ["Mesures", "Paramètres"]:
        fail("sheets %r" % book.sheetnames)
    rows = list(book["Mesures"].iter_rows(values_only=True))
    check_table(rows, expected_rows(prefix), duration, sixteen, "xlsx", same_bits=False)
    check_params(book["Paramètres"], prefix)
    finish()


def run_ssconvert(args, env=None):
    done = subprocess.run(["ssconvert"] + args, capture_output=True, text=True, env=env)
    if done.returncode != 0 or done.stderr.strip():
        fail("ssconvert %s: exit %d, stderr %r" % (" ".join(args), done.returncode, done.stderr))
        finish()


def check_ssconvert_xlsx(path, prefix, duration):
    with tempfile.TemporaryDirectory() as tmp:
        out = os.path.join(tmp, "sheet.csv")
        run_ssconvert(["-S", path, out])
        rows = list(csv.reader(open(out + ".0", encoding="utf-8")))
        check_table(rows, expected_rows(prefix), duration, sixteen, "ssconvert xlsx", same_bits=False)
        params = list(csv.reader(open(out + ".1", encoding="utf-8")))
        if params[0] != ["Durée (s)", str(duration)]:
            fail("ssconvert parameter sheet starts with %r" % params[0])
    finish()


def check_ssconvert_csv(path, prefix, duration, language):
    import openpyxl
    with tempfile.TemporaryDirectory() as tmp:
        env = dict(os.environ, LC_ALL="C.UTF-8")
        if language == "fr":
            # A French locale built here, for gnumeric alone, so that it reads decimal commas.
            subprocess.run(["localedef", "-i", "fr_FR", "-f", "UTF-8", os.path.join(tmp, "fr_FR.UTF-8")], check=True)
            env.update(LOCPATH=tmp, LC_ALL="fr_FR.UTF-8")
        out = os.path.join(tmp, "read.xlsx")
        run_ssconvert([path, out], env)
        rows = list(openpyxl.load_workbook(out).active.iter_rows(values_only=True))
        start = next((i for i, r in enumerate(rows) if r and r[0] == "t (s)"), None)
        if start is None:
            fail("ssconvert %s: no header row; first rows %r" % (language, rows[:20]))
            finish()
        check_table(rows[start:], expected_rows(prefix), duration, lambda x: x, "ssconvert csv " + language,
                    same_bits=False)
        if rows[4][:2] != ("# durée en s", duration):
            fail("ssconvert %s: duration row %r" % (language, rows[4]))
    finish()


def dump(path, row, sep=None, dec=None):
    if sep is None:
        import openpyxl
        rows = list(openpyxl.load_workbook(path).worksheets[0].iter_rows(values_only=True))
        cell = lambda c: None if c is None else float(c)
    else:
        lines = open(path, encoding="utf-8").read().splitlines()
        rows = [r for r in csv.reader(lines, delimiter=sep, strict=True) if r and not r[0].startswith("#")]
        cell = lambda c: float(c.replace(dec, ".")) if c else None
    print("|".join(str(t) for t in rows[0]))
    for c in rows[1 + row]:
        print(repr(cell(c)))


if __name__ == "__main__":
    kind, args = sys.argv[1], sys.argv[2:]
    if kind == "csv":
        check_csv(args[0], args[1], args[2], args[3], int(args[4]))
    elif kind == "xlsx":
        check_xlsx(args[0], args[1], int(args[2]))
    elif kind == "ssconvert-xlsx":
        check_ssconvert_xlsx(args[0], args[1], int(args[2]))
    elif kind == "ssconvert-csv":
        check_ssconvert_csv(args[0], args[1], int(args[2]), args[3])
    elif kind == "dump":
        dump(args[0], int(args[1]), *args[2:4])
    else:
        sys.exit("unknown check " + kind)
