#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

#include "data/InMemoryTable.h"
#include "data/Recordset.h"
#include "data/Statement.h"
#include "import/ColumnTyping.h"

namespace kq {

class Connection;

// A workbook's table made anew (dropped when it is there, created with the
// sheet's columns and their types) inside the caller's transaction, and
// filled a row at a time. It can also gather the rows as `select * from T`
// then reads them back, from the very values it stores. Rows wait in
// batches and go in by one "insert ... select" each, which costs the engine
// a third of a bound statement per row.
class NewTable {
  public:
    NewTable(Connection& connection, const QString& table, const QStringList& names,
             std::vector<columns::ColumnType> types, bool gatherRows);

    // Stores the row's cells; nullptr stores a blank row. The table may get
    // it later: finish() stores the rows still waiting.
    void insert(const SheetRow* row);
    void finish();
    qsizetype rowCount() const { return rows_; }

    // The rows gathered, or nullptr when none were or when one of them is
    // not what SQLite would give back for it.
    std::shared_ptr<const RowSet> gatheredRows() &&;

  private:
    void gather(const Value& value, columns::ColumnType type);

    void store();

    std::vector<columns::ColumnType> types_;
    std::optional<InMemoryTable> waiting_;
    std::vector<Value> waitingValues_;  // row by row
    QByteArray utf8_;                   // the text being handed to the engine
    std::optional<Statement> insert_;
    qsizetype rows_ = 0;
    std::shared_ptr<RowSet> gathered_;
    bool gatheredAsStored_ = true;
    QHash<QString, QString> texts_;  // equal texts share one string, as a read does
};

}  // namespace kq
