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

bool isWide(char32_t cp) {
    return (cp >= 0x1100 && cp <= 0x115F) || (cp >= 0x2E80 && cp <= 0x303E) ||
           (cp >= 0x3041 && cp <= 0x33FF) || (cp >= 0x3400 && cp <= 0x4DBF) ||
           (cp >= 0x4E00 && cp <= 0x9FFF) || (cp >= 0xA000 && cp <= 0xA4CF) ||
           (cp >= 0xAC00 && cp <= 0xD7A3) || (cp >= 0xF900 && cp <= 0xFAFF) ||
           (cp >= 0xFE30 && cp <= 0xFE4F) || (cp >= 0xFF00 && cp <= 0xFF60) ||
           (cp >= 0xFFE0 && cp <= 0xFFE6) || (cp >= 0x1F300 && cp <= 0x1F64F) ||
           (cp >= 0x20000 && cp <= 0x3FFFD);
}

// Display width in character units of the longest line of the text.
int displayUnits(const QString& text) {
    int widest = 0;
    int line = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar ch = text.at(i);
        if (ch == u'\n') {
            widest = std::max(widest, line);
            line = 0;
            continue;
        }
        char32_t cp = ch.unicode();
        if (ch.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            cp = QChar::surrogateToUcs4(ch, text.at(i + 1));
            ++i;
        }
        line += isWide(cp) ? 2 : 1;
    }
    return std::max(widest, line);
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
    // The whole first row is bold, not only its filled cells.
    worksheet_set_row(out.sheet, 0, LXW_DEF_ROW_HEIGHT, out.bold);
    return out;
}

void writeCell(const NewSheet& out, int r, int c, const QString& text) {
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
                               text.toUtf8().constData(), r == 0 ? out.bold : nullptr);
    if (err != LXW_NO_ERROR) {
        fail(QStringLiteral("写入单元格 %1 时出错（%2）。")
                 .arg(cellName(r, c), QString::fromUtf8(lxw_strerror(err))));
    }
}

// Writes every non-empty cell and returns each column's widest text in
// display units.
std::vector<int> writeCells(const GridSource& grid, const NewSheet& out) {
    const int rows = grid.rows();
    const int cols = grid.cols();
    std::vector<int> units(static_cast<size_t>(std::max(cols, 0)), 0);
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < cols; ++c) {
            const QString text = grid.text(r, c);
            if (text.isEmpty()) {
                continue;
            }
            writeCell(out, r, c, text);
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
void writeInto(const GridSource& grid, const QString& path, const QByteArray& fileName,
               QByteArray tmpDir) {
    checkFitsOneSheet(grid.rows(), grid.cols());
    NewSheet out = newSheet(fileName, tmpDir);
    sizeColumns(out.sheet, writeCells(grid, out));
    worksheet_activate(out.sheet);
    worksheet_set_selection(out.sheet, 0, 0, 0, 0);
    closeWorkbook(std::move(out.workbook), path);
}

}  // namespace

void writeGridWorkbook(const GridSource& grid, const QString& path) {
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
        writeInto(grid, path, fileName, tmpDir);
    } catch (...) {
        if (!existed) QFile::remove(path);
        throw;
    }
}

QString writeGridToTempWorkbook(const GridSource& grid) {
    QTemporaryFile file(QDir::tempPath() + QStringLiteral("/kq-export-XXXXXX.xlsx"));
    file.setAutoRemove(false);
    if (!file.open()) {
        fail(QStringLiteral("无法在临时文件夹“%1”中创建文件（%2）。请检查该文件夹是否可写。")
                 .arg(QDir::toNativeSeparators(QDir::tempPath()), file.errorString()));
    }
    const QString path = file.fileName();
    file.close();
    try {
        writeGridWorkbook(grid, path);
    } catch (...) {
        QFile::remove(path);
        throw;
    }
    return path;
}

}  // namespace kq
