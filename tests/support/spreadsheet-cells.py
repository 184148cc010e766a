#!/usr/bin/env python3
"""Prints the cells of the first table of a flat OpenDocument spreadsheet
(.fods) as JSON: one list per row, each cell as [type, value], the type
"float", "string" and so on ("" for an empty cell), the value the number
as the spreadsheet holds it or the cell's text: spreadsheet-cells.py FODS."""
import json
import sys
import xml.etree.ElementTree as ET

NS = {
    "table": "urn:oasis:names:tc:opendocument:xmlns:table:1.0",
    "office": "urn:oasis:names:tc:opendocument:xmlns:office:1.0",
    "text": "urn:oasis:names:tc:opendocument:xmlns:text:1.0",
}


def attribute(element, name):
    prefix, local = name.split(":")
    return element.get("{%s}%s" % (NS[prefix], local))


table = ET.parse(sys.argv[1]).getroot().find(".//table:table", NS)
rows = []
for row in table.findall("table:table-row", NS):
    cells = []
    for cell in row.findall("table:table-cell", NS):
        kind = attribute(cell, "office:value-type") or ""
        if kind == "float":
            value = attribute(cell, "office:value")
        else:
            value = "".join("".join(p.itertext()) for p in cell.findall("text:p", NS))
        repeat = int(attribute(cell, "table:number-columns-repeated") or 1)
        cells.extend([[kind, value]] * min(repeat, 64))
    while cells and cells[-1] == ["", ""]:
        cells.pop()
    rows.append(cells)
print(json.dumps(rows))
