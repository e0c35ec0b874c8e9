#!/usr/bin/python3
"""Reads a .docx with python-docx and prints what the word-document test compares:
one line per body item in order; paragraphs as P|text|bold runs|colours, tables as
T|rows|columns|cell texts, and the number of pictures last."""
import sys

import docx
import docx.table
import docx.text.paragraph
from docx.oxml.ns import qn

doc = docx.Document(sys.argv[1])
body = doc.element.body
for child in body.iterchildren():
    if child.tag == qn("w:p"):
        p = docx.text.paragraph.Paragraph(child, doc)
        bold = ",".join(r.text for r in p.runs if r.bold and r.text)
        colours = ",".join(str(r.font.color.rgb) for r in p.runs if r.text and r.font.color and r.font.color.rgb)
        print("P|%s|%s|%s" % (p.text, bold, colours))
    elif child.tag == qn("w:tbl"):
        t = docx.table.Table(child, doc)
        cells = ",".join(c.text for row in t.rows for c in row.cells)
        print("T|%d|%d|%s" % (len(t.rows), len(t.columns), cells))
print("pictures %d" % len(doc.inline_shapes))
