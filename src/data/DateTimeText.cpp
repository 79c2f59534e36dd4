#include "data/DateTimeText.h"

#include <cmath>
#include <string_view>

namespace kq::datetime {
namespace {

const QDate kEpoch(1899, 12, 30);
constexpr double kSecondsPerDay = 86400.0;

// Reads min to max ASCII digits at `at` and moves past them; -1 when fewer.
// Hand-scanned rather than matched: an import parses every text cell.
int digitsAt(const QString& text, qsizetype& at, int min, int max) {
    int value = 0;
    int count = 0;
    for (; count < max && at < text.size() && text[at] >= u'0' && text[at] <= u'9'; ++count)
        value = value * 10 + (text[at++].unicode() - u'0');
    return count >= min ? value : -1;
}

bool charAt(const QString& text, qsizetype& at, std::u16string_view allowed) {
    if (at >= text.size() || allowed.find(text[at].unicode()) == std::u16string_view::npos)
        return false;
    ++at;
    return true;
}

// yyyy/M/d (or - or . between) and yyyy年M月d日.
std::optional<QDate> parseDate(const QString& text) {
    qsizetype at = 0;
    const int year = digitsAt(text, at, 4, 4);
    if (year < 0) return std::nullopt;
    const bool longForm = at < text.size() && text[at] == u'年';
    if (!charAt(text, at, longForm ? u"年" : u"/-.")) return std::nullopt;
    const int month = digitsAt(text, at, 1, 2);
    if (month < 0 || !charAt(text, at, longForm ? u"月" : u"/-.")) return std::nullopt;
    const int day = digitsAt(text, at, 1, 2);
    if (day < 0 || (longForm && !charAt(text, at, u"日")) || at != text.size()) return std::nullopt;
    const QDate d(year, month, day);
    if (!d.isValid()) return std::nullopt;
    return d;
}

// H:mm and H:mm:ss, one or two digits each.
std::optional<QTime> parseTime(const QString& text) {
    qsizetype at = 0;
    const int hours = digitsAt(text, at, 1, 2);
    if (hours < 0 || !charAt(text, at, u":")) return std::nullopt;
    const int minutes = digitsAt(text, at, 1, 2);
    if (minutes < 0) return std::nullopt;
    int seconds = 0;
    if (at < text.size()) {
        if (!charAt(text, at, u":") || (seconds = digitsAt(text, at, 1, 2)) < 0 ||
            at != text.size())
            return std::nullopt;
    }
    const QTime t(hours, minutes, seconds);
    if (!t.isValid()) return std::nullopt;
    return t;
}

}  // namespace

double roundToSecond(double ole) { return std::round(ole * kSecondsPerDay) / kSecondsPerDay; }

double fromDate(const QDate& date) { return static_cast<double>(kEpoch.daysTo(date)); }

double fromTime(const QTime& time) {
    return roundToSecond(QTime(0, 0).secsTo(time) / kSecondsPerDay);
}

double fromDateTime(const QDate& date, const QTime& time) {
    return roundToSecond(fromDate(date) + QTime(0, 0).secsTo(time) / kSecondsPerDay);
}

namespace {
// Whole seconds since the epoch; negative day counts keep a positive time of
// day, as the engine does for dates before 1899-12-30.
qint64 totalSeconds(double ole) { return std::llround(ole * kSecondsPerDay); }
}  // namespace

QDate datePart(double ole) {
    const qint64 secs = totalSeconds(ole);
    qint64 days = secs / 86400;
    if (secs < 0 && secs % 86400 != 0) --days;
    return kEpoch.addDays(days);
}

QTime timePart(double ole) {
    qint64 secs = totalSeconds(ole) % 86400;
    if (secs < 0) secs += 86400;
    return QTime(0, 0).addSecs(static_cast<int>(secs));
}

bool hasDate(double ole) { return datePart(ole) != kEpoch; }
bool hasTime(double ole) { return timePart(ole) != QTime(0, 0); }

QString shortDate(const QDate& date) {
    return QStringLiteral("%1/%2/%3").arg(date.year()).arg(date.month()).arg(date.day());
}

QString longDate(const QDate& date) {
    return QStringLiteral("%1年%2月%3日").arg(date.year()).arg(date.month()).arg(date.day());
}

QString timeText(const QTime& time) { return time.toString(QStringLiteral("H:mm:ss")); }

QString generalText(double ole) {
    const bool date = hasDate(ole);
    const bool time = hasTime(ole);
    if (date && time) return shortDate(datePart(ole)) + QLatin1Char(' ') + timeText(timePart(ole));
    if (date) return shortDate(datePart(ole));
    if (time) return timeText(timePart(ole));
    // Day zero at midnight: the engine shows the time of day.
    return timeText(QTime(0, 0));
}

std::optional<double> parse(const QString& input) {
    const QString text = input.trimmed();
    if (text.isEmpty()) return std::nullopt;
    if (auto d = parseDate(text)) return fromDate(*d);
    if (auto t = parseTime(text)) return fromTime(*t);
    const int blank = text.indexOf(QLatin1Char(' '));
    if (blank > 0) {
        const auto d = parseDate(text.left(blank));
        const auto t = parseTime(text.mid(blank + 1).trimmed());
        if (d && t) return fromDateTime(*d, *t);
    }
    return std::nullopt;
}

}  // namespace kq::datetime
