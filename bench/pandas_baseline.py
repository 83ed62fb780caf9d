#!/usr/bin/python3
"""The comparison of the import benchmark: the same workbook read with
pandas read_excel (xlrd; openpyxl for .xlsx) and appended with to_sql into
an SQLite file.

Usage: pandas_baseline.py WORKBOOK SQLITE-PATH
Prints the seconds taken to read and to append.
"""
import sqlite3
import sys
import time

import pandas
import pandas.compat._optional

# pandas 1.5 asks for xlrd 2 by a version check; xlrd 1.2 reads .xls fine.
pandas.compat._optional.VERSIONS["xlrd"] = "1.2.0"


def main():
    workbook, target = sys.argv[1], sys.argv[2]
    start = time.perf_counter()
    engine = "xlrd" if workbook.endswith(".xls") else "openpyxl"
    frame = pandas.read_excel(workbook, sheet_name=0, engine=engine)
    read = time.perf_counter() - start
    with sqlite3.connect(target) as db:
        start = time.perf_counter()
        frame.to_sql("PANDAS_ITEM", db, if_exists="replace", index=False)
        db.commit()
        append = time.perf_counter() - start
    print(f"pandas read_excel {read:.3f} s, to_sql {append:.3f} s, total {read + append:.3f} s, "
          f"{len(frame)} rows")


if __name__ == "__main__":
    main()
