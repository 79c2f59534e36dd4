#include "export/GridWorkbook.h"

#include <xlsxwriter.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <algorithm>
#include <memory>
#include <vector>

#include "data/Error.h"
#include "export/NarrowPath.h"
#include "export/TextUnits.h"
#include "export/WorkbookFormats.h"

namespace kq {

namespace {

// Wider columns only make the sheet harder to read; long texts stay whole in
// the cell and show in the formula bar.
constexpr double kMaxColumnWidth = 100.0;
// Room for the bold header and the cell margins.
constexpr double kColumnPadding = 2.0;
// Excel's own limit on the text of one cell, in UTF-16 units as it counts them.
constexpr int kMaxCellText = 32767;

[[noreturn]] void fail(const QString& what) {
    throw Error(ErrorKind::Export, QStringLiteral("导出失败：%1").arg(what));
}

QString cellName(int row, int col) {
    char name[LXW_MAX_CELL_NAME_LENGTH];
    lxw_rowcol_to_cell(name, static_cast<lxw_row_t>(row), static_cast<lxw_col_t>(col));
    return QString::fromLatin1(name);
}

struct WorkbookFree {
    void operator()(lxw_workbook* wb) const { lxw_workbook_free(wb); }
};
using WorkbookPtr = std::unique_ptr<lxw_workbook, WorkbookFree>;

void checkFitsOneSheet(int rows, int cols) {
    if (rows > LXW_ROW_MAX || cols > LXW_COL_MAX) {
        fail(QStringLiteral("表格有 %1 行 %2 列，超出了 Excel 工作表的上限（%3 行，%4 "
                            "列）。请缩小查询范围后再导出。")
                 .arg(rows)
                 .arg(cols)
                 .arg(LXW_ROW_MAX)
                 .arg(LXW_COL_MAX));
    }
}

struct NewSheet {
    WorkbookPtr workbook;
    lxw_worksheet* sheet = nullptr;
    lxw_format* bold = nullptr;  // the header row's
    std::unique_ptr<WorkbookFormats> formats;
    int firstRow = 0;  // the sheet row of grid row 0
};

NewSheet newSheet(const QByteArray& fileName, QByteArray& tmpDir) {
    // Rows go out in order, so each one can be flushed as soon as it is
    // written: memory stays flat however large the grid is. The rows wait in
    // a file beside the workbook, not in a folder the library finds by
    // narrow environment variables.
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    options.tmpdir = tmpDir.data();
    NewSheet out;
    out.workbook.reset(workbook_new_opt(fileName.constData(), &options));
    if (!out.workbook) {
        fail(QStringLiteral("无法创建工作簿（内存或临时文件不足）。"));
    }
    out.sheet = workbook_add_worksheet(out.workbook.get(), nullptr);
    out.bold = workbook_add_format(out.workbook.get());
    if (!out.sheet || !out.bold) {
        fail(QStringLiteral("无法创建工作表（内存不足）。"));
    }
    format_set_bold(out.bold);
    out.formats = std::make_unique<WorkbookFormats>(out.workbook.get(), out.bold);
    // The whole first row is bold, not only its filled cells.
    worksheet_set_row(out.sheet, 0, LXW_DEF_ROW_HEIGHT, out.bold);
    return out;
}

void writeCell(const NewSheet& out, int r, int c, const QString& text, lxw_format* format) {
    if (text.size() > kMaxCellText) {
        fail(QStringLiteral("单元格 %1 的文字有 %2 个字符，超出了 Excel 单元格的上限 "
                            "%3，无法完整导出。")
                 .arg(cellName(r, c))
                 .arg(text.size())
                 .arg(kMaxCellText));
    }
    // Always a string cell: a grid text such as "=1+1" must stay what the
    // grid showed, never become a formula.
    const lxw_error err =
        worksheet_write_string(out.sheet, static_cast<lxw_row_t>(r), static_cast<lxw_col_t>(c),
                               text.toUtf8().constData(), format);
    if (err != LXW_NO_ERROR) {
        fail(QStringLiteral("写入单元格 %1 时出错（%2）。")
                 .arg(cellName(r, c), QString::fromUtf8(lxw_strerror(err))));
    }
}

// Writes every non-empty cell and returns each column's widest text in
// display units.
std::vector<int> writeCells(const GridSource& grid, const NewSheet& out,
                            const WorkbookLayout& layout) {
    const int rows = grid.rows();
    const int cols = grid.cols();
    std::vector<int> units(static_cast<size_t>(std::max(cols, 0)), 0);
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < cols; ++c) {
            const QString text = grid.text(r, c);
            lxw_format* format = out.formats->cellFormat(layout, r, c);
            if (text.isEmpty()) {
                // A filled cell is written blank, so the tint runs on.
                if (format != nullptr && format != out.bold)
                    worksheet_write_blank(out.sheet, lxw_row_t(out.firstRow + r), lxw_col_t(c),
                                          format);
                continue;
            }
            writeCell(out, out.firstRow + r, c, text, format);
            int& widest = units[static_cast<size_t>(c)];
            widest = std::max(widest, displayUnits(text));
        }
    }
    return units;
}

void sizeColumns(lxw_worksheet* sheet, const std::vector<int>& units) {
    for (size_t c = 0; c < units.size(); ++c) {
        if (units[c] == 0) {
            continue;  // an empty column keeps the default width
        }
        const double width = std::min(kMaxColumnWidth, units[c] + kColumnPadding);
        worksheet_set_column(sheet, static_cast<lxw_col_t>(c), static_cast<lxw_col_t>(c), width,
                             nullptr);
    }
}

// Nothing touches the file before this point. workbook_close frees the
// workbook whatever it returns; a half-written file is of no use.
void closeWorkbook(WorkbookPtr workbook, const QString& path) {
    const lxw_error err = workbook_close(workbook.release());
    if (err != LXW_NO_ERROR) {
        QFile::remove(path);
        fail(QStringLiteral("无法写入文件“%1”（%2）。请检查该文件夹是否可写、磁盘空间是否足够。")
                 .arg(QDir::toNativeSeparators(path), QString::fromUtf8(lxw_strerror(err))));
    }
}

// The sheet itself, into a file that exists and whose name, and folder's
// name, the library can open (see narrowPath).
void writeInto(const GridSource& grid, const WorkbookLayout& layout, const QString& path,
               const QByteArray& fileName, QByteArray tmpDir) {
    const int leading = int(layout.leadingLines.size());
    checkFitsOneSheet(leading + grid.rows(), grid.cols());
    NewSheet out = newSheet(fileName, tmpDir);
    out.firstRow = leading;
    for (int i = 0; i < leading; ++i) writeCell(out, i, 0, layout.leadingLines[i], nullptr);
    if (layout.twoLineHeader) worksheet_set_row(out.sheet, lxw_row_t(leading), 30, nullptr);
    sizeColumns(out.sheet, writeCells(grid, out, layout));
    applyPageLayout(out.sheet, layout, leading);
    worksheet_activate(out.sheet);
    worksheet_set_selection(out.sheet, 0, 0, 0, 0);
    closeWorkbook(std::move(out.workbook), path);
}

}  // namespace

void writeGridWorkbook(const GridSource& grid, const QString& path, const WorkbookLayout& layout) {
    // The library opens files by narrow names; Windows gives a short name to
    // an existing file only.
    const bool existed = QFileInfo::exists(path);
    if (!existed) {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly)) {
            fail(QStringLiteral("无法创建文件“%1”（%2）。请检查该文件夹是否可写。")
                     .arg(QDir::toNativeSeparators(path), file.errorString()));
        }
    }
    try {
        const QByteArray fileName = narrowPath(path);
        const QByteArray tmpDir = narrowPath(QFileInfo(path).absolutePath());
        if (fileName.isEmpty() || tmpDir.isEmpty()) {
            fail(QStringLiteral("文件路径“%1”中有本机字符集无法表示的字符。"
                                "请在系统中启用 8.3 短文件名，或改用只含常用字符的文件夹。")
                     .arg(QDir::toNativeSeparators(path)));
        }
        writeInto(grid, layout, path, fileName, tmpDir);
    } catch (...) {
        if (!existed) QFile::remove(path);
        throw;
    }
}

QString writeGridToTempWorkbook(const GridSource& grid, const WorkbookLayout& layout) {
    QTemporaryFile file(QDir::tempPath() + QStringLiteral("/kq-export-XXXXXX.xlsx"));
    file.setAutoRemove(false);
    if (!file.open()) {
        fail(QStringLiteral("无法在临时文件夹“%1”中创建文件（%2）。请检查该文件夹是否可写。")
                 .arg(QDir::toNativeSeparators(QDir::tempPath()), file.errorString()));
    }
    const QString path = file.fileName();
    file.close();
    try {
        writeGridWorkbook(grid, path, layout);
    } catch (...) {
        QFile::remove(path);
        throw;
    }
    return path;
}

}  // namespace kq
