#include "import/html/PageParse.h"

#include <libxml/HTMLparser.h>
#include <libxml/parserInternals.h>

#include <algorithm>
#include <cstring>

#include "import/workbook/FormatProblem.h"

namespace kq::html {

void ParsedBatch::clear() {
    pieces.clear();
    cells.clear();
    text.clear();
    rows = 0;
}

namespace {

// Large enough that handing a batch over costs nothing beside parsing it.
constexpr std::size_t kBatchRows = 1024;
constexpr std::size_t kBatchesAhead = 4;

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
    std::string text;           // of the cell being read
    bool pendingBlank = false;  // a run of layout white space before the next text
    std::size_t trailingBlanks = 0;
    std::vector<int> busyUntil;  // per column, the last row a cell above spans
    // The row's cells so far; a table inside one of them hands its rows on first.
    std::vector<ParsedCell> cells;
    std::string cellTexts;
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

}  // namespace

// The SAX events of the page made into batches. Nothing may unwind through
// libxml2: a problem stops the parser and is kept.
class TableCollector {
  public:
    TableCollector(PageParse& parse, xmlParserCtxtPtr context) : parse_(parse), context_(context) {}

    QString problem;

    bool stopped() const { return stopped_; }

    void start(const char* name, const xmlChar** attributes) {
        const Element element = elementOf(name);
        if (element == Element::Table) {
            open_.push_back({});
            open_.back().table = tables_++;
            batch_.pieces.push_back({ParsedPiece::Kind::TableOpened, open_.back().table, 0, 0, 0});
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
            t.text.resize(t.text.size() - t.trailingBlanks);
            t.trailingBlanks = 0;
            t.text += '\n';
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
                batch_.pieces.push_back({ParsedPiece::Kind::TableClosed, table, 0, 0, 0});
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
                t.text.resize(t.text.size() - t.trailingBlanks);
                t.trailingBlanks = 0;
                t.pendingBlank = true;
                ++i;
                continue;
            }
            if (text[i] == ' ' && t.pendingBlank) {
                ++i;
                continue;
            }
            if (t.pendingBlank && !t.text.empty() && t.text.back() != '\n') t.text += ' ';
            t.pendingBlank = false;
            int runEnd = i;
            while (runEnd < length && !layout(text[runEnd])) ++runEnd;
            t.text.append(text + i, std::size_t(runEnd - i));
            int spaces = 0;
            while (spaces < runEnd - i && text[runEnd - 1 - spaces] == ' ') ++spaces;
            t.trailingBlanks =
                spaces == runEnd - i ? t.trailingBlanks + std::size_t(spaces) : std::size_t(spaces);
            i = runEnd;
        }
    }

    // At the end of the page: the last batch goes too.
    void finish() {
        if (!stopped_ && !batch_.pieces.empty()) parse_.hand(batch_);
    }

    void fail(const QString& what) {
        if (problem.isEmpty()) problem = what;
        stop();
    }

  private:
    void stop() {
        stopped_ = true;
        xmlStopParser(context_);
    }

    void beginRow(OpenTable& t) {
        if (t.row + 1 >= kXlsxMaxRows)
            return fail(QStringLiteral("表格超过 %1 行").arg(kXlsxMaxRows));
        ++t.row;
        t.inRow = true;
        t.column = 0;
        t.cells.clear();
        t.cellTexts.clear();
    }

    void endRow(OpenTable& t) {
        endCell(t);
        if (!t.inRow) return;
        t.inRow = false;
        if (t.cells.empty()) return;
        const std::size_t base = batch_.text.size();
        batch_.pieces.push_back(
            {ParsedPiece::Kind::Row, t.table, t.row, batch_.cells.size(), t.cells.size()});
        for (ParsedCell cell : t.cells) {
            cell.offset += base;
            batch_.cells.push_back(cell);
        }
        batch_.text += t.cellTexts;
        if (++batch_.rows >= kBatchRows && !parse_.hand(batch_)) stop();
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
        t.text.clear();  // keeps its room for the next cell
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
        if (t.text.empty()) return;
        t.cells.push_back({t.cellColumn, t.cellTexts.size(), t.text.size()});
        t.cellTexts += t.text;
    }

    PageParse& parse_;
    xmlParserCtxtPtr context_;
    bool stopped_ = false;
    std::size_t tables_ = 0;
    std::vector<OpenTable> open_;
    ParsedBatch batch_;
};

namespace {

TableCollector& collectorOf(void* context) {
    return *static_cast<TableCollector*>(static_cast<xmlParserCtxtPtr>(context)->_private);
}

// What libxml2 calls; an exception (out of memory) must not pass through it.
template <typename F>
void guarded(void* context, F&& f) {
    TableCollector& collector = collectorOf(context);
    if (collector.stopped()) return;
    try {
        f(collector);
    } catch (...) {
        collector.fail(QStringLiteral("内存不足，无法读取"));
    }
}

void onStart(void* context, const xmlChar* name, const xmlChar** attributes) {
    guarded(context,
            [&](TableCollector& c) { c.start(reinterpret_cast<const char*>(name), attributes); });
}
void onEnd(void* context, const xmlChar* name) {
    guarded(context, [&](TableCollector& c) { c.end(reinterpret_cast<const char*>(name)); });
}
void onCharacters(void* context, const xmlChar* text, int length) {
    guarded(context,
            [&](TableCollector& c) { c.characters(reinterpret_cast<const char*>(text), length); });
}
void ignoreText(void*, const xmlChar*, int) {}  // script and style
void ignoreMessage(void*, const char*, ...) {}

}  // namespace

PageParse::PageParse(QByteArray utf8) : utf8_(std::move(utf8)), batches_(kBatchesAhead) {
    xmlInitParser();  // once, before any thread parses
    thread_ = std::thread([this] { run(); });
}

PageParse::~PageParse() {
    batches_.stop();
    thread_.join();
}

// Nothing here may throw: an exception must not leave this thread.
void PageParse::run() {
    QString problem;
    try {
        htmlSAXHandler sax{};
        sax.startElement = onStart;
        sax.endElement = onEnd;
        sax.characters = onCharacters;
        sax.cdataBlock = ignoreText;
        sax.warning = ignoreMessage;
        sax.error = ignoreMessage;
        sax.fatalError = ignoreMessage;
        htmlParserCtxtPtr context =
            htmlCreateMemoryParserCtxt(utf8_.constData(), int(utf8_.size()));
        if (!context) {
            problem = QStringLiteral("内存不足，无法读取");
        } else {
            TableCollector collector(*this, context);
            xmlFree(context->sax);
            context->sax = &sax;
            // The parser hands its context to the callbacks; the collector rides on it.
            context->userData = context;
            context->_private = &collector;
            htmlCtxtUseOptions(context, HTML_PARSE_RECOVER | HTML_PARSE_NONET |
                                            HTML_PARSE_IGNORE_ENC | HTML_PARSE_NODEFDTD |
                                            HTML_PARSE_NOIMPLIED);
            // The page is UTF-8 by now; without saying so the parser guesses Latin-1.
            xmlSwitchEncoding(context, XML_CHAR_ENCODING_UTF8);
            htmlParseDocument(context);
            context->sax = nullptr;  // ours, on the stack
            if (context->myDoc) xmlFreeDoc(context->myDoc);
            htmlFreeParserCtxt(context);
            collector.finish();
            problem = collector.problem;
        }
    } catch (...) {
        problem = QStringLiteral("内存不足，无法读取");
    }
    problem_ = problem;
    batches_.finish();
}

bool PageParse::hand(ParsedBatch& batch) {
    if (!batches_.give(batch)) return false;
    batch.clear();  // a batch taken before, its room kept
    return true;
}

bool PageParse::next(ParsedBatch& batch) { return batches_.take(batch); }

}  // namespace kq::html
