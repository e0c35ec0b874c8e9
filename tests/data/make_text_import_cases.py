#!/usr/bin/python3
"""Writes the text-import test files and, for each, what the import must make of it.

Run with Debian's /usr/bin/python3 from this folder. The expected results come from a
split and number reading written here independently of the program: fields are the
non-empty pieces between separator characters, the names and the header rule follow the
preview, numbers are read as C's atof reads them and dates as fractional years.

For every case N it writes caseN.txt (the file to import) and caseN.expected:
    separators<TAB><typed separators, escaped \\t \\s>
    deselect<TAB><field indices not read, space separated>
    dateorder<TAB><1 month first, 0 day first>
    names<TAB><name><TAB><name>...
    message<TAB><skipped> <read>      (no message when skipped is 0)
    records<TAB><count>
    then one line per record: the values as %.17g, tab separated.
"""
import random
import re

NON_NUMERIC = set("`~@#$%&_=qwrtyuiop[]QWRTYUIOP{}asdfghjkl;'ASDFGHJKL:zxcvbnm,ZXCVBNM<>?")
DAYS_BEFORE = [0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334]


def non_numeric(text):
    return any(c in NON_NUMERIC for c in text)


def year_fraction(y, m, d):
    leap = y % 4 == 0
    n = DAYS_BEFORE[m - 1] + d + (1 if leap and m >= 3 else 0)
    f = y + n / (366.0 if leap else 365.0)
    return f + 100.0 if f <= 20.0 else f


def c_atoi(text):
    m = re.match(r"[ \t\n\v\f\r]*([+-]?\d+)", text)
    return int(m.group(1)) if m else 0


def c_atof(text):
    m = re.match(r"[ \t\n\v\f\r]*([+-]?(\d+\.?\d*|\.\d+)([eE][+-]?\d+)?)", text)
    return float(m.group(1)) if m else 0.0


def text_to_value(text, month_first):
    parts = text.split("/", 2)
    if len(parts) == 3:
        a, b, c = c_atoi(parts[0]), c_atoi(parts[1]), c_atoi(parts[2])
        month, day = (a, b) if month_first else (b, a)
        if 1 <= month <= 12:
            return year_fraction(c, month, day)
    return c_atof(text)


def split(line, separator_set):
    return [f for f in re.split("[" + re.escape(separator_set) + "]", line) if f != ""]


def preview(line, separator_set):
    fields = split(line, separator_set)
    if not fields:
        return [""]
    return [fields[0]] + [f.strip(" \t\n\v\f\r") for f in fields[1:]]


def expected(content, typed, deselect, month_first):
    separator_set = "\t\n" + typed
    lines = content.split(b"\n")
    if lines and lines[-1] == b"":
        lines.pop()
    lines = [l.decode("latin-1") for l in lines]
    lines = [l[:-1] if l.endswith("\r") else l for l in lines]
    items = preview(lines[0], separator_set)
    chosen = [i for i in range(len(items)) if i not in deselect]
    names = [items[i] for i in chosen]
    header = any(non_numeric(n) for n in names)
    if not header:
        names = ["a%d" % j for j in range(len(chosen))]
    records, skipped = [], 0
    for index, line in enumerate(lines):
        if header and index == 0:
            continue
        fields = split(line, separator_set)
        if not fields:
            continue
        if chosen[-1] >= len(fields):
            skipped += 1
            continue
        if any(non_numeric(fields[i]) for i in chosen):
            skipped += 1
            continue
        records.append([text_to_value(fields[i], month_first) for i in chosen])
    return names, skipped, len(records), records


def number_text(rng):
    kind = rng.randrange(7)
    if kind == 0:
        return str(rng.randint(-100000, 100000))
    if kind == 1:
        return "%.6f" % rng.uniform(-1000, 1000)
    if kind == 2:
        return "%.3e" % rng.uniform(-1e6, 1e6)
    if kind == 3:
        return "%.17g" % rng.uniform(-1, 1)
    if kind == 4:
        return "+" + str(rng.randint(0, 999)) + "."
    if kind == 5:
        return "." + str(rng.randint(0, 99999))
    return "%.2fE%d" % (rng.uniform(1, 9), rng.randint(-30, 30))


def date_text(rng, month_first):
    y = rng.choice([rng.randint(0, 99), rng.randint(1900, 2030)])
    m = rng.randint(1, 12)
    d = rng.randint(1, 28)
    a, b = (m, d) if month_first else (d, m)
    return "%d/%d/%s" % (a, b, ("%02d" % y) if y < 100 else str(y))


def letter_field(rng):
    return rng.choice(["n/a", "x12", "1,5", "12abc", "?", "NaN", "-", "3;4", "{1}"])


def make_case(rng, columns, typed, join, deselect, month_first, header, crlf, extras):
    """join(fields) writes a line from its fields with the case's separators."""
    out = []
    if header:
        out.append(join(["%s%d" % (rng.choice("xyzpqr"), i) for i in range(columns)]))
    for r in range(160):
        roll = rng.random()
        if roll < 0.06:
            out.append("")                          # blank line
        elif roll < 0.09:
            out.append(join([]) + typed[:1] * 3)     # separators only
        elif roll < 0.16:
            fields = [number_text(rng) for _ in range(columns)]
            fields[rng.randrange(columns)] = letter_field(rng)
            out.append(join(fields))                # a non-numeric field (maybe not read)
        elif roll < 0.21:
            out.append(join([number_text(rng) for _ in range(rng.randint(1, columns - 1))]))  # short
        else:
            fields = []
            for c in range(columns):
                fields.append(date_text(rng, month_first) if c % 3 == 2 else number_text(rng))
            if extras and rng.random() < 0.3:
                fields += [number_text(rng) for _ in range(rng.randint(1, 3))]
            out.append(join(fields))
    if not header:
        out[0] = join([number_text(rng) for _ in range(columns)])
    end = "\r\n" if crlf else "\n"
    return (end.join(out) + end).encode("latin-1")


def escape(typed):
    return typed.replace("\\", "\\\\").replace("\t", "\\t").replace(" ", "\\s")


def main():
    rng = random.Random(20240611)
    cases = [
        # columns, typed separators, joiner, deselected fields, month first, header, CRLF, extra fields
        (4, " ", lambda f: "\t".join(f), [], True, True, False, False),
        (5, ", ", lambda f: ", ".join(f) + (",," if f else ""), [1], True, False, True, True),
        (4, ";", lambda f: " ; ".join(f), [0, 3], False, True, False, False),
        (60, " ", lambda f: "  ".join(f), [5, 17, 59], True, False, False, True),
        (3, "|", lambda f: "|" + "||".join(f) + "|", [], False, False, True, False),
    ]
    for n, (columns, typed, join, deselect, month_first, header, crlf, extras) in enumerate(cases, 1):
        content = make_case(rng, columns, typed, join, deselect, month_first, header, crlf, extras)
        names, skipped, read, records = expected(content, typed, deselect, month_first)
        with open("text_import_cases/case%d.txt" % n, "wb") as f:
            f.write(content)
        with open("text_import_cases/case%d.expected" % n, "w") as f:
            f.write("separators\t%s\n" % escape(typed))
            f.write("deselect\t%s\n" % " ".join(str(i) for i in deselect))
            f.write("dateorder\t%d\n" % (1 if month_first else 0))
            f.write("names\t%s\n" % "\t".join(names))
            f.write("message\t%d %d\n" % (skipped, read))
            f.write("records\t%d\n" % len(records))
            for record in records:
                f.write("\t".join("%.17g" % v for v in record) + "\n")


if __name__ == "__main__":
    main()
