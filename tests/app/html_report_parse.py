#!/usr/bin/python3
"""Reads an HTML report the way a browser would (html5lib) and prints what it holds as JSON:
the title, the declared charset, the figures, the tables (cell texts and colours) and the
coloured texts outside tables, so the C++ tests check the report as parsed, not as written."""
import json
import sys

import html5lib


def text_of(element):
    return "".join(element.itertext())


def main(path):
    with open(path, "rb") as f:
        doc = html5lib.parse(f, treebuilder="etree", namespaceHTMLElements=False)
    out = {"title": "", "charset": "", "scripts": 0, "figures": [], "tables": [], "fonts": [], "sections": []}
    for title in doc.iter("title"):
        out["title"] = text_of(title)
    for meta in doc.iter("meta"):
        out["charset"] = meta.get("content", "")
    out["scripts"] = sum(1 for _ in doc.iter("script"))
    for a in doc.iter("a"):
        for img in a.iter("img"):
            out["figures"].append({"href": a.get("href"), "src": img.get("src"),
                                   "width": img.get("width"), "height": img.get("height")})
    in_table = set()
    for table in doc.iter("table"):
        rows = []
        for tr in table.iter("tr"):
            cells = []
            for td in tr.iter("td"):
                in_table.update(td.iter("font"))
                font = next(td.iter("font"), None)
                cells.append({"text": text_of(td).strip(),
                              "color": font.get("color") if font is not None else "",
                              "bold": font is not None and next(font.iter("b"), None) is not None})
            rows.append(cells)
        out["tables"].append(rows)
    for font in doc.iter("font"):
        if font in in_table:
            continue
        entry = {"text": text_of(font), "color": font.get("color", ""), "size": font.get("size", "")}
        (out["sections"] if font.get("size") == "5" and font.get("color") == "blue" else out["fonts"]).append(entry)
    json.dump(out, sys.stdout)


if __name__ == "__main__":
    main(sys.argv[1])
