#pragma once

#include <QByteArray>
#include <QString>
#include <string>
#include <thread>
#include <vector>

#include "import/workbook/HandOver.h"

namespace kq::html {

// What the parse of a page hands on, in the page's order: its tables as
// they open and close, and each row of a table with the texts of its
// non-empty cells as shown (layout white space folded, line breaks kept),
// as UTF-8. A cell spanning columns or rows counts once, in its first.
struct ParsedCell {
    int column;
    std::size_t offset, size;  // its text in ParsedBatch::text
};
struct ParsedPiece {
    enum class Kind : unsigned char { TableOpened, Row, TableClosed };
    Kind kind;
    std::size_t table;                 // numbered as the tables open
    int row;                           // 0-based within its table
    std::size_t firstCell, cellCount;  // in ParsedBatch::cells
};
struct ParsedBatch {
    std::vector<ParsedPiece> pieces;
    std::vector<ParsedCell> cells;
    std::string text;
    std::size_t rows = 0;

    void clear();  // keeps the room
};

// Parses a page, given as UTF-8, with libxml2's forgiving HTML parser on a
// thread of its own, a few batches ahead of the thread that takes them:
// the parse is the greater part of reading a page, and the cells' texts
// are made and typed meanwhile.
class PageParse {
  public:
    explicit PageParse(QByteArray utf8);
    // Stops the parse where it is, if it is not done, and waits for it.
    ~PageParse();
    PageParse(const PageParse&) = delete;
    PageParse& operator=(const PageParse&) = delete;

    // The next batch into batch, whose old contents go back to be reused;
    // false when all are taken.
    bool next(ParsedBatch& batch);
    // Once next() has given false: why the page could not be read whole
    // (too many rows or columns), or empty.
    QString problem() const { return problem_; }

  private:
    friend class TableCollector;
    // From the parsing thread: false when nobody takes batches any more.
    bool hand(ParsedBatch& batch);
    void run();

    QByteArray utf8_;
    HandOver<ParsedBatch> batches_;
    QString problem_;  // kept before the batches finish
    std::thread thread_;
};

}  // namespace kq::html
