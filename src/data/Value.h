#pragma once

#include <QString>

namespace kq {

// One field value as the tables hold it. Dates and times are day counts
// (see DateTimeText.h); their text is the general form.
class Value {
public:
    enum class Type { Null, Number, Text, DateTime };

    Value() = default;
    static Value number(double v) { return Value(Type::Number, v, {}); }
    static Value text(QString s) { return Value(Type::Text, 0, std::move(s)); }
    static Value dateTime(double ole) { return Value(Type::DateTime, ole, {}); }

    Type type() const { return type_; }
    bool isNull() const { return type_ == Type::Null; }
    double toDouble() const { return number_; }
    const QString& textValue() const { return text_; }

    // The text a grid cell, a list item or a query literal shows for it.
    QString toText() const;

    friend bool operator==(const Value& a, const Value& b) {
        return a.type_ == b.type_ && a.number_ == b.number_ && a.text_ == b.text_;
    }

private:
    Value(Type t, double n, QString s) : type_(t), number_(n), text_(std::move(s)) {}

    Type type_ = Type::Null;
    double number_ = 0;
    QString text_;
};

// A number as the engine shows it: no exponent for ordinary values, no
// trailing zeros ("3", "2.5").
QString numberText(double v);

}  // namespace kq
