#!/usr/bin/python3
"""Prints every cell of a spreadsheet as read by xlrd: row, column, kind, value (numbers in hex)."""
import sys
import xlrd

book = xlrd.open_workbook(sys.argv[1])
sheet = book.sheet_by_index(0)
for r in range(sheet.nrows):
    for c in range(sheet.ncols):
        cell = sheet.cell(r, c)
        if cell.ctype == xlrd.XL_CELL_EMPTY:
            continue
        if cell.ctype == xlrd.XL_CELL_NUMBER:
            print(r, c, "n", float(cell.value).hex())
        else:
            print(r, c, "s", cell.value)
