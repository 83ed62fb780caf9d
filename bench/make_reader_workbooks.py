#!/usr/bin/python3
"""Writes the reader benchmark's sheet twice, as .xls (xlwt) and as .xlsx
(XlsxWriter), with the same cells: a header and ROWS rows of 12 columns,
a distinct long text a row, a date column shown yyyy-mm-dd, numbers, a
column with gaps.

Usage: make_reader_workbooks.py ROWS XLS-PATH XLSX-PATH
"""
import datetime
import sys

import xlsxwriter
import xlwt

HEADER = ["Code", "Name", "Sold", "Price", "Cost", "Qty", "Uom", "Class", "Barcode", "Rate",
          "Note", "Ref"]
FIRST_DAY = datetime.date(2020, 1, 1)


def row(i):
    # Texts carry characters XML escapes and a non-ASCII one, as real names do.
    return ["IT%06d" % i,
            "Item %d: long description <%d> of a product & its pack, size %d cm \u00e9t\u00e9"
            % (i, i * 7, i % 300),
            FIRST_DAY + datetime.timedelta(days=i % 3000),
            1.25 + i % 100, 0.5 + i % 50, i % 1000, "PCS", "C%02d" % (i % 40),
            4000000000000 + i, round(i / 7, 4),
            "" if i % 10 else "note %d" % i, "R%d" % (i % 500)]


def write_xls(rows, path):
    book = xlwt.Workbook(encoding="utf-8")
    sheet = book.add_sheet("Items")
    date = xlwt.easyxf(num_format_str="yyyy-mm-dd")
    for c, name in enumerate(HEADER):
        sheet.write(0, c, name)
    for i in range(1, rows + 1):
        for c, value in enumerate(row(i)):
            if isinstance(value, datetime.date):
                sheet.write(i, c, value, date)
            elif value != "":
                sheet.write(i, c, value)
    book.save(path)


def write_xlsx(rows, path):
    book = xlsxwriter.Workbook(path)
    sheet = book.add_worksheet("Items")
    date = book.add_format({"num_format": "yyyy-mm-dd"})
    for c, name in enumerate(HEADER):
        sheet.write(0, c, name)
    for i in range(1, rows + 1):
        for c, value in enumerate(row(i)):
            if isinstance(value, datetime.date):
                sheet.write_datetime(i, c, value, date)
            elif value != "":
                sheet.write(i, c, value)
    book.close()


def main():
    rows, xls, xlsx = int(sys.argv[1]), sys.argv[2], sys.argv[3]
    write_xls(rows, xls)
    write_xlsx(rows, xlsx)


if __name__ == "__main__":
    main()
