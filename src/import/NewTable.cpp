#include "import/NewTable.h"

#include <sqlite3.h>

#include <cmath>

#include "data/Connection.h"
#include "data/TableCatalogue.h"

namespace kq {
namespace {

using columns::ColumnType;

constexpr std::size_t kBatchRows = 4096;

// A text as SQLite gives it back: stored as UTF-8, an unpaired surrogate
// cannot survive the trip.
QString asStored(const QString& text) {
    for (const QChar c : text)
        if (c.isSurrogate()) return QString::fromUtf8(text.toUtf8());
    return text;
}

}  // namespace

NewTable::NewTable(Connection& connection, const QString& table, const QStringList& names,
                   std::vector<ColumnType> types, bool gatherRows)
    : types_(std::move(types)) {
    if (TableExist(connection, table))
        connection.executeNative(QStringLiteral("drop table %1").arg(quoteIdentifier(table)));
    QStringList definitions;
    QStringList parameters;
    for (qsizetype c = 0; c < names.size(); ++c) {
        definitions << quoteIdentifier(names[c]) + QLatin1Char(' ') +
                           columns::declaredType(types_[std::size_t(c)]);
        parameters << QStringLiteral("c%1").arg(c + 1);
    }
    connection.executeNative(
        QStringLiteral("create table %1 (%2)")
            .arg(quoteIdentifier(table), definitions.join(QStringLiteral(", "))));
    // Untyped: the values reach the table as they would bound, and take its
    // columns' affinities there.
    waiting_.emplace(connection.handle(), QStringLiteral("kq_new_rows"), parameters);
    insert_.emplace(connection.prepare(QStringLiteral("insert into %1 select * from %2")
                                           .arg(quoteIdentifier(table), waiting_->name())));
    waitingValues_.reserve(kBatchRows * types_.size());
    if (gatherRows) {
        gathered_ = std::make_shared<RowSet>();
        gathered_->columns = names;
    }
}

void NewTable::insert(const SheetRow* row) {
    for (std::size_t c = 0; c < types_.size(); ++c) {
        waitingValues_.push_back(columns::valueOf(row ? row->at(int(c)) : nullptr, types_[c]));
        if (gathered_) gather(waitingValues_.back(), types_[c]);
    }
    ++rows_;
    if (waitingValues_.size() >= kBatchRows * types_.size()) store();
}

void NewTable::finish() { store(); }

void NewTable::store() {
    if (waitingValues_.empty() || types_.empty()) return;
    const std::size_t columns = types_.size();
    waiting_->show(qsizetype(waitingValues_.size() / columns), [&](qsizetype r, int c,
                                                                   sqlite3_context* result) {
        const Value& value = waitingValues_[std::size_t(r) * columns + std::size_t(c)];
        switch (value.type()) {
            case Value::Type::Null:
                sqlite3_result_null(result);
                break;
            case Value::Type::Number:
            case Value::Type::DateTime:
                sqlite3_result_double(result, value.toDouble());
                break;
            case Value::Type::Text:
                utf8_ = value.textValue().toUtf8();
                sqlite3_result_text(result, utf8_.constData(), int(utf8_.size()), SQLITE_TRANSIENT);
                break;
        }
    });
    insert_->step();
    insert_->reset();
    waiting_->show(0, {});
    waitingValues_.clear();
}

// What the column gives back for the value bound: REAL and DATETIME hold
// their numbers, TEXT its texts. Any other pairing SQLite's column affinity
// would convert, and then only reading the table back tells.
void NewTable::gather(const Value& value, ColumnType type) {
    switch (value.type()) {
        case Value::Type::Null:
            gathered_->append({});
            return;
        case Value::Type::Number:
        case Value::Type::DateTime: {
            const bool isDateTime = value.type() == Value::Type::DateTime;
            if (type != (isDateTime ? ColumnType::DateTime : ColumnType::Real))
                gatheredAsStored_ = false;
            const double v = value.toDouble();
            // SQLite stores NaN as NULL and gives back -0 as 0.
            if (std::isnan(v))
                gathered_->append({});
            else
                gathered_->append(isDateTime ? Value::dateTime(v + 0.0) : Value::number(v + 0.0));
            return;
        }
        case Value::Type::Text: {
            if (type != ColumnType::Text) gatheredAsStored_ = false;
            auto it = texts_.constFind(value.textValue());
            if (it == texts_.constEnd())
                it = texts_.insert(value.textValue(), asStored(value.textValue()));
            gathered_->append(Value::text(it.value()));
            return;
        }
    }
}

std::shared_ptr<const RowSet> NewTable::gatheredRows() && {
    if (!gatheredAsStored_) return nullptr;
    return std::move(gathered_);
}

}  // namespace kq
