#!/usr/bin/python3
"""The peers of the reader benchmark: opens a workbook with xlrd (.xls) or
openpyxl (.xlsx) and reads every cell of its first sheet.

Usage: peer_readers.py xlrd|openpyxl WORKBOOK
Prints the seconds taken, the peak resident memory in MB and the cells read.
"""
import importlib
import resource
import sys
import time


def read_xlrd(xlrd, path):
    book = xlrd.open_workbook(path)
    sheet = book.sheet_by_index(0)
    return sum(len(sheet.row_values(r)) for r in range(sheet.nrows))


def read_openpyxl(openpyxl, path):
    book = openpyxl.load_workbook(path, read_only=True, data_only=True)
    cells = sum(len(row) for row in book.worksheets[0].iter_rows(values_only=True))
    book.close()
    return cells


def main():
    reader, path = sys.argv[1], sys.argv[2]
    read = {"xlrd": read_xlrd, "openpyxl": read_openpyxl}[reader]
    # Imported before the clock starts: the time is the reading alone.
    module = importlib.import_module(reader)
    start = time.perf_counter()
    cells = read(module, path)
    seconds = time.perf_counter() - start
    peak = resource.getrusage(resource.RUSAGE_SELF).ru_maxrss / 1024
    print(f"{seconds:.3f} {peak:.1f} {cells}")


if __name__ == "__main__":
    main()
