#include "data/Value.h"

#include "data/DateTimeText.h"

namespace kq {

QString numberText(double v) { return QString::number(v, 'g', 15); }

QString Value::toText() const {
    switch (type_) {
        case Type::Null: return {};
        case Type::Number: return numberText(number_);
        case Type::Text: return text_;
        case Type::DateTime: return datetime::generalText(number_);
    }
    return {};
}

}  // namespace kq
