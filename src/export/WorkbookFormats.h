#pragma once

#include <xlsxwriter.h>

#include <QHash>

#include "export/WorkbookLayout.h"

namespace kq {

// The cell formats a layout asks for, each made once per workbook.
class WorkbookFormats {
  public:
    WorkbookFormats(lxw_workbook* workbook, lxw_format* bold) : workbook_(workbook), bold_(bold) {}

    // Grid row 0 is bold; the layout's header rows also wrap when they hold
    // two lines, and each cell takes its fill. Null for a plain cell.
    lxw_format* cellFormat(const WorkbookLayout& layout, int row, int col);

  private:
    lxw_workbook* workbook_;
    lxw_format* bold_;
    QHash<quint64, lxw_format*> made_;
};

// The frozen panes and the printed page of the layout; grid row 0 lies at
// sheet row firstRow.
void applyPageLayout(lxw_worksheet* sheet, const WorkbookLayout& layout, int firstRow);

}  // namespace kq
