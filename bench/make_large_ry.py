#!/usr/bin/python3
"""Writes a punch workbook of the largest size an .xls sheet holds.

Usage: make_large_ry.py OUT.xls|OUT.xlsx [ROWS]   (default 65535 punch rows + header)
Run with /usr/bin/python3 (Debian's python3-xlwt, or python3-openpyxl for .xlsx).
"""
import datetime
import sys

import xlwt


HEADER = ["日期", "时间", "姓名", "部门"]
DEPARTMENTS = ["装配", "包装", "仓库", "质检"]


def punches(rows):
    for i in range(rows):
        # About 1,000 employees punching four times a day through a month.
        day = datetime.date(2024, 1, 1) + datetime.timedelta(days=(i // 4000) % 31)
        minute = (7 * 60 + 30 + (i * 37) % (12 * 60)) % (24 * 60)
        yield (day, datetime.time(minute // 60, minute % 60), "员工%04d" % (i % 1000),
               DEPARTMENTS[i % len(DEPARTMENTS)])


def write_xls(out, rows):
    date_style = xlwt.easyxf(num_format_str="yyyy/m/d")
    time_style = xlwt.easyxf(num_format_str="h:mm")
    book = xlwt.Workbook(encoding="utf-8")
    sheet = book.add_sheet("sheet1")
    for c, name in enumerate(HEADER):
        sheet.write(0, c, name)
    for r, (day, time, name, department) in enumerate(punches(rows), start=1):
        sheet.write(r, 0, day, date_style)
        sheet.write(r, 1, time, time_style)
        sheet.write(r, 2, name)
        sheet.write(r, 3, department)
    book.save(out)


def write_xlsx(out, rows):
    import openpyxl
    book = openpyxl.Workbook(write_only=True)
    sheet = book.create_sheet("sheet1")
    sheet.append(HEADER)
    for day, time, name, department in punches(rows):
        date_cell = openpyxl.cell.WriteOnlyCell(sheet, value=day)
        date_cell.number_format = "yyyy/m/d"
        time_cell = openpyxl.cell.WriteOnlyCell(sheet, value=time)
        time_cell.number_format = "h:mm"
        sheet.append([date_cell, time_cell, name, department])
    book.save(out)


def main():
    out = sys.argv[1]
    rows = int(sys.argv[2]) if len(sys.argv) > 2 else 65535
    (write_xlsx if out.endswith(".xlsx") else write_xls)(out, rows)


if __name__ == "__main__":
    main()
