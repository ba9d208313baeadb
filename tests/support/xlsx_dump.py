#!/usr/bin/env python3
"""Reads an .xlsx workbook with openpyxl (cells, styles, widths, sheet format)
and its drawing part with zipfile (picture anchors), and prints what it found
as JSON, for the report tests to check against.

usage: xlsx_dump.py WORKBOOK [MEDIA_DIR]   (MEDIA_DIR: the pictures are copied there)
"""
import json
import os
import sys
import zipfile
import xml.etree.ElementTree as ET

import openpyxl

XDR = "{http://schemas.openxmlformats.org/drawingml/2006/spreadsheetDrawing}"
A = "{http://schemas.openxmlformats.org/drawingml/2006/main}"
R = "{http://schemas.openxmlformats.org/officeDocument/2006/relationships}"
PKG_REL = "{http://schemas.openxmlformats.org/package/2006/relationships}"


def style_of(cell):
    out = {}
    if cell.alignment is not None and cell.alignment.horizontal:
        out["h"] = cell.alignment.horizontal
    fill = cell.fill
    if fill is not None and fill.fill_type:
        out["fill"] = fill.fill_type
        out["fillColor"] = fill.fgColor.rgb if fill.fgColor is not None else None
    b = cell.border
    for side in ("left", "right", "top", "bottom"):
        s = getattr(b, side)
        if s is not None and s.style:
            out[side] = s.style
    return out


def marker(el):
    return {k: int(el.find(XDR + k).text) for k in ("col", "colOff", "row", "rowOff")}


def pictures(path, media_dir):
    found = []
    with zipfile.ZipFile(path) as z:
        names = [n for n in z.namelist() if n.startswith("xl/drawings/drawing") and n.endswith(".xml")]
        for name in sorted(names):
            rels_name = name.replace("xl/drawings/", "xl/drawings/_rels/") + ".rels"
            targets = {}
            if rels_name in z.namelist():
                for rel in ET.fromstring(z.read(rels_name)).iter(PKG_REL + "Relationship"):
                    targets[rel.get("Id")] = os.path.normpath(
                        os.path.join("xl/drawings", rel.get("Target"))).replace(os.sep, "/")
            root = ET.fromstring(z.read(name))
            for anchor in list(root):
                pic = anchor.find(XDR + "pic")
                if pic is None:
                    continue
                item = {"anchor": anchor.tag.replace(XDR, "")}
                if anchor.find(XDR + "from") is not None:
                    item["from"] = marker(anchor.find(XDR + "from"))
                if anchor.find(XDR + "to") is not None:
                    item["to"] = marker(anchor.find(XDR + "to"))
                ext = pic.find(".//" + A + "xfrm/" + A + "ext")
                item["ext"] = {"cx": int(ext.get("cx")), "cy": int(ext.get("cy"))}
                blip = pic.find(".//" + A + "blip")
                media = targets.get(blip.get(R + "embed")) if blip is not None else None
                item["media"] = media
                if media and media_dir:
                    out = os.path.join(media_dir, os.path.basename(media))
                    with open(out, "wb") as f:
                        f.write(z.read(media))
                    item["file"] = out
                found.append(item)
    return found


def main():
    path = sys.argv[1]
    media_dir = sys.argv[2] if len(sys.argv) > 2 else None
    wb = openpyxl.load_workbook(path)
    ws = wb.worksheets[0]
    cells, types, styles = {}, {}, {}
    for row in ws.iter_rows():
        for cell in row:
            if cell.value is not None:
                cells[cell.coordinate] = cell.value
                types[cell.coordinate] = cell.data_type
            st = style_of(cell)
            if st:
                styles[cell.coordinate] = st
    widths = {k: v.width for k, v in ws.column_dimensions.items() if v.customWidth}
    heights = {str(k): v.height for k, v in ws.row_dimensions.items() if v.height is not None}
    fmt = ws.sheet_format
    print(json.dumps({
        "sheets": len(wb.worksheets),
        "cells": cells,
        "types": types,
        "styles": styles,
        "widths": widths,
        "rowHeights": heights,
        "defaultRowHeight": float(fmt.defaultRowHeight),
        "activeCell": ws.active_cell if hasattr(ws, "active_cell") else ws.sheet_view.selection[0].activeCell,
        "pictures": pictures(path, media_dir),
    }, ensure_ascii=False))


if __name__ == "__main__":
    main()
