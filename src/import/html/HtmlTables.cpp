#include "import/html/HtmlTables.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <exception>
#include <optional>
#include <vector>

#include "import/html/PageParse.h"
#include "import/text/TextEncoding.h"
#include "import/workbook/FormatProblem.h"

namespace kq::html {
namespace {

using text::Charset;

// The charset a <meta> tag among the page's first bytes names.
Charset declaredCharset(const QByteArray& bytes) {
    const QByteArray head = bytes.first(std::min<qsizetype>(bytes.size(), 1 << 16)).toLower();
    for (qsizetype meta = head.indexOf("<meta"); meta >= 0;
         meta = head.indexOf("<meta", meta + 5)) {
        const qsizetype end = head.indexOf('>', meta);
        const QByteArray tag = head.mid(meta, end < 0 ? -1 : end - meta);
        qsizetype at = tag.indexOf("charset");
        if (at < 0) continue;
        at += 7;
        while (at < tag.size() &&
               (tag[at] == ' ' || tag[at] == '=' || tag[at] == '"' || tag[at] == '\''))
            ++at;
        qsizetype to = at;
        while (to < tag.size() &&
               (std::isalnum(uchar(tag[to])) || tag[to] == '-' || tag[to] == '_'))
            ++to;
        const QByteArray name = tag.mid(at, to - at);
        if (name == "utf-8" || name == "utf8") return Charset::Utf8;
        for (const char* gb :
             {"gb2312", "gbk", "gb18030", "x-gbk", "cp936", "windows-936", "euc-cn"})
            if (name == gb) return Charset::Gb18030;
        return Charset::Unknown;
    }
    return Charset::Unknown;
}

// Picks the table to read while the page is parsed: the first table one of
// whose top rows holds the header, else the first table. A table's rows are
// kept only while it may still be the one; once it is known, its rows go on
// to the sink as they end, so the page need not be parsed whole first.
class TableChoice {
  public:
    TableChoice(const HeaderTest& holdsHeader, const RowSink& sink)
        : holdsHeader_(holdsHeader), sink_(sink) {}

    bool anyTable() const { return !tables_.empty(); }

    void opened() {
        tables_.push_back({});
        decide();
    }

    void row(std::size_t table, SheetRow&& row) {
        if (chosen_) {
            if (table == *chosen_) sink_(std::move(row));
            return;
        }
        Table& t = tables_[table];
        if (t.state == State::Open && row.index < kHeaderSearchRows && holdsHeader_(row))
            t.state = State::Holds;
        else if (t.state == State::Open && row.index >= kHeaderSearchRows)
            t.state = State::Lacks;
        // The first table is read when none holds the header.
        if (t.state != State::Lacks || table == 0) t.rows.push_back(std::move(row));
        if (t.state == State::Lacks && table != 0) t.rows = {};
        decide();
    }

    void closed(std::size_t table) {
        if (chosen_) return;
        if (tables_[table].state == State::Open) tables_[table].state = State::Lacks;
        decide();
    }

    // At the end of the page every table is known.
    void finish() {
        if (chosen_) return;
        for (Table& t : tables_)
            if (t.state == State::Open) t.state = State::Lacks;
        decide();
        if (!chosen_ && !tables_.empty()) choose(0);
    }

  private:
    enum class State { Open, Holds, Lacks };
    struct Table {
        State state = State::Open;
        std::vector<SheetRow> rows;
    };

    void decide() {
        if (chosen_) return;
        if (!holdsHeader_) {
            if (!tables_.empty()) choose(0);
            return;
        }
        for (std::size_t i = 0; i < tables_.size(); ++i) {
            if (tables_[i].state == State::Open) return;
            if (tables_[i].state == State::Holds) return choose(i);
        }
    }

    void choose(std::size_t table) {
        chosen_ = table;
        std::vector<SheetRow> rows = std::move(tables_[table].rows);
        for (Table& t : tables_) t.rows = {};
        for (SheetRow& row : rows) sink_(std::move(row));
    }

    const HeaderTest& holdsHeader_;
    const RowSink& sink_;
    std::vector<Table> tables_;
    std::optional<std::size_t> chosen_;
};

// A row of the page's cells as the sheet's cells: texts, a no-break space
// being the page's way of writing a blank.
SheetRow sheetRow(const ParsedBatch& batch, const ParsedPiece& piece) {
    SheetRow row;
    row.index = piece.row;
    row.cells.reserve(piece.cellCount);
    for (std::size_t i = piece.firstCell; i < piece.firstCell + piece.cellCount; ++i) {
        const ParsedCell& cell = batch.cells[i];
        const std::string_view bytes(batch.text.data() + cell.offset, cell.size);
        QString text = QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
        if (bytes.find("\xC2\xA0") != std::string_view::npos)
            text.replace(QChar(0xA0), QLatin1Char(' '));
        row.cells.push_back({cell.column, textCell(std::move(text))});
    }
    return row;
}

// Hands the rows of the chosen table to sink while the page is parsed.
void readTables(const QByteArray& utf8, const HeaderTest& holdsHeader, const RowSink& sink) {
    TableChoice choice(holdsHeader, sink);
    PageParse parse(utf8);
    ParsedBatch batch;
    while (parse.next(batch)) {
        for (const ParsedPiece& piece : batch.pieces) {
            switch (piece.kind) {
                case ParsedPiece::Kind::TableOpened:
                    choice.opened();
                    break;
                case ParsedPiece::Kind::Row:
                    choice.row(piece.table, sheetRow(batch, piece));
                    break;
                case ParsedPiece::Kind::TableClosed:
                    choice.closed(piece.table);
                    break;
            }
        }
    }
    if (const QString problem = parse.problem(); !problem.isEmpty()) damaged(problem);
    if (!choice.anyTable()) throw FormatProblem(FormatProblem::Kind::NotAWorkbook);
    choice.finish();
}

// The page's one sheet, parsed when it is read.
class WebPage : public SheetSource {
  public:
    WebPage(const QByteArray& bytes, const HeaderTest& holdsHeader)
        : bytes_(bytes), holdsHeader_(holdsHeader) {}

    QStringList sheetNames() const override { return {QStringLiteral("sheet1")}; }
    void readSheet(int index, const RowSink& sink) override {
        if (index != 0) return;
        readTables(text::toUtf8(bytes_, declaredCharset(bytes_)), holdsHeader_, sink);
    }
    bool holdsOnlyTexts() const override { return true; }

  private:
    QByteArray bytes_;
    HeaderTest holdsHeader_;
};

}  // namespace

std::unique_ptr<SheetSource> readHtmlTables(const QByteArray& bytes,
                                            const HeaderTest& holdsHeader) {
    return std::make_unique<WebPage>(bytes, holdsHeader);
}

}  // namespace kq::html
