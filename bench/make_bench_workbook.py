#!/usr/bin/python3
"""Writes the benchmark's MT_ITEM workbook: ROWS data rows x 12 columns,
unique item codes, and a few rejected rows of each kind spread through it.

Usage: make_bench_workbook.py ROWS PATH
"""
import sys

import xlwt

HEADER = ["Code", "Name", "Plu", "Desc", "Uom", "Price", "Cost", "Type", "Ref", "Class",
          "Button", "Rcp"]


def row(i, rows):
    code = "IT%06d" % i
    cells = [code, "Item number %d" % i, "PL%06d" % i, "Desc %d" % i, "PCS", 1.25 + i % 100,
             0.5 + i % 50, "I", "DEF", "C%02d" % (i % 40), "Button %d" % (i % 7), 1.1 + i % 9]
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


def main():
    rows, path = int(sys.argv[1]), sys.argv[2]
    book = xlwt.Workbook()
    sheet = book.add_sheet("Items")
    for c, name in enumerate(HEADER):
        sheet.write(0, c, name)
    for i in range(1, rows + 1):
        for c, value in enumerate(row(i, rows)):
            sheet.write(i, c, value)
    book.save(path)


if __name__ == "__main__":
    main()
