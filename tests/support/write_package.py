#!/usr/bin/python3
"""Writes an .xlsx package around worksheet XML given as it is, for tests of
how the reader takes XML that writers seldom produce (prefixes, references,
CDATA, comments) or that is damaged. Reads JSON on stdin:

{"path": "...", "sheet": "<worksheet ...>...</worksheet>",
 "sharedStrings": "<sst ...>...</sst>" or absent}

A part may also be given as a list of [text, count] pieces, each written
count times in turn: a part of hundreds of megabytes that packs to little.
"""
import json
import sys
import zipfile

MAIN = "http://schemas.openxmlformats.org/spreadsheetml/2006/main"
RELS = "http://schemas.openxmlformats.org/package/2006/relationships"
DOC = "http://schemas.openxmlformats.org/officeDocument/2006/relationships"


def write_part(z, name, content):
    if isinstance(content, str):
        z.writestr(name, content)
        return
    with z.open(name, "w", force_zip64=True) as part:
        for text, count in content:
            data = text.encode("utf-8")
            # Written a few megabytes at a time.
            batch = max(1, (4 << 20) // max(1, len(data)))
            while count > 0:
                n = min(batch, count)
                part.write(data * n)
                count -= n


def main():
    description = json.load(sys.stdin)
    shared = description.get("sharedStrings")
    rels = [f'<Relationship Id="rId1" Type="{DOC}/worksheet" Target="worksheets/sheet1.xml"/>']
    if shared is not None:
        rels.append(f'<Relationship Id="rId2" Type="{DOC}/sharedStrings" '
                    'Target="sharedStrings.xml"/>')
    with zipfile.ZipFile(description["path"], "w", zipfile.ZIP_DEFLATED) as z:
        z.writestr("[Content_Types].xml",
                   '<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">'
                   '<Override PartName="/xl/workbook.xml" ContentType="application/'
                   'vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml"/></Types>')
        z.writestr("_rels/.rels", f'<Relationships xmlns="{RELS}"><Relationship Id="rId1" '
                   f'Type="{DOC}/officeDocument" Target="xl/workbook.xml"/></Relationships>')
        z.writestr("xl/workbook.xml", f'<workbook xmlns="{MAIN}" xmlns:r="{DOC}"><sheets>'
                   '<sheet name="Sheet1" sheetId="1" r:id="rId1"/></sheets></workbook>')
        z.writestr("xl/_rels/workbook.xml.rels",
                   f'<Relationships xmlns="{RELS}">{"".join(rels)}</Relationships>')
        write_part(z, "xl/worksheets/sheet1.xml", description["sheet"])
        if shared is not None:
            write_part(z, "xl/sharedStrings.xml", shared)


if __name__ == "__main__":
    sys.exit(main())
