#include "export/WorkbookFormats.h"

#include "data/Error.h"

namespace kq {
namespace {

constexpr std::uint8_t kA4Paper = 9;

}  // namespace

lxw_format* WorkbookFormats::cellFormat(const WorkbookLayout& layout, int row, int col) {
    const bool header = row == 0 || row < layout.frozenRows;
    if (!layout.fill) return row == 0 ? bold_ : nullptr;
    const std::uint32_t fill = layout.fill(row, col) & 0xFFFFFFu;
    const bool wrap = header && layout.twoLineHeader;
    if (fill == 0 && !header) return nullptr;
    const quint64 key = quint64(fill) | (quint64(header) << 32) | (quint64(wrap) << 33);
    if (lxw_format* made = made_.value(key)) return made;
    lxw_format* format = workbook_add_format(workbook_);
    if (!format)
        throw Error(ErrorKind::Export,
                    QStringLiteral("导出失败：无法创建单元格格式（内存不足）。"));
    if (fill != 0) format_set_bg_color(format, lxw_color_t(fill));
    if (header) {
        format_set_bold(format);
        format_set_align(format, LXW_ALIGN_CENTER);
        format_set_align(format, LXW_ALIGN_VERTICAL_CENTER);
    }
    if (wrap) format_set_text_wrap(format);
    made_.insert(key, format);
    return format;
}

void applyPageLayout(lxw_worksheet* sheet, const WorkbookLayout& layout, int firstRow) {
    if (layout.frozenRows > 0 || layout.frozenCols > 0)
        worksheet_freeze_panes(sheet, lxw_row_t(firstRow + layout.frozenRows),
                               lxw_col_t(layout.frozenCols));
    if (!layout.printLandscapeOnePageWide) return;
    worksheet_set_landscape(sheet);
    worksheet_set_paper(sheet, kA4Paper);
    worksheet_fit_to_pages(sheet, 1, 0);
    worksheet_gridlines(sheet, LXW_SHOW_ALL_GRIDLINES);
    if (layout.frozenRows > 0)
        worksheet_repeat_rows(sheet, lxw_row_t(firstRow),
                              lxw_row_t(firstRow + layout.frozenRows - 1));
}

}  // namespace kq
