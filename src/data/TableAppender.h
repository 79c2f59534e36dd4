#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

#include "data/Statement.h"
#include "data/Value.h"

namespace kq {

class Connection;

// Add-new / set fields / update on one table. A text set into a DATETIME
// column is read with the regional text forms, as the engine would.
class TableAppender {
  public:
    TableAppender(Connection& connection, const QString& table);

    void addNew();
    void set(const QString& column, const Value& value);
    void set(const QString& column, const QString& text) { set(column, Value::text(text)); }
    void update();

    const QStringList& columns() const { return columns_; }

  private:
    QString table_;
    QStringList columns_;
    std::vector<bool> isDateTime_;
    std::vector<Value> row_;
    std::optional<Statement> insert_;
    bool pending_ = false;
};

}  // namespace kq
