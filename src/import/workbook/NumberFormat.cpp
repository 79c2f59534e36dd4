#include "import/workbook/NumberFormat.h"

#include <cmath>

namespace kq::numfmt {
namespace {

constexpr double kSecondsPerDay = 86400.0;
// Excel's 1904 system starts on 1904-01-01, which is day 1462 here.
constexpr double k1904Offset = 1462.0;
// 9999-12-31, the last day either date system can show.
constexpr double kLastDay = 2958465.0;

bool isElapsedTag(QStringView tag) {
    if (tag.isEmpty()) return false;
    const QChar unit = tag[0].toLower();
    if (unit != u'h' && unit != u'm' && unit != u's') return false;
    for (const QChar c : tag)
        if (c.toLower() != unit) return false;
    return true;
}

}  // namespace

Kind builtInKind(int id) {
    if ((id >= 14 && id <= 17) || (id >= 27 && id <= 31) || id == 36 || (id >= 50 && id <= 54) ||
        id == 57 || id == 58)
        return Kind::Date;
    if ((id >= 18 && id <= 21) || (id >= 32 && id <= 35) || (id >= 45 && id <= 47) || id == 55 ||
        id == 56)
        return Kind::Time;
    if (id == 22) return Kind::DateTime;
    return Kind::Number;
}

Kind kindOf(QStringView code) {
    bool date = false;
    bool time = false;
    bool elapsed = false;
    bool month = false;  // an "m" that is not next to h or s
    QChar previous;      // the last date/time letter seen
    for (qsizetype i = 0; i < code.size(); ++i) {
        const QChar c = code[i];
        if (c == u';') break;
        if (c == u'"') {
            const qsizetype end = code.indexOf(u'"', i + 1);
            if (end < 0) break;
            i = end;
            continue;
        }
        if (c == u'\\' || c == u'_' || c == u'*') {
            ++i;  // the next character is shown literally or is padding
            continue;
        }
        if (c == u'[') {
            const qsizetype end = code.indexOf(u']', i + 1);
            if (end < 0) break;
            // [h] [mm] [ss]: elapsed time; colours, conditions and locales
            // ([Red], [>100], [$-804]) say nothing about dates.
            const QStringView tag = code.mid(i + 1, end - i - 1);
            if (isElapsedTag(tag)) {
                elapsed = true;
                previous = tag[0].toLower();  // the mm of [h]:mm are minutes
            }
            i = end;
            continue;
        }
        // The half-day markers: their M is no month.
        if (code.mid(i).startsWith(u"AM/PM", Qt::CaseInsensitive)) {
            time = true;
            i += 4;
            continue;
        }
        if (code.mid(i).startsWith(u"A/P", Qt::CaseInsensitive)) {
            time = true;
            i += 2;
            continue;
        }
        const QChar lower = c.toLower();
        if (lower == u'y' || lower == u'd') {
            date = true;
            previous = lower;
        } else if (lower == u'h' || lower == u's') {
            time = true;
            if (lower == u's' && previous == u'm') month = false;
            previous = lower;
        } else if (lower == u'm') {
            if (previous == u'h') {
                time = true;
            } else {
                month = true;
            }
            while (i + 1 < code.size() && code[i + 1].toLower() == u'm') ++i;
            previous = u'm';
        } else if (lower == u'g' && code.mid(i).startsWith(u"general", Qt::CaseInsensitive)) {
            i += 6;
        }
    }
    if (month) date = true;
    if (elapsed && !date) return Kind::Duration;
    if (elapsed) time = true;
    if (date && time) return Kind::DateTime;
    if (date) return Kind::Date;
    if (time) return Kind::Time;
    return Kind::Number;
}

Cell numberCell(double value, Kind kind, bool date1904) {
    Cell cell;
    cell.type = Cell::Type::Number;
    cell.number = value;
    if (kind == Kind::Number || kind == Kind::Duration || !std::isfinite(value) || value < 0)
        return cell;

    // Whole seconds, cut down; the thousandth of a second of slack keeps a
    // binary fraction just under a whole second (7:58 as 0.33194444...)
    // on that second.
    const double seconds = std::floor(value * kSecondsPerDay + 1e-3);
    double day = std::floor(seconds / kSecondsPerDay);
    const double second = seconds - day * kSecondsPerDay;
    if (day >= 1) {
        if (date1904) {
            day += k1904Offset;
        } else if (day < 60) {
            day += 1;  // before the phantom 1900-02-29, Excel counts one day less
        } else if (day == 60) {
            return cell;  // 1900-02-29 never was
        }
    }
    if (day > kLastDay) return cell;

    switch (kind) {
        case Kind::Date:
            cell.type = Cell::Type::Date;
            cell.number = day;
            break;
        case Kind::Time:
            cell.type = Cell::Type::Time;
            cell.number = second / kSecondsPerDay;
            break;
        default:
            cell.type = Cell::Type::DateTime;
            cell.number = day + second / kSecondsPerDay;
            break;
    }
    return cell;
}

}  // namespace kq::numfmt
