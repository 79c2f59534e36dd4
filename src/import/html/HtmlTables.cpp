#include "import/html/HtmlTables.h"

#include <libxml/HTMLparser.h>
#include <libxml/parserInternals.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <exception>
#include <optional>
#include <vector>

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

// A table being read; tables nest, and text belongs to the innermost cell.
struct OpenTable {
    std::size_t table = 0;
    int row = -1;
    bool inRow = false;
    bool inCell = false;
    int column = 0;  // where the next cell may begin
    int cellColumn = 0;
    int colspan = 1;
    int rowspan = 1;
    QByteArray text;
    bool pendingBlank = false;  // a run of layout white space before the next text
    qsizetype trailingBlanks = 0;
    std::vector<int> busyUntil;  // per column, the last row a cell above spans
    std::size_t rowCells = 0;    // the most cells a row has had: room made at once
    SheetRow current;
};

struct Spans {
    int columns = 1, rows = 1;
};

// A cell's colspan and rowspan; a page's cells carry many other attributes.
Spans spansOf(const xmlChar** attributes) {
    Spans spans;
    for (const xmlChar** a = attributes; a && a[0]; a += 2) {
        const char* name = reinterpret_cast<const char*>(a[0]);
        if ((name[0] != 'c' && name[0] != 'r') || !a[1]) continue;
        int* span = !std::strcmp(name, "colspan")   ? &spans.columns
                    : !std::strcmp(name, "rowspan") ? &spans.rows
                                                    : nullptr;
        if (!span) continue;
        const int value = QByteArray(reinterpret_cast<const char*>(a[1])).trimmed().toInt();
        *span = std::clamp(value, 1, span == &spans.columns ? 1000 : 65534);
    }
    return spans;
}

// The few elements a table is read by; libxml2 gives names in lower case.
enum class Element { Other, Table, Row, Cell, Break };

Element elementOf(const char* name) {
    switch (name[0]) {
        case 't':
            if (name[1] == 'r' && !name[2]) return Element::Row;
            if ((name[1] == 'd' || name[1] == 'h') && !name[2]) return Element::Cell;
            if (!std::strcmp(name, "table")) return Element::Table;
            return Element::Other;
        case 'b':
            return name[1] == 'r' && !name[2] ? Element::Break : Element::Other;
        default:
            return Element::Other;
    }
}

class TableCollector {
  public:
    explicit TableCollector(TableChoice& choice) : choice_(choice) {}

    QString problem;                 // set instead of thrown: nothing may unwind through libxml2
    std::exception_ptr sinkFailure;  // likewise what the rows' sink threw
    xmlParserCtxtPtr context = nullptr;

    void start(const char* name, const xmlChar** attributes) {
        const Element element = elementOf(name);
        if (element == Element::Table) {
            open_.push_back({});
            open_.back().table = tables_++;
            handOn([&] { choice_.opened(); });
            return;
        }
        if (open_.empty() || element == Element::Other) return;
        OpenTable& t = open_.back();
        if (element == Element::Row) {
            endRow(t);
            beginRow(t);
        } else if (element == Element::Cell) {
            if (!t.inRow) beginRow(t);
            endCell(t);
            const Spans spans = spansOf(attributes);
            beginCell(t, spans.columns, spans.rows);
        } else if (t.inCell) {  // a line break
            t.pendingBlank = false;
            t.text.chop(t.trailingBlanks);
            t.trailingBlanks = 0;
            t.text.append('\n');
        }
    }

    void end(const char* name) {
        if (open_.empty()) return;
        OpenTable& t = open_.back();
        switch (elementOf(name)) {
            case Element::Table: {
                endRow(t);
                const std::size_t table = t.table;
                open_.pop_back();
                handOn([&] { choice_.closed(table); });
                break;
            }
            case Element::Row:
                endRow(t);
                break;
            case Element::Cell:
                endCell(t);
                break;
            default:
                break;
        }
    }

    // HTML white space with a line break, tab or form feed in it is the
    // page's layout, shown as one blank; blanks typed into a cell are kept.
    void characters(const char* text, int length) {
        if (open_.empty() || !open_.back().inCell) return;
        OpenTable& t = open_.back();
        const auto layout = [](char c) { return c == '\n' || c == '\r' || c == '\t' || c == '\f'; };
        for (int i = 0; i < length;) {
            if (layout(text[i])) {
                t.text.chop(t.trailingBlanks);
                t.trailingBlanks = 0;
                t.pendingBlank = true;
                ++i;
                continue;
            }
            if (text[i] == ' ' && t.pendingBlank) {
                ++i;
                continue;
            }
            if (t.pendingBlank && !t.text.isEmpty() && !t.text.endsWith('\n')) t.text.append(' ');
            t.pendingBlank = false;
            int runEnd = i;
            while (runEnd < length && !layout(text[runEnd])) ++runEnd;
            t.text.append(text + i, runEnd - i);
            int spaces = 0;
            while (spaces < runEnd - i && text[runEnd - 1 - spaces] == ' ') ++spaces;
            t.trailingBlanks = spaces == runEnd - i ? t.trailingBlanks + spaces : spaces;
            i = runEnd;
        }
    }

    bool stopped() const { return !problem.isEmpty() || sinkFailure; }

  private:
    void fail(const QString& what) {
        if (problem.isEmpty()) problem = what;
        xmlStopParser(context);
    }

    template <typename F>
    void handOn(F&& f) {
        if (stopped()) return;
        try {
            f();
        } catch (...) {
            sinkFailure = std::current_exception();
            xmlStopParser(context);
        }
    }

    void beginRow(OpenTable& t) {
        if (t.row + 1 >= kXlsxMaxRows)
            return fail(QStringLiteral("表格超过 %1 行").arg(kXlsxMaxRows));
        ++t.row;
        t.inRow = true;
        t.column = 0;
        t.current = SheetRow();
        t.current.index = t.row;
        t.current.cells.reserve(t.rowCells);
    }

    void endRow(OpenTable& t) {
        endCell(t);
        if (!t.inRow) return;
        t.inRow = false;
        t.rowCells = std::max(t.rowCells, t.current.cells.size());
        if (!t.current.cells.empty()) handOn([&] { choice_.row(t.table, std::move(t.current)); });
        t.current = SheetRow();
    }

    void beginCell(OpenTable& t, int colspan, int rowspan) {
        while (std::size_t(t.column) < t.busyUntil.size() && t.busyUntil[t.column] >= t.row)
            ++t.column;
        if (t.column + colspan > kXlsxMaxColumns)
            return fail(
                QStringLiteral("表格第 %1 行超过 %2 列").arg(t.row + 1).arg(kXlsxMaxColumns));
        t.inCell = true;
        t.cellColumn = t.column;
        t.colspan = colspan;
        t.rowspan = rowspan;
        t.text.resize(0);  // keeps its room for the next cell
        t.pendingBlank = false;
        t.trailingBlanks = 0;
    }

    void endCell(OpenTable& t) {
        if (!t.inCell) return;
        t.inCell = false;
        if (t.rowspan > 1) {
            const auto last = std::size_t(t.cellColumn + t.colspan);
            if (t.busyUntil.size() < last) t.busyUntil.resize(last, -1);
            for (std::size_t c = std::size_t(t.cellColumn); c < last; ++c)
                t.busyUntil[c] = t.row + t.rowspan - 1;
        }
        t.column = t.cellColumn + t.colspan;
        // A no-break space is the page's way of writing a blank.
        QString text = QString::fromUtf8(t.text);
        if (t.text.contains("\xC2\xA0")) text.replace(QChar(0xA0), QLatin1Char(' '));
        Cell cell = textCell(std::move(text));
        if (!cell.isEmpty()) t.current.cells.push_back({t.cellColumn, std::move(cell)});
    }

    TableChoice& choice_;
    std::size_t tables_ = 0;
    std::vector<OpenTable> open_;
};

TableCollector& collectorOf(void* context) {
    return *static_cast<TableCollector*>(static_cast<xmlParserCtxtPtr>(context)->_private);
}

void onStart(void* context, const xmlChar* name, const xmlChar** attributes) {
    if (collectorOf(context).stopped()) return;
    collectorOf(context).start(reinterpret_cast<const char*>(name), attributes);
}
void onEnd(void* context, const xmlChar* name) {
    if (collectorOf(context).stopped()) return;
    collectorOf(context).end(reinterpret_cast<const char*>(name));
}
void onCharacters(void* context, const xmlChar* text, int length) {
    if (collectorOf(context).stopped()) return;
    collectorOf(context).characters(reinterpret_cast<const char*>(text), length);
}
void ignoreText(void*, const xmlChar*, int) {}  // script and style
void ignoreMessage(void*, const char*, ...) {}

// Hands the rows of the chosen table to sink while the page is parsed.
void readTables(const QByteArray& utf8, const HeaderTest& holdsHeader, const RowSink& sink) {
    xmlInitParser();
    htmlSAXHandler sax{};
    sax.startElement = onStart;
    sax.endElement = onEnd;
    sax.characters = onCharacters;
    sax.cdataBlock = ignoreText;
    sax.warning = ignoreMessage;
    sax.error = ignoreMessage;
    sax.fatalError = ignoreMessage;
    TableChoice choice(holdsHeader, sink);
    TableCollector collector(choice);
    // Parsed in place from memory: a push parser would copy the page into
    // its own growing buffer first.
    htmlParserCtxtPtr context = htmlCreateMemoryParserCtxt(utf8.constData(), int(utf8.size()));
    if (!context) damaged(QStringLiteral("内存不足，无法读取"));
    xmlFree(context->sax);
    context->sax = &sax;
    // The parser hands its context to the callbacks; the collector rides on it.
    context->userData = context;
    context->_private = &collector;
    collector.context = context;
    htmlCtxtUseOptions(context, HTML_PARSE_RECOVER | HTML_PARSE_NONET | HTML_PARSE_IGNORE_ENC);
    // The page is UTF-8 by now; without saying so the parser guesses Latin-1.
    xmlSwitchEncoding(context, XML_CHAR_ENCODING_UTF8);
    htmlParseDocument(context);
    context->sax = nullptr;  // ours, on the stack
    if (context->myDoc) xmlFreeDoc(context->myDoc);
    htmlFreeParserCtxt(context);
    if (collector.sinkFailure) std::rethrow_exception(collector.sinkFailure);
    if (!collector.problem.isEmpty()) damaged(collector.problem);
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
