#include "data/TableAppender.h"

#include "data/Connection.h"
#include "data/DateTimeText.h"
#include "data/Error.h"
#include "data/TableCatalogue.h"

namespace kq {

TableAppender::TableAppender(Connection& connection, const QString& table) : table_(table) {
    Statement info =
        connection.prepare(QStringLiteral("select name, type from pragma_table_info(?1)"));
    info.bind(1, table);
    while (info.step()) {
        columns_ << info.column(0).textValue();
        const QString type = info.column(1).textValue().toUpper();
        isDateTime_.push_back(type.contains(QLatin1String("DATE")) ||
                              type.contains(QLatin1String("TIME")));
    }
    if (columns_.isEmpty())
        throw Error(ErrorKind::TableNotFound, QStringLiteral("数据库中找不到表“%1”。").arg(table));
    QStringList names, marks;
    for (qsizetype i = 0; i < columns_.size(); ++i) {
        names << quoteIdentifier(columns_[i]);
        marks << QStringLiteral("?%1").arg(i + 1);
    }
    insert_.emplace(
        connection.prepare(QStringLiteral("insert into %1 (%2) values (%3)")
                               .arg(quoteIdentifier(table), names.join(QLatin1Char(',')),
                                    marks.join(QLatin1Char(',')))));
    row_.resize(std::size_t(columns_.size()));
}

void TableAppender::addNew() {
    std::fill(row_.begin(), row_.end(), Value());
    pending_ = true;
}

void TableAppender::set(const QString& column, const Value& value) {
    const auto i = columns_.indexOf(column);
    if (i < 0)
        throw Error(ErrorKind::FieldNotFound,
                    QStringLiteral("表“%1”中没有“%2”列。").arg(table_, column));
    if (!pending_) addNew();
    Value stored = value;
    if (isDateTime_[std::size_t(i)] && value.type() == Value::Type::Text) {
        const auto parsed = datetime::parse(value.textValue());
        if (!parsed && !value.textValue().isEmpty())
            throw Error(ErrorKind::TypeMismatch,
                        QStringLiteral("“%1”不是有效的日期或时间，无法写入表“%2”的“%3”列。")
                            .arg(value.textValue(), table_, column));
        stored = parsed ? Value::dateTime(*parsed) : Value();
    } else if (value.type() == Value::Type::DateTime) {
        stored = Value::dateTime(datetime::roundToSecond(value.toDouble()));
    }
    row_[std::size_t(i)] = stored;
}

void TableAppender::update() {
    if (!pending_) return;  // nothing added since the last update: nothing to save
    for (std::size_t i = 0; i < row_.size(); ++i) insert_->bind(int(i) + 1, row_[i]);
    insert_->step();
    insert_->reset();
    pending_ = false;
}

}  // namespace kq
