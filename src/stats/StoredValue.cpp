#include "stats/StoredValue.h"

#include <sqlite3.h>

#include <algorithm>
#include <cstring>

#include "data/Value.h"

namespace kq {

StoredValue StoredValue::of(sqlite3_value* from) {
    StoredValue value;
    value.type = sqlite3_value_type(from);
    switch (value.type) {
        case SQLITE_INTEGER:
            value.integer = sqlite3_value_int64(from);
            break;
        case SQLITE_FLOAT:
            value.real = sqlite3_value_double(from);
            break;
        case SQLITE_TEXT:
            value.bytes = QByteArray(reinterpret_cast<const char*>(sqlite3_value_text(from)),
                                     sqlite3_value_bytes(from));
            break;
        case SQLITE_BLOB:
            value.bytes = QByteArray(static_cast<const char*>(sqlite3_value_blob(from)),
                                     sqlite3_value_bytes(from));
            break;
        default:
            break;
    }
    return value;
}

void StoredValue::resultInto(sqlite3_context* context) const {
    switch (type) {
        case SQLITE_INTEGER:
            sqlite3_result_int64(context, integer);
            break;
        case SQLITE_FLOAT:
            sqlite3_result_double(context, real);
            break;
        case SQLITE_TEXT:
            sqlite3_result_text(context, bytes.constData(), int(bytes.size()), SQLITE_STATIC);
            break;
        case SQLITE_BLOB:
            sqlite3_result_blob(context, bytes.constData(), int(bytes.size()), SQLITE_STATIC);
            break;
        default:
            sqlite3_result_null(context);
            break;
    }
}

QString StoredValue::toText() const {
    switch (type) {
        case SQLITE_INTEGER:
            return numberText(double(integer));
        case SQLITE_FLOAT:
            return numberText(real);
        case SQLITE_TEXT:
        case SQLITE_BLOB:
            return QString::fromUtf8(bytes);
        default:
            return {};
    }
}

void StoredValue::bindInto(sqlite3_stmt* statement, int index) const {
    switch (type) {
        case SQLITE_INTEGER:
            sqlite3_bind_int64(statement, index, integer);
            break;
        case SQLITE_FLOAT:
            sqlite3_bind_double(statement, index, real);
            break;
        case SQLITE_TEXT:
            sqlite3_bind_text(statement, index, bytes.constData(), int(bytes.size()),
                              SQLITE_STATIC);
            break;
        case SQLITE_BLOB:
            sqlite3_bind_blob(statement, index, bytes.constData(), int(bytes.size()),
                              SQLITE_STATIC);
            break;
        default:
            sqlite3_bind_null(statement, index);
            break;
    }
}

namespace {

int classOf(int type) {
    switch (type) {
        case SQLITE_NULL:
            return 0;
        case SQLITE_INTEGER:
        case SQLITE_FLOAT:
            return 1;
        case SQLITE_TEXT:
            return 2;
        default:
            return 3;
    }
}

// long double holds every int64 and double exactly.
long double numberOf(const StoredValue& value) {
    return value.type == SQLITE_INTEGER ? (long double)value.integer : (long double)value.real;
}

}  // namespace

int compareStored(const StoredValue& a, const StoredValue& b) {
    const int classA = classOf(a.type), classB = classOf(b.type);
    if (classA != classB) return classA < classB ? -1 : 1;
    if (classA == 0) return 0;
    if (classA == 1) {
        const long double x = numberOf(a), y = numberOf(b);
        return x < y ? -1 : (x > y ? 1 : 0);
    }
    // Binary collation: the bytes, then the shorter first.
    const qsizetype common = std::min(a.bytes.size(), b.bytes.size());
    const int bytes = common ? std::memcmp(a.bytes.constData(), b.bytes.constData(), common) : 0;
    if (bytes != 0) return bytes;
    return a.bytes.size() < b.bytes.size() ? -1 : (a.bytes.size() > b.bytes.size() ? 1 : 0);
}

namespace {

QByteArray bytesOf(sqlite3_value* value, int type) {
    const void* data = type == SQLITE_TEXT ? static_cast<const void*>(sqlite3_value_text(value))
                                           : sqlite3_value_blob(value);
    // Read in place: the bytes are only looked up, never kept.
    return QByteArray::fromRawData(static_cast<const char*>(data), sqlite3_value_bytes(value));
}

long double numberOf(sqlite3_value* value, int type) {
    return type == SQLITE_INTEGER ? (long double)sqlite3_value_int64(value)
                                  : (long double)sqlite3_value_double(value);
}

}  // namespace

int StoredValueKeys::add(sqlite3_value* value) {
    const int type = sqlite3_value_type(value);
    if (type == SQLITE_NULL) return -1;
    if (type == SQLITE_INTEGER || type == SQLITE_FLOAT) {
        const long double number = numberOf(value, type);
        if (lastNumberKey_ >= 0 && number == lastNumber_) return lastNumberKey_;
        const auto [it, added] = numbers_.try_emplace(number, count_);
        if (added) ++count_;
        lastNumber_ = number;
        lastNumberKey_ = it->second;
        return it->second;
    }
    QHash<Bytes, int>& map = type == SQLITE_TEXT ? texts_ : blobs_;
    const Bytes bytes{bytesOf(value, type)};
    if (const auto it = map.constFind(bytes); it != map.cend()) return *it;
    map.insert(Bytes{QByteArray(bytes.bytes.constData(), bytes.bytes.size())}, count_);
    return count_++;
}

int StoredValueKeys::find(sqlite3_value* value) const {
    const int type = sqlite3_value_type(value);
    if (type == SQLITE_NULL) return -1;
    if (type == SQLITE_INTEGER || type == SQLITE_FLOAT) {
        const long double number = numberOf(value, type);
        if (lastNumberKey_ != -2 && number == lastNumber_) return lastNumberKey_;
        const auto it = numbers_.find(number);
        lastNumber_ = number;
        lastNumberKey_ = it == numbers_.end() ? -1 : it->second;
        return lastNumberKey_;
    }
    const QHash<Bytes, int>& map = type == SQLITE_TEXT ? texts_ : blobs_;
    return map.value(Bytes{bytesOf(value, type)}, -1);
}

}  // namespace kq
