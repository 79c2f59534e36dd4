#include "data/Value.h"

#include "data/DateTimeText.h"

namespace kq {

QString numberText(double v) { return QString::number(v, 'g', 15); }

double Value::toDouble() const {
    if (const auto* n = std::get_if<Number>(&data_)) return n->v;
    if (const auto* d = std::get_if<DateTime>(&data_)) return d->v;
    return 0;
}

const QString& Value::textValue() const {
    static const QString empty;
    const auto* s = std::get_if<QString>(&data_);
    return s ? *s : empty;
}

QString Value::toText() const {
    switch (type()) {
        case Type::Null:
            return {};
        case Type::Number:
            return numberText(toDouble());
        case Type::Text:
            return textValue();
        case Type::DateTime:
            return datetime::generalText(toDouble());
    }
    return {};
}

static_assert(sizeof(Value) <= 32);

}  // namespace kq
