#include "import/PunchesWhileReading.h"

#include <QFileInfo>
#include <algorithm>

#include "data/Connection.h"
#include "data/Error.h"
#include "import/NewTable.h"
#include "import/SheetCheck.h"
#include "import/SheetRefusal.h"
#include "import/WorkbookFile.h"
#include "import/text/TextSheet.h"
#include "import/workbook/RowAssembler.h"
#include "import/workbook/RowsInBackground.h"

namespace kq {
namespace {

using columns::ColumnType;

// The rows from which the column types are decided: past the header
// search, and enough that a column empty in them is rare.
constexpr std::size_t kFirstRows = 4096;

// A reading error, told apart from the errors of checking and storing.
struct ReadingFailed {
    Error error;
};

// The checks' message for a sheet read whole.
struct Refused {
    Error error;
};

// Rows out of order, or a cell where the first rows gave no column: what
// the whole reading puts in order or counts in.
struct Unforeseen {};

// The facts inferType decides a column's type from, gathered row by row.
class ColumnFacts {
  public:
    explicit ColumnFacts(const CheckedSheet& checked)
        : checked_(checked), facts_(checked.types.size()) {
        for (const SheetRow& row : checked.sheet.rows)
            if (checked.sheet.isData(row)) see(row);
    }

    // A row after the first ones; Unforeseen when it changes a type
    // already decided.
    void add(const SheetRow& row) {
        see(row);
        for (const RowCell& c : row.cells) {
            const auto column = std::size_t(c.column);
            const Facts& f = facts_[column];
            if (!checked_.checks[column].typedByCells) continue;
            const ColumnType decided = checked_.types[column];
            if ((decided == ColumnType::DateTime && !f.allDateTime) ||
                (decided == ColumnType::Real && !f.allNumbers))
                throw Unforeseen{};
        }
    }

    bool typesAsAllRowsType() const {
        for (std::size_t c = 0; c < facts_.size(); ++c)
            if (checked_.checks[c].typedByCells && typeOf(facts_[c]) != checked_.types[c])
                return false;
        return true;
    }

  private:
    struct Facts {
        bool any = false;
        bool allDateTime = true;
        bool allNumbers = true;
    };

    static ColumnType typeOf(const Facts& f) {
        if (!f.any) return ColumnType::Text;
        if (f.allDateTime) return ColumnType::DateTime;
        if (f.allNumbers) return ColumnType::Real;
        return ColumnType::Text;
    }

    void see(const SheetRow& row) {
        for (const RowCell& c : row.cells) {
            Facts& f = facts_[std::size_t(c.column)];
            f.any = true;
            if (!c.cell.isNumber()) f.allNumbers = false;
            if (f.allDateTime && !columns::dateTimeOf(c.cell)) f.allDateTime = false;
        }
    }

    const CheckedSheet& checked_;
    std::vector<Facts> facts_;
};

bool inRowOrder(const std::vector<SheetRow>& rows) {
    return std::ranges::adjacent_find(rows, [](const SheetRow& a, const SheetRow& b) {
               return a.index >= b.index;
           }) == rows.end();
}

}  // namespace

std::optional<ImportedRows> importPunchesWhileReading(Connection& connection, const QString& path,
                                                      const QString& sheetName,
                                                      const QString& table, bool gatherRows) {
    const HeaderTest holdsHeader = headerTestFor(Workbook::Punches);
    const QString fileName = QFileInfo(path).fileName();
    std::unique_ptr<WorkbookFile> workbook;
    int index = 0;
    try {
        workbook = std::make_unique<WorkbookFile>(path, holdsHeader);
        index = workbook->sheetIndex(sheetName);
    } catch (const Error& e) {
        failReading(e);
    }
    RowsInBackground reading([&](const RowSink& sink) { workbook->readRows(index, sink); });
    std::vector<SheetRow> batch;
    const auto nextBatch = [&] {
        try {
            return reading.next(batch);
        } catch (const Error& e) {
            throw ReadingFailed{e};
        }
    };

    bool whole = false;  // the whole sheet lies in the first rows
    try {
        SheetTable first;
        first.name = workbook->sheetNames()[index];
        while (first.rows.size() < kFirstRows) {
            if (!nextBatch()) {
                whole = true;
                break;
            }
            std::ranges::move(batch, std::back_inserter(first.rows));
        }
        if (whole) putInRowOrder(first.rows);
        if (!inRowOrder(first.rows)) return std::nullopt;
        for (const SheetRow& row : first.rows)
            first.columnCount = std::max(first.columnCount, row.cells.back().column + 1);
        if (!first.rows.empty()) first.rowCount = first.rows.back().index + 1;

        std::optional<text::NumberColumns> numbers;
        if (workbook->holdsOnlyTexts())
            numbers.emplace(first.rows, text::headerRowOf(first.rows, holdsHeader));

        std::optional<CheckedSheet> checking;
        try {
            checking = checkSheet(std::move(first), fileName, Workbook::Punches);
        } catch (const Error& e) {
            // Read whole, the sheet gives the message it always gave; a
            // sheet read whole already has it.
            if (whole) throw Refused{e};
            return std::nullopt;
        }
        const CheckedSheet& checked = *checking;
        std::vector<int> dateTimeColumns;
        for (std::size_t c = 0; c < checked.checks.size(); ++c)
            if (checked.checks[c].dateTime) dateTimeColumns.push_back(int(c));
        ColumnFacts facts(checked);
        Transaction transaction(connection);
        NewTable written(connection, table, checked.names, checked.types, gatherRows);
        for (const SheetRow& row : checked.sheet.rows)
            if (checked.sheet.isData(row)) written.insert(&row);

        int last =
            checked.sheet.rows.empty() ? checked.sheet.headerRow : checked.sheet.rows.back().index;
        while (!whole && nextBatch()) {
            for (SheetRow& row : batch) {
                if (row.index <= last || row.cells.back().column >= checked.sheetColumns)
                    throw Unforeseen{};
                last = row.index;
                if (numbers && !numbers->add(row)) throw Unforeseen{};  // a text in a number column
                checked.punchDateTimes->settle(row);
                for (const int c : dateTimeColumns)
                    if (!passesCheck(checked.checks[std::size_t(c)], row.at(c))) throw Unforeseen{};
                facts.add(row);
                written.insert(&row);
            }
        }
        if ((numbers && !numbers->decidedAsAllRowsDecide()) || !facts.typesAsAllRowsType())
            return std::nullopt;
        written.finish();
        transaction.commit();
        return ImportedRows{written.rowCount(), std::move(written).gatheredRows()};
    } catch (const ReadingFailed& failed) {
        failReading(failed.error);
    } catch (const Refused& refused) {
        throw refused.error;
    } catch (const Unforeseen&) {
        return std::nullopt;
    } catch (const SheetRefusal&) {
        return std::nullopt;
    } catch (const Error&) {
        // Storing failed: read whole, the sheet is checked to the end before
        // anything is stored, and a check it fails comes first.
        if (whole) failWriting(fileName);
        return std::nullopt;
    }
}

}  // namespace kq
