#include "import/text/DelimitedText.h"

#include <csv.h>

#include <array>
#include <limits>

#include "import/text/TextEncoding.h"
#include "import/text/TextSheet.h"
#include "import/workbook/FormatProblem.h"

namespace kq::text {
namespace {

constexpr std::array<char, 3> kDelimiters{',', '\t', ';'};

// Receives libcsv's fields and record ends and keeps the rows with content.
class RowCollector {
  public:
    explicit RowCollector(int rowLimit) : rowLimit_(rowLimit) {}

    static void onField(void* field, std::size_t length, void* self) {
        static_cast<RowCollector*>(self)->field(static_cast<const char*>(field), length);
    }
    static void onRecordEnd(int terminator, void* self) {
        static_cast<RowCollector*>(self)->recordEnd(terminator);
    }

    bool full() const { return rowIndex_ >= rowLimit_; }
    // Set instead of thrown: an exception must not unwind through libcsv.
    const QString& problem() const { return problem_; }
    std::vector<SheetRow> takeRows() { return std::move(rows_); }

  private:
    void field(const char* data, std::size_t length) {
        ++fields_;
        if (!problem_.isEmpty()) return;
        if (column_ >= kXlsxMaxColumns) {
            problem_ = QStringLiteral("第 %1 行超过 %2 列").arg(rowIndex_ + 1).arg(kXlsxMaxColumns);
            return;
        }
        if (length > 0) {
            Cell cell = textCell(QString::fromUtf8(data, qsizetype(length)));
            if (!cell.isEmpty()) row_.cells.push_back({column_, std::move(cell)});
        }
        ++column_;
    }

    void recordEnd(int terminator) {
        // With every line end reported, the LF of a CR LF pair ends nothing.
        const bool lfOfCrLf = fields_ == 0 && terminator == '\n' && lastTerminator_ == '\r';
        lastTerminator_ = lfOfCrLf ? 0 : terminator;
        if (lfOfCrLf || !problem_.isEmpty()) return;
        if (!row_.cells.empty() && rowIndex_ >= kXlsxMaxRows) {
            problem_ = QStringLiteral("超过 %1 行").arg(kXlsxMaxRows);
            return;
        }
        if (!row_.cells.empty() && rowIndex_ < rowLimit_) {
            row_.index = rowIndex_;
            rows_.push_back(std::move(row_));
        }
        row_ = SheetRow();
        ++rowIndex_;
        column_ = 0;
        fields_ = 0;
    }

    int rowLimit_;
    std::vector<SheetRow> rows_;
    SheetRow row_;
    int rowIndex_ = 0;
    int column_ = 0;
    int fields_ = 0;
    int lastTerminator_ = 0;
    QString problem_;
};

int noBlanks(unsigned char) { return 0; }

// The rows of the text split at `delimiter`, up to rowLimit of them.
std::vector<SheetRow> parse(QByteArrayView text, char delimiter, int rowLimit) {
    csv_parser parser;
    if (csv_init(&parser, CSV_REPALL_NL) != 0) damaged(QStringLiteral("内存不足"));
    csv_set_delim(&parser, static_cast<unsigned char>(delimiter));
    // A blank around a name is part of it, as in a worksheet cell.
    csv_set_space_func(&parser, noBlanks);
    RowCollector rows(rowLimit);
    constexpr qsizetype kChunk = 1 << 16;
    bool parsed = true;
    for (qsizetype at = 0; parsed && at < text.size() && !rows.full() && rows.problem().isEmpty();
         at += kChunk) {
        const QByteArrayView chunk = text.sliced(at, std::min(kChunk, text.size() - at));
        parsed = csv_parse(&parser, chunk.data(), std::size_t(chunk.size()), RowCollector::onField,
                           RowCollector::onRecordEnd, &rows) == std::size_t(chunk.size());
    }
    if (parsed && !rows.full() && rows.problem().isEmpty())
        csv_fini(&parser, RowCollector::onField, RowCollector::onRecordEnd, &rows);
    csv_free(&parser);
    if (!parsed) damaged(QStringLiteral("内存不足，无法读取"));
    if (!rows.problem().isEmpty()) damaged(rows.problem());
    return rows.takeRows();
}

char delimiterOf(QByteArrayView text, const HeaderTest& holdsHeader) {
    const QByteArrayView top = text.first(std::min<qsizetype>(text.size(), 1 << 16));
    if (holdsHeader)
        for (const char delimiter : kDelimiters)
            for (const SheetRow& row : parse(top, delimiter, kHeaderSearchRows))
                if (holdsHeader(row)) return delimiter;
    QByteArrayView firstLine = top.trimmed();
    if (const qsizetype end = firstLine.indexOf('\n'); end >= 0) firstLine = firstLine.first(end);
    char best = kDelimiters[0];
    for (const char delimiter : kDelimiters)
        if (firstLine.count(delimiter) > firstLine.count(best)) best = delimiter;
    return best;
}

}  // namespace

std::unique_ptr<SheetSource> readDelimitedText(const QByteArray& bytes,
                                               const HeaderTest& holdsHeader) {
    const QByteArray text = toUtf8(bytes);
    const char delimiter = delimiterOf(text, holdsHeader);
    return std::make_unique<TextSheet>(parse(text, delimiter, std::numeric_limits<int>::max()));
}

}  // namespace kq::text
