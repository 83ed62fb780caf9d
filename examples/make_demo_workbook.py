#!/usr/bin/python3
"""Writes examples/EXCEL/Demo.xls, the example workbook of the main job:
items with their PLUs, stock items with portion prices, a bill of material
built from them, and loyalty members.

Usage: make_demo_workbook.py PATH
"""
import sys

import xlwt

SHEETS = {
    "Items": [
        ["Item Code", "Item Name", "PLU Code", "Description", "Unit", "Price", "Cost"],
        ["COF-001", "Espresso", "8800001", "Espresso single", "CUP", 2.2, 0.6],
        ["COF-002", "Cappuccino", "8800002", "Cappuccino regular", "CUP", 3.1, 0.9],
        ["COF-003", "Flat White", "8800003", "Flat white", "CUP", 3.3, 0.95],
        ["TEA-001", "English Breakfast Tea", "8800011", "Breakfast tea pot", "POT", 2.8, 0.4],
        ["BAK-001", "Butter Croissant", "8800021", "Croissant", "PCS", 2.5, 0.8],
        ["BAK-002", "Blueberry Muffin", "8800022", "Blueberry muffin", "PCS", 2.9, 0.85],
    ],
    "Stock": [
        ["Code", "Name", "Portion Price"],
        ["BEAN-01", "Espresso beans (portion)", 0.35],
        ["MILK-01", "Whole milk (portion)", 0.12],
        ["CUP-01", "Paper cup", 0.08],
        ["CAP-01", "Cappuccino", 0],
    ],
    "Bom": [
        ["Group", "Type", "Finished Item", "Component", "Quantity"],
        ["HOT", "H", "CAP-01", "", ""],
        ["HOT", "D", "CAP-01", "BEAN-01", 2],
        ["HOT", "D", "CAP-01", "MILK-01", 1],
        ["HOT", "D", "CAP-01", "CUP-01", 1],
    ],
    "Members": [
        ["Member No", "Member Name"],
        ["M0001", "Alice Tan"],
        ["M0002", "Bernard Lim"],
        ["M0003", "Chloe Ng"],
    ],
}


def main():
    book = xlwt.Workbook(encoding="utf-8")
    for name, rows in SHEETS.items():
        sheet = book.add_sheet(name)
        for r, row in enumerate(rows):
            for c, value in enumerate(row):
                if value != "":
                    sheet.write(r, c, value)
    book.save(sys.argv[1])


if __name__ == "__main__":
    main()
