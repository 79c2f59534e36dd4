#include "import/WorkbookFile.h"

#include <QFile>
#include <QFileInfo>

#include "data/Error.h"
#include "import/MissingWorkbook.h"
#include "import/OpenWorkbook.h"
#include "import/text/TextSheet.h"
#include "import/workbook/FormatProblem.h"
#include "import/workbook/RowAssembler.h"
#include "import/workbook/SheetSource.h"

namespace kq {
namespace {

const QString kSaveAgain = QStringLiteral(
    "请在 Excel 或 WPS 中打开它，另存为“Excel 工作簿”或“Excel 97-2003 工作簿”后重试。");

Error describe(const FormatProblem& problem, const QString& fileName) {
    switch (problem.kind()) {
        case FormatProblem::Kind::NotAWorkbook:
            return Error(ErrorKind::BadWorkbook,
                         QStringLiteral("工作簿 %1 不是可读取的 Excel 工作簿（.xls 或 .xlsx）。")
                                 .arg(fileName) +
                             kSaveAgain);
        case FormatProblem::Kind::OldFormat:
            return Error(ErrorKind::BadWorkbook,
                         QStringLiteral("工作簿 %1 是 Excel 4.0 的多工作表工作簿，无法读取。")
                                 .arg(fileName) +
                             kSaveAgain);
        case FormatProblem::Kind::BinaryWorkbook:
            return Error(
                ErrorKind::BadWorkbook,
                QStringLiteral("工作簿 %1 是 Excel 二进制工作簿（.xlsb），无法读取。"
                               "请在 Excel 中打开它，另存为“Excel 工作簿”（.xlsx）后重试。")
                    .arg(fileName));
        case FormatProblem::Kind::Encrypted:
            return Error(ErrorKind::BadWorkbook,
                         QStringLiteral("工作簿 %1 设有密码保护，无法读取。请取消密码后重试。")
                             .arg(fileName));
        case FormatProblem::Kind::Damaged:
            break;
    }
    return Error(
        ErrorKind::BadWorkbook,
        QStringLiteral("工作簿 %1 已损坏，无法读取（%2）。").arg(fileName, problem.detail()) +
            kSaveAgain);
}

}  // namespace

WorkbookFile::WorkbookFile(const QString& path, const HeaderTest& holdsHeader)
    : path_(path), holdsHeader_(holdsHeader) {
    const QFileInfo info(path);
    if (!info.exists()) throw MissingWorkbook({info.fileName()}, info.absolutePath());
    QFile file(path);
    if (!info.isFile() || !file.open(QIODevice::ReadOnly))
        throw Error(ErrorKind::BadWorkbook,
                    QStringLiteral("无法读取工作簿 %1：文件被其他程序占用或没有读取权限。"
                                   "请关闭占用它的程序后重试。")
                        .arg(fileName()));
    const QByteArray data = file.readAll();
    try {
        source_ = openWorkbookData(data, holdsHeader, info.fileName());
        sheetNames_ = source_->sheetNames();
    } catch (const FormatProblem& problem) {
        throw describe(problem, fileName());
    }
}

WorkbookFile::~WorkbookFile() = default;

QString WorkbookFile::fileName() const { return QFileInfo(path_).fileName(); }

int WorkbookFile::sheetIndex(const QString& name) const {
    qsizetype index = -1;
    for (qsizetype i = 0; i < sheetNames_.size() && index < 0; ++i)
        if (sheetNames_[i].compare(name, Qt::CaseInsensitive) == 0) index = i;
    // A workbook of one worksheet holds its data there, whatever its name.
    if (index < 0 && sheetNames_.size() == 1 && source_->sheetsWithoutContent().isEmpty())
        index = 0;
    if (index < 0 && source_->sheetsWithoutContent().contains(name, Qt::CaseInsensitive))
        throw Error(
            ErrorKind::BadWorkbook,
            QStringLiteral("工作簿 %1 中的工作表“%2”没有内容可读（工作簿没有指明它的数据）。")
                    .arg(fileName(), name) +
                kSaveAgain);
    if (index < 0)
        throw Error(ErrorKind::BadWorkbook,
                    QStringLiteral("工作簿 %1 中没有名为“%2”的工作表（找到的工作表：%3）。"
                                   "请把数据所在的工作表改名为“%2”后重试。")
                        .arg(fileName(), name,
                             sheetNames_.isEmpty() ? QStringLiteral("无")
                                                   : sheetNames_.join(QStringLiteral("、"))));
    return int(index);
}

void WorkbookFile::readRows(int index, const RowSink& sink) {
    try {
        source_->readSheet(index, sink);
    } catch (const FormatProblem& problem) {
        throw describe(problem, fileName());
    }
}

bool WorkbookFile::holdsOnlyTexts() const { return source_->holdsOnlyTexts(); }

QString WorkbookFile::readSheet(const QString& name, std::vector<SheetRow>& rows) {
    const int index = sheetIndex(name);
    // The readers hand rows on in the file's order; some writers put a
    // row's cells after later rows'.
    rows.clear();
    readRows(index, [&rows](SheetRow&& row) { rows.push_back(std::move(row)); });
    putInRowOrder(rows);
    if (holdsOnlyTexts()) text::typeNumberColumns(rows, text::headerRowOf(rows, holdsHeader_));
    return sheetNames_[index];
}

}  // namespace kq
