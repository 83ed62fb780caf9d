#!/usr/bin/python3
"""Writes the benchmark's MT_ITEM workbook: ROWS data rows x 14 columns,
unique item codes, a creation date and a long remark of its own on every
row, as a shop's item list has, and a few rejected rows of each kind spread
through it.

Usage: make_bench_workbook.py ROWS PATH

PATH ending in .xlsx writes an Excel 2007 workbook (up to 1,048,575 rows),
anything else an Excel 97-2003 one (up to 65,535).
"""
import datetime
import sys

import xlsxwriter
import xlwt

HEADER = ["Code", "Name", "Plu", "Desc", "Uom", "Price", "Cost", "Type", "Ref", "Class",
          "Button", "Rcp", "Created", "Remark"]
WORDS = ["carton", "chilled", "imported", "organic", "family pack", "seasonal", "refill",
         "gluten free", "low fat", "promotion", "supplier B", "shelf 4"]
DATE_STYLE = xlwt.easyxf(num_format_str="yyyy-mm-dd hh:mm")


def row(i, rows):
    code = "IT%06d" % i
    cells = [code, "Item number %d" % i, "PL%06d" % i, "Desc %d" % i, "PCS", 1.25 + i % 100,
             0.5 + i % 50, "I", "DEF", "C%02d" % (i % 40), "Button %d" % (i % 7), 1.1 + i % 9,
             datetime.datetime(2020, 1, 1) + datetime.timedelta(minutes=37 * i),
             "Item %d, %s, %s and %s; reorder from store %d" %
             (i, WORDS[i % 12], WORDS[i * 7 % 12], WORDS[i * 5 % 11], i % 97)]
    # A handful of rows fail each check: blank, duplicate, too long, bad character.
    kind = i * 5 // rows if i % max(rows // 20, 1) == 3 else -1
    if kind == 0:
        cells[0] = ""
    elif kind == 1:
        cells[0] = "IT%06d" % (i - 1)
    elif kind == 2:
        cells[1] = "N" * 120
    elif kind == 3:
        cells[0] = "IT %05d" % i
    return cells


def write_rows(rows, put, put_date):
    """The header and the rows, through put(row, column, value) and put_date."""
    for c, name in enumerate(HEADER):
        put(0, c, name)
    for i in range(1, rows + 1):
        for c, value in enumerate(row(i, rows)):
            (put_date if isinstance(value, datetime.datetime) else put)(i, c, value)


def write_xlsx(rows, path):
    # Texts go to the shared-string table, as Excel writes them.
    book = xlsxwriter.Workbook(path)
    sheet = book.add_worksheet("Items")
    date = book.add_format({"num_format": "yyyy-mm-dd hh:mm"})
    write_rows(rows, sheet.write, lambda r, c, v: sheet.write_datetime(r, c, v, date))
    book.close()


def write_xls(rows, path):
    book = xlwt.Workbook()
    sheet = book.add_sheet("Items")
    write_rows(rows, sheet.write, lambda r, c, v: sheet.write(r, c, v, DATE_STYLE))
    book.save(path)


def main():
    rows, path = int(sys.argv[1]), sys.argv[2]
    (write_xlsx if path.endswith(".xlsx") else write_xls)(rows, path)


if __name__ == "__main__":
    main()
