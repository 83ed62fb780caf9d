#!/usr/bin/python3
"""Writes an .xlsx package around worksheet XML given as it is, for tests of
how the reader takes XML that writers seldom produce (prefixes, references,
CDATA, comments) or that is damaged. Reads JSON on stdin:

{"path": "...", "sheet": "<worksheet ...>...</worksheet>",
 "sharedStrings": "<sst ...>...</sst>" or absent}
"""
import json
import sys
import zipfile

MAIN = "http://schemas.openxmlformats.org/spreadsheetml/2006/main"
RELS = "http://schemas.openxmlformats.org/package/2006/relationships"
DOC = "http://schemas.openxmlformats.org/officeDocument/2006/relationships"


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
        z.writestr("xl/worksheets/sheet1.xml", description["sheet"])
        if shared is not None:
            z.writestr("xl/sharedStrings.xml", shared)


if __name__ == "__main__":
    sys.exit(main())
