#include "import/XlsReader.h"

#include <freexl.h>

#include <QFile>
#include <QFileInfo>
#include <cstring>
#include <optional>

#include "data/DateTimeText.h"
#include "data/Error.h"

namespace kq {
namespace {

int digits(const char* p, int count) {
    int v = 0;
    for (int i = 0; i < count; ++i) v = v * 10 + (p[i] - '0');
    return v;
}

// FreeXL writes dates as "YYYY-MM-DD" and times as "HH:MM:SS"; reading the
// fixed positions keeps a 65,535-row sheet cheap.
std::optional<double> dayCount(unsigned char type, const char* text) {
    if (!text || std::strlen(text) < (type == FREEXL_CELL_DATETIME ? 19u
                                      : type == FREEXL_CELL_DATE   ? 10u
                                                                   : 8u))
        return std::nullopt;
    QDate date;
    QTime time(0, 0);
    switch (type) {
        case FREEXL_CELL_DATE:
            date = QDate(digits(text, 4), digits(text + 5, 2), digits(text + 8, 2));
            break;
        case FREEXL_CELL_DATETIME:
            date = QDate(digits(text, 4), digits(text + 5, 2), digits(text + 8, 2));
            time = QTime(digits(text + 11, 2), digits(text + 14, 2), digits(text + 17, 2));
            break;
        default:
            time = QTime(digits(text, 2), digits(text + 3, 2), digits(text + 6, 2));
            return time.isValid() ? std::optional(datetime::fromTime(time)) : std::nullopt;
    }
    // Excel's phantom 1900-02-29 and the like have no day count.
    if (!date.isValid() || !time.isValid()) return std::nullopt;
    return datetime::fromDateTime(date, time);
}

XlsCell readCell(const FreeXL_CellValue& value) {
    XlsCell cell;
    switch (value.type) {
        case FREEXL_CELL_INT:
            cell.type = XlsCell::Type::Integer;
            cell.number = value.value.int_value;
            break;
        case FREEXL_CELL_DOUBLE:
            cell.type = XlsCell::Type::Double;
            cell.number = value.value.double_value;
            break;
        case FREEXL_CELL_TEXT:
        case FREEXL_CELL_SST_TEXT:
            cell.type = XlsCell::Type::Text;
            cell.text = QString::fromUtf8(value.value.text_value);
            if (cell.text.isEmpty()) cell.type = XlsCell::Type::Empty;
            break;
        case FREEXL_CELL_DATE:
        case FREEXL_CELL_DATETIME:
        case FREEXL_CELL_TIME:
            cell.type = value.type == FREEXL_CELL_DATE       ? XlsCell::Type::Date
                        : value.type == FREEXL_CELL_DATETIME ? XlsCell::Type::DateTime
                                                             : XlsCell::Type::Time;
            if (const auto ole = dayCount(value.type, value.value.text_value)) {
                cell.number = *ole;
            } else {
                // Kept as its text, so that a date column reports the cell.
                cell.type = XlsCell::Type::Text;
                cell.text = QString::fromUtf8(value.value.text_value);
            }
            break;
        default:
            break;
    }
    return cell;
}

}  // namespace

XlsReader::XlsReader(const QString& path) : path_(path) {
    const QFileInfo info(path);
    if (!info.exists())
        throw Error(
            errc::kFileNotFound,
            QStringLiteral("找不到工作簿 %1（应在文件夹 %2 中）。请把它放入该文件夹后重试。")
                .arg(info.fileName(), info.absolutePath()));
    if (!info.isFile() || !info.isReadable())
        throw Error(errc::kBadWorkbook,
                    QStringLiteral("无法读取工作簿 %1：文件被其他程序占用或没有读取权限。"
                                   "请关闭占用它的程序后重试。")
                        .arg(fileName()));

    const int rc = freexl_open(QFile::encodeName(path).constData(), &handle_);
    if (rc != FREEXL_OK) {
        // FreeXL keeps its handle when only the file could not be opened.
        if (handle_) freexl_close(handle_);
        handle_ = nullptr;
        if (rc == FREEXL_FILE_NOT_FOUND)
            throw Error(errc::kBadWorkbook,
                        QStringLiteral("无法打开工作簿 %1：文件被其他程序占用或没有读取权限。"
                                       "请关闭占用它的程序后重试。")
                            .arg(fileName()));
        throw Error(errc::kBadWorkbook,
                    QStringLiteral("工作簿 %1 不是可读取的 Excel 97-2003 工作簿（.xls），"
                                   "或者文件已损坏（错误代码 %2）。请在 Excel 中另存为"
                                   "“Excel 97-2003 工作簿”后重试。")
                        .arg(fileName())
                        .arg(rc));
    }

    unsigned int password = 0;
    if (freexl_get_info(handle_, FREEXL_BIFF_PASSWORD, &password) == FREEXL_OK &&
        password != FREEXL_BIFF_PLAIN) {
        freexl_close(handle_);
        handle_ = nullptr;
        throw Error(
            errc::kBadWorkbook,
            QStringLiteral("工作簿 %1 设有密码保护，无法读取。请取消密码后重试。").arg(fileName()));
    }

    unsigned int count = 0;
    freexl_get_info(handle_, FREEXL_BIFF_SHEET_COUNT, &count);
    for (unsigned int i = 0; i < count; ++i) {
        const char* name = nullptr;
        if (freexl_get_worksheet_name(handle_, static_cast<unsigned short>(i), &name) == FREEXL_OK)
            sheetNames_ << QString::fromUtf8(name ? name : "");
    }
}

XlsReader::~XlsReader() {
    if (handle_) freexl_close(handle_);
}

QString XlsReader::fileName() const { return QFileInfo(path_).fileName(); }

XlsSheet XlsReader::readSheet(const QString& name) {
    qsizetype index = -1;
    for (qsizetype i = 0; i < sheetNames_.size() && index < 0; ++i)
        if (sheetNames_[i].compare(name, Qt::CaseInsensitive) == 0) index = i;
    if (index < 0)
        throw Error(errc::kBadWorkbook,
                    QStringLiteral("工作簿 %1 中没有名为“%2”的工作表（找到的工作表：%3）。"
                                   "请把数据所在的工作表改名为“%2”后重试。")
                        .arg(fileName(), name,
                             sheetNames_.isEmpty() ? QStringLiteral("无")
                                                   : sheetNames_.join(QStringLiteral("、"))));

    unsigned int rows = 0;
    unsigned short columns = 0;
    if (freexl_select_active_worksheet(handle_, static_cast<unsigned short>(index)) != FREEXL_OK ||
        freexl_worksheet_dimensions(handle_, &rows, &columns) != FREEXL_OK)
        throw Error(
            errc::kBadWorkbook,
            QStringLiteral("无法读取工作簿 %1 的工作表“%2”。").arg(fileName(), sheetNames_[index]));

    XlsSheet sheet;
    sheet.name = sheetNames_[index];
    sheet.columnCount = columns;
    sheet.cells.reserve(std::size_t(rows) * columns);
    qsizetype usedRows = 0;
    int usedColumns = 0;
    for (unsigned int r = 0; r < rows; ++r) {
        for (unsigned short c = 0; c < columns; ++c) {
            FreeXL_CellValue value;
            if (freexl_get_cell_value(handle_, r, c, &value) != FREEXL_OK)
                value.type = FREEXL_CELL_NULL;
            sheet.cells.push_back(readCell(value));
            if (!sheet.cells.back().isEmpty()) {
                usedRows = r + 1;
                usedColumns = std::max(usedColumns, c + 1);
            }
        }
    }

    // Formatting alone stretches a sheet's dimensions; what lies past the
    // last cell with content is not data.
    if (usedColumns < columns) {
        std::vector<XlsCell> kept;
        kept.reserve(std::size_t(usedRows) * usedColumns);
        for (qsizetype r = 0; r < usedRows; ++r)
            for (int c = 0; c < usedColumns; ++c)
                kept.push_back(std::move(sheet.cells[r * columns + c]));
        sheet.cells = std::move(kept);
        sheet.columnCount = usedColumns;
    } else {
        sheet.cells.resize(std::size_t(usedRows) * columns);
    }
    if (usedRows == 0) {
        sheet.cells.clear();
        sheet.columnCount = 0;
    }
    return sheet;
}

}  // namespace kq
