#!/usr/bin/python3
"""Lays a small, realistic sample month into a program folder.

Writes ry.xls (punches), yd.xls (schedule) and pb.xls (shift windows) for the
current month, so the default date range of the main window finds them.
A workbook that is already in the folder is never overwritten.

Usage: /usr/bin/python3 samples/make_sample_month.py FOLDER
"""
import calendar
import datetime as dt
import os
import random
import sys

import xlwt

EMPLOYEES = ["张伟", "王芳", "李娜", "刘洋", "陈静", "杨磊", "赵敏", "黄强"]
# Shift code -> (clock-in, clock-out) as hours; B and 夜 end the next day.
SHIFTS = {"常": (8.0, 17.5), "A": (8.0, 16.0), "B": (20.0, 8.0),
          "早": (6.0, 14.0), "中": (14.0, 22.0), "夜": (22.0, 6.0)}
# The fourteen window times, in the order the settings window shows them.
WINDOWS = [("常班上", "8:00", "12:00"), ("常班下", "13:30", "17:30"),
           ("A班", "8:00", "16:00"), ("B班", "20:00", "8:00"),
           ("早班", "6:00", "14:00"), ("中班", "14:00", "22:00"),
           ("夜班", "22:00", "23:59")]

DATE = xlwt.easyxf(num_format_str="yyyy/m/d")
TIME = xlwt.easyxf(num_format_str="h:mm:ss")


def rota(employee_index, day):
    pattern = ["常", "常", "A", "B", "早", "中", "夜", "休"]
    if day.weekday() == 6:
        return "休"
    return pattern[(employee_index + day.day // 3) % len(pattern)]


def punches_for(code, day, rng):
    start, end = SHIFTS[code]
    out = []
    late = rng.random() < 0.12
    early = rng.random() < 0.08
    arrive = int(start * 60) + (rng.randint(3, 40) if late else -rng.randint(2, 15))
    leave = int(end * 60) + (-rng.randint(5, 50) if early else rng.randint(1, 20))
    out.append((day, arrive))
    leave_day = day + dt.timedelta(days=1) if end < start else day
    out.append((leave_day, leave))
    if code == "常":  # lunch break punches
        out.append((day, 12 * 60 + rng.randint(0, 5)))
        out.append((day, 13 * 60 + rng.randint(-20, 35)))
    return out


def write(path, header, rows, styles):
    book = xlwt.Workbook(encoding="utf-8")
    sheet = book.add_sheet("sheet1")
    for c, name in enumerate(header):
        sheet.write(0, c, name)
    for r, row in enumerate(rows, start=1):
        for c, value in enumerate(row):
            style = styles[c] if c < len(styles) and styles[c] else None
            if style:
                sheet.write(r, c, value, style)
            else:
                sheet.write(r, c, value)
    book.save(path)


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else "."
    os.makedirs(folder, exist_ok=True)
    today = dt.date.today()
    first = today.replace(day=1)
    days = [first + dt.timedelta(days=i)
            for i in range(calendar.monthrange(today.year, today.month)[1])]
    rng = random.Random(today.year * 100 + today.month)

    schedule = [[rota(i, d) for i in range(len(EMPLOYEES))] for d in days]
    punches = []
    for d_index, day in enumerate(days):
        if day > today:
            break
        for e_index, name in enumerate(EMPLOYEES):
            code = schedule[d_index][e_index]
            if code == "休":
                continue
            for punch_day, minutes in punches_for(code, day, rng):
                if punch_day > today:
                    continue
                t = dt.time((minutes // 60) % 24, minutes % 60, rng.randint(0, 59))
                punches.append((punch_day, t, name, "K%03d" % (e_index + 1)))
    punches.sort(key=lambda p: (p[0], p[1]))

    targets = {
        "ry.xls": lambda p: write(p, ["日期", "时间", "姓名", "卡号"],
                                  punches, [DATE, TIME, None, None]),
        "yd.xls": lambda p: write(p, ["日期"] + EMPLOYEES,
                                  [[d] + schedule[i] for i, d in enumerate(days)], [DATE]),
        "pb.xls": lambda p: write(p, ["时间", "说明"],
                                  [(dt.datetime.strptime(t, "%H:%M").time(), label + side)
                                   for label, start, end in WINDOWS
                                   for t, side in ((start, "起"), (end, "止"))], [TIME]),
    }
    for name, make in targets.items():
        path = os.path.join(folder, name)
        if os.path.exists(path):
            print("kept existing", path)
            continue
        make(path)
        print("wrote", path)


if __name__ == "__main__":
    main()
