#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <unordered_map>

struct sqlite3_context;
struct sqlite3_stmt;
struct sqlite3_value;

namespace kq {

// A value as SQLite stores it, copied out of a result so that it can
// be handed back unchanged.
struct StoredValue {
    int type = 0;  // SQLITE_INTEGER, SQLITE_FLOAT, SQLITE_TEXT, SQLITE_BLOB or SQLITE_NULL
    qint64 integer = 0;
    double real = 0;
    QByteArray bytes;

    static StoredValue of(sqlite3_value* value);
    void resultInto(sqlite3_context* context) const;
    void bindInto(sqlite3_stmt* statement, int index) const;  // 1-based
    QString toText() const;  // as Value::toText shows a text or a number
};

// How min() and max() order two values: NULL, then numbers by value, then
// texts by their bytes, then blobs; negative, zero or positive.
int compareStored(const StoredValue& a, const StoredValue& b);

// Numbers the distinct values of a set as the "=" of SQL tells them apart:
// numbers by their numeric value (an integer equals the same real), texts
// and blobs by their bytes (binary collation), and never across classes.
// NULL equals nothing.
class StoredValueKeys {
  public:
    // The number of the value, a new one if it is not there.
    int add(sqlite3_value* value);
    // Its number, or -1 when no value of the set equals it.
    int find(sqlite3_value* value) const;
    int size() const { return count_; }

  private:
    int count_ = 0;
    // ry is mostly in date order: the day of a punch is most often the last one's.
    mutable long double lastNumber_ = 0;
    mutable int lastNumberKey_ = -2;
    // Bytes keyed with a hash cheaper than Qt's general one: a run looks up
    // every punch's name, and the keys are short.
    struct Bytes {
        QByteArray bytes;
        friend bool operator==(const Bytes&, const Bytes&) = default;
        friend std::size_t qHash(const Bytes& key, std::size_t seed) noexcept {
            quint64 hash = 14695981039346656037ull ^ seed;  // FNV-1a, 64 bits
            for (const char c : key.bytes) hash = (hash ^ quint8(c)) * 1099511628211ull;
            return std::size_t(hash);
        }
    };
    std::unordered_map<long double, int> numbers_;  // long double holds every int64 and double
    QHash<Bytes, int> texts_;
    QHash<Bytes, int> blobs_;
};

}  // namespace kq
