#!/usr/bin/python3
"""Writes a punch workbook of the largest size an .xls sheet holds.

Usage: make_large_ry.py OUT.xls [ROWS]   (default 65535 punch rows + header)
Run with /usr/bin/python3 (Debian's python3-xlwt).
"""
import datetime
import sys

import xlwt


def main():
    out = sys.argv[1]
    rows = int(sys.argv[2]) if len(sys.argv) > 2 else 65535
    date_style = xlwt.easyxf(num_format_str="yyyy/m/d")
    time_style = xlwt.easyxf(num_format_str="h:mm")
    book = xlwt.Workbook(encoding="utf-8")
    sheet = book.add_sheet("sheet1")
    for c, name in enumerate(["日期", "时间", "姓名", "部门"]):
        sheet.write(0, c, name)
    departments = ["装配", "包装", "仓库", "质检"]
    for i in range(rows):
        r = i + 1
        # About 1,000 employees punching four times a day through a month.
        day = datetime.date(2024, 1, 1) + datetime.timedelta(days=(i // 4000) % 31)
        minute = (7 * 60 + 30 + (i * 37) % (12 * 60)) % (24 * 60)
        sheet.write(r, 0, day, date_style)
        sheet.write(r, 1, datetime.time(minute // 60, minute % 60), time_style)
        sheet.write(r, 2, "员工%04d" % (i % 1000))
        sheet.write(r, 3, departments[i % len(departments)])
    book.save(out)


if __name__ == "__main__":
    main()
