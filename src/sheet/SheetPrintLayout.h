#pragma once

#include "reports/AttendanceSheet.h"

class QPagedPaintDevice;

namespace kq::ui {

// Lays the sheet out on the device's pages (set A4 landscape by the
// caller): the title and legend above the first page's grid, the header
// row on every page, a range of up to 31 days and its totals across one
// page width (the font shrinks, no column is cut), longer ranges in further
// bands of pages that repeat the name column, and "第 N 页 共 M 页" below
// each page. Returns the number of pages.
int printAttendanceSheet(QPagedPaintDevice& device, const reports::AttendanceSheet& sheet);

}  // namespace kq::ui
