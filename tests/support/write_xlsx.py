#!/usr/bin/python3
"""Writes one .xlsx from a JSON description read on stdin, for tests that
keep their sheet data beside their checks:

{"path": "...", "date1904": false, "inline": false,
 "sheets": [["Sheet name", [[cell, ...], ...]], ...]}

"inline" writes texts as inline strings instead of shared ones. A cell is
a string, a number, a boolean, null (no cell), or an object:
{"number": n, "format": "code" or built-in id}, {"date": "yyyy-mm-dd"} (shown
so), {"rich": ["run", ...]}, {"formula": "=...", "value": cached result} or
{"error": "#DIV/0!"}, a formula whose cached result is that error.
"""
import datetime as dt
import json
import sys

import xlsxwriter

# A sheet may be named as Excel would not name it ("A]B", 300 characters,
# an empty name): the tests write what a hostile file may hold.
xlsxwriter.workbook.Workbook._check_sheetname = lambda self, name, is_chartsheet=False: name


def main():
    description = json.load(sys.stdin)
    book = xlsxwriter.Workbook(description["path"], {
        "date_1904": description.get("date1904", False),
        "constant_memory": description.get("inline", False),
    })
    formats = {}

    def number_format(code):
        if code not in formats:
            formats[code] = book.add_format({"num_format": code})
        return formats[code]

    bold = book.add_format({"bold": True})
    for name, rows in description["sheets"]:
        sheet = book.add_worksheet(name)
        for r, row in enumerate(rows):
            for c, value in enumerate(row):
                if value is None:
                    continue
                if isinstance(value, bool):
                    sheet.write_boolean(r, c, value)
                elif not isinstance(value, dict):
                    sheet.write(r, c, value)
                elif "date" in value:
                    sheet.write_datetime(r, c, dt.date.fromisoformat(value["date"]),
                                         number_format("yyyy-mm-dd"))
                elif "number" in value:
                    sheet.write_number(r, c, value["number"], number_format(value["format"]))
                elif "rich" in value:
                    runs = []
                    for i, run in enumerate(value["rich"]):
                        runs += [bold, run] if i % 2 == 0 else [run]
                    sheet.write_rich_string(r, c, *runs)
                elif "error" in value:
                    sheet.write_formula(r, c, "=NA()", None, value["error"])
                else:
                    sheet.write_formula(r, c, value["formula"], None, value["value"])
    book.close()


if __name__ == "__main__":
    sys.exit(main())
