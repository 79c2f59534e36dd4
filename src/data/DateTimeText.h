#pragma once

#include <QDate>
#include <QString>
#include <QTime>
#include <optional>

// Dates and times are held as the engine holds them: days since 1899-12-30,
// the time of day as the fraction, rounded to whole seconds. Text forms are
// the Chinese (PRC) regional defaults.
namespace kq::datetime {

double fromDate(const QDate& date);
double fromTime(const QTime& time);
double fromDateTime(const QDate& date, const QTime& time);

// Rounds a day count to the nearest whole second, so that equal clock
// readings compare equal however they were computed.
double roundToSecond(double ole);

QDate datePart(double ole);
QTime timePart(double ole);
bool hasDate(double ole);
bool hasTime(double ole);

QString shortDate(const QDate& date);  // 2026/12/1
QString longDate(const QDate& date);   // 2026年12月1日
QString timeText(const QTime& time);   // 8:05:00

// The general form: date only -> short date, time only -> time, both ->
// short date, a blank, the time.
QString generalText(double ole);

// Reads the forms the users and the workbooks write: short date, long date,
// ISO date, H:mm, H:mm:ss, or a date followed by a time. Returns nothing for
// an empty or unreadable text, or for an impossible date or time.
std::optional<double> parse(const QString& text);

}  // namespace kq::datetime
