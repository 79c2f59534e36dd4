#include "data/DateTimeText.h"

#include <QRegularExpression>
#include <cmath>

namespace kq::datetime {
namespace {

const QDate kEpoch(1899, 12, 30);
constexpr double kSecondsPerDay = 86400.0;

std::optional<QDate> parseDate(const QString& text) {
    static const QRegularExpression shortForm(
        QStringLiteral(R"(^(\d{4})[/\-.](\d{1,2})[/\-.](\d{1,2})$)"));
    static const QRegularExpression longForm(
        QStringLiteral(R"(^(\d{4})年(\d{1,2})月(\d{1,2})日$)"));
    for (const auto* re : {&shortForm, &longForm}) {
        const auto m = re->match(text);
        if (m.hasMatch()) {
            const QDate d(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
            if (d.isValid()) return d;
            return std::nullopt;
        }
    }
    return std::nullopt;
}

std::optional<QTime> parseTime(const QString& text) {
    static const QRegularExpression form(QStringLiteral(R"(^(\d{1,2}):(\d{1,2})(?::(\d{1,2}))?$)"));
    const auto m = form.match(text);
    if (!m.hasMatch()) return std::nullopt;
    const QTime t(m.captured(1).toInt(), m.captured(2).toInt(),
                  m.captured(3).isEmpty() ? 0 : m.captured(3).toInt());
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
