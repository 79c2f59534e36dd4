#!/usr/bin/python3
"""Writes a punch workbook of the largest size an .xls sheet holds.

Usage: make_large_ry.py OUT.xls|OUT.xlsx|OUT.csv|OUT.wide.csv|OUT.html [ROWS]
  (default 65535 punch rows + header). .csv is comma separated UTF-8 with a
  BOM; .html is a web page in the shape LibreOffice saves a sheet as (a font
  and the cell's value in attributes of every cell), .plain.html one with
  nothing but the table's tags, as web systems write it; .wide.csv has a fifth
  column (工号) and ISO dates, for LibreOffice to make an .xlsx of.
Run with /usr/bin/python3 (Debian's python3-xlwt, or python3-openpyxl for .xlsx).
"""
import csv
import datetime
import html
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


def write_xls(out, rows, records=None):
    date_style = xlwt.easyxf(num_format_str="yyyy/m/d")
    time_style = xlwt.easyxf(num_format_str="h:mm")
    book = xlwt.Workbook(encoding="utf-8")
    sheet = book.add_sheet("sheet1")
    for c, name in enumerate(HEADER):
        sheet.write(0, c, name)
    for r, (day, time, name, department) in enumerate(records or punches(rows), start=1):
        sheet.write(r, 0, day, date_style)
        sheet.write(r, 1, time, time_style)
        sheet.write(r, 2, name)
        sheet.write(r, 3, department)
    book.save(out)


def write_xlsx(out, rows, records=None):
    import openpyxl
    book = openpyxl.Workbook(write_only=True)
    sheet = book.create_sheet("sheet1")
    sheet.append(HEADER)
    for day, time, name, department in records or punches(rows):
        date_cell = openpyxl.cell.WriteOnlyCell(sheet, value=day)
        date_cell.number_format = "yyyy/m/d"
        time_cell = openpyxl.cell.WriteOnlyCell(sheet, value=time)
        time_cell.number_format = "h:mm"
        sheet.append([date_cell, time_cell, name, department])
    book.save(out)


def texts(rows):
    for day, time, name, department in punches(rows):
        yield ["%d/%d/%d" % (day.year, day.month, day.day), "%d:%02d:00" % (time.hour, time.minute),
               name, department]


def write_csv(out, rows):
    with open(out, "w", encoding="utf-8-sig", newline="") as f:
        writer = csv.writer(f)
        writer.writerow(HEADER)
        writer.writerows(texts(rows))


def write_html(out, rows):
    def text_cell(text):
        return '<td align="left"><font face="WenQuanYi Zen Hei">%s</font></td>' % html.escape(text)

    with open(out, "w", encoding="utf-8") as f:
        f.write('<!DOCTYPE html>\n<html>\n<head>\n<meta http-equiv="content-type" '
                'content="text/html; charset=utf-8"/>\n</head>\n<body>\n'
                '<table cellspacing="0" border="0">\n<colgroup span="4" width="85"></colgroup>\n')
        f.write("\t<tr>\n\t\t%s\n\t</tr>\n" % "\n\t\t".join(text_cell(h) for h in HEADER))
        for day, time, name, department in texts(rows):
            f.write('\t<tr>\n\t\t<td height="17" align="right" sdval="1" '
                    'sdnum="1033;0;YYYY/M/D">%s</td>\n\t\t<td align="right" sdval="0.5" '
                    'sdnum="1033;1033;H:MM:SS">%s</td>\n\t\t%s\n\t\t%s\n\t</tr>\n'
                    % (day, time, text_cell(name), text_cell(department)))
        f.write("</table>\n</body>\n</html>\n")


def write_plain_html(out, rows):
    with open(out, "w", encoding="utf-8") as f:
        f.write("<html><head><meta charset=\"utf-8\"></head><body><table>\n")
        f.write("<tr>%s</tr>\n" % "".join("<th>%s</th>" % h for h in HEADER))
        for cells in texts(rows):
            f.write("<tr>%s</tr>\n" % "".join("<td>%s</td>" % html.escape(c) for c in cells))
        f.write("</table></body></html>\n")


def write_wide_csv(out, rows):
    """Five columns, ISO dates: what LibreOffice turns into date and time cells."""
    with open(out, "w", encoding="utf-8", newline="") as f:
        writer = csv.writer(f)
        writer.writerow(HEADER + ["工号"])
        for i, (day, time, name, department) in enumerate(punches(rows)):
            writer.writerow([day.isoformat(), "%d:%02d:00" % (time.hour, time.minute), name,
                             department, 100000 + i % 1000])


def main():
    out = sys.argv[1]
    rows = int(sys.argv[2]) if len(sys.argv) > 2 else 65535
    for suffix, write in ((".xlsx", write_xlsx), (".wide.csv", write_wide_csv), (".csv", write_csv), (".plain.html", write_plain_html),
                          (".html", write_html)):
        if out.endswith(suffix):
            return write(out, rows)
    write_xls(out, rows)


if __name__ == "__main__":
    main()
