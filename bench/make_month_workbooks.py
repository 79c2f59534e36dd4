#!/usr/bin/python3
"""Writes the clerk's three workbooks for one month: ry (punches), yd (the
schedule, one column per employee) and pb (the fourteen shift-window times).

Usage: make_month_workbooks.py FOLDER PUNCHES EMPLOYEES xls|xlsx
  Writes FOLDER/ry.EXT, FOLDER/yd.EXT and FOLDER/pb.EXT for December 2026.
  The punches are spread evenly over the 31 days and the employees, at
  times all round the clock, so every shift window has punches inside it;
  the names are those of the schedule (员工0001, 员工0002, ...). The last
  employee of the schedule never punches, so the missing-punch list has a
  row for each of their working days.
Run with /usr/bin/python3 (Debian's python3-xlwt, or python3-openpyxl for .xlsx).
"""
import datetime
import os
import sys

import xlwt

import make_large_ry

FIRST_DAY = datetime.date(2026, 12, 1)
DAYS = 31
# The six shifts and the rest day, as the schedule codes them.
CODES = ["常", "A", "B", "早", "中", "夜", "休"]
WINDOWS = [(8, 0), (12, 0), (13, 30), (17, 30), (8, 0), (16, 0), (20, 0), (8, 0),
           (6, 0), (14, 0), (14, 0), (22, 0), (22, 0), (23, 59, 59)]


def name(employee):
    return "员工%04d" % (employee + 1)


def punches(rows, employees):
    for i in range(rows):
        day = i * DAYS // rows
        minute = (i * 37 + day * 101) % (24 * 60)
        yield (FIRST_DAY + datetime.timedelta(days=day), datetime.time(minute // 60, minute % 60),
               name(i % (employees - 1)), make_large_ry.DEPARTMENTS[i % len(make_large_ry.DEPARTMENTS)])


def schedule(employees):
    yield ["日期"] + [name(e) for e in range(employees)]
    for d in range(DAYS):
        yield ([FIRST_DAY + datetime.timedelta(days=d)] +
               [CODES[(e * 3 + d) % len(CODES)] for e in range(employees)])


def shift_windows():
    yield ["时间", "说明"]
    for i, time in enumerate(WINDOWS):
        yield [datetime.time(*time), "第%d行" % (i + 1)]


def write_table_xls(out, rows):
    styles = {datetime.date: xlwt.easyxf(num_format_str="yyyy/m/d"),
              datetime.time: xlwt.easyxf(num_format_str="h:mm:ss")}
    book = xlwt.Workbook(encoding="utf-8")
    sheet = book.add_sheet("sheet1")
    for r, row in enumerate(rows):
        for c, value in enumerate(row):
            if type(value) in styles:
                sheet.write(r, c, value, styles[type(value)])
            else:
                sheet.write(r, c, value)
    book.save(out)


def write_table_xlsx(out, rows):
    import openpyxl
    formats = {datetime.date: "yyyy/m/d", datetime.time: "h:mm:ss"}
    book = openpyxl.Workbook(write_only=True)
    sheet = book.create_sheet("sheet1")
    for row in rows:
        cells = []
        for value in row:
            cell = openpyxl.cell.WriteOnlyCell(sheet, value=value)
            if type(value) in formats:
                cell.number_format = formats[type(value)]
            cells.append(cell)
        sheet.append(cells)
    book.save(out)


def main():
    folder, rows, employees, suffix = sys.argv[1], int(sys.argv[2]), int(sys.argv[3]), sys.argv[4]
    write_ry = make_large_ry.write_xlsx if suffix == "xlsx" else make_large_ry.write_xls
    write_table = write_table_xlsx if suffix == "xlsx" else write_table_xls
    write_ry(os.path.join(folder, "ry." + suffix), rows, punches(rows, employees))
    write_table(os.path.join(folder, "yd." + suffix), schedule(employees))
    write_table(os.path.join(folder, "pb." + suffix), shift_windows())


if __name__ == "__main__":
    main()
