#pragma once

#include <QString>
#include <variant>

namespace kq {

// One field value as the tables hold it. Dates and times are day counts
// (see DateTimeText.h); their text is the general form.
class Value {
  public:
    enum class Type { Null, Number, Text, DateTime };

    Value() = default;
    static Value number(double v) { return Value(Number{v}); }
    static Value text(QString s) { return Value(std::move(s)); }
    static Value dateTime(double ole) { return Value(DateTime{ole}); }

    Type type() const { return static_cast<Type>(data_.index()); }
    bool isNull() const { return type() == Type::Null; }
    double toDouble() const;
    const QString& textValue() const;

    // The text a grid cell, a list item or a query literal shows for it.
    QString toText() const;

    friend bool operator==(const Value& a, const Value& b) { return a.data_ == b.data_; }

  private:
    // Kept to 32 bytes: a month of punches holds millions of them.
    struct Number {
        double v;
        bool operator==(const Number&) const = default;
    };
    struct DateTime {
        double v;
        bool operator==(const DateTime&) const = default;
    };
    // Alternatives in the order of Type.
    using Data = std::variant<std::monostate, Number, QString, DateTime>;
    explicit Value(Data data) : data_(std::move(data)) {}

    Data data_;
};

// A number as the engine shows it: no exponent for ordinary values, no
// trailing zeros ("3", "2.5").
QString numberText(double v);

}  // namespace kq
