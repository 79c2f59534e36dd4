#include "stats/LookAlikes.h"

#include <QHash>
#include <QSet>
#include <QStringList>
#include <algorithm>
#include <cmath>
#include <utility>

#include "data/DateTimeText.h"
#include "shifts/ShiftCatalogue.h"

namespace kq {
namespace {

// Each list names this many and says how many more there are.
constexpr qsizetype kListed = 10;

QString withoutBlanks(const QString& text) {
    QString out;
    for (const QChar c : text)
        if (!c.isSpace()) out += c;
    return out;
}

QString halfWidth(const QString& text) {
    QString out = text;
    for (QChar& c : out) {
        const char16_t u = c.unicode();
        const bool letterOrDigit =
            (u >= u'０' && u <= u'９') || (u >= u'Ａ' && u <= u'Ｚ') || (u >= u'ａ' && u <= u'ｚ');
        if (letterOrDigit) c = QChar(char16_t(u - 0xFEE0));
    }
    return out;
}

// How the punch records' name differs from the schedule's.
QString difference(const QString& scheduled, const QString& punched) {
    QStringList parts;
    const auto blanks = [](const QString& s) {
        return std::ranges::count_if(s, [](QChar c) { return c.isSpace(); });
    };
    const auto more = blanks(punched) - blanks(scheduled);
    if (more > 0) parts << QStringLiteral("多了空格");
    if (more < 0) parts << QStringLiteral("少了空格");
    const QString a = withoutBlanks(scheduled);
    const QString b = withoutBlanks(punched);
    if (more == 0 && a == b) parts << QStringLiteral("空格位置不同");
    if (a.toCaseFolded() != b.toCaseFolded()) parts << QStringLiteral("全角半角不同");
    if (halfWidth(a) != halfWidth(b)) parts << QStringLiteral("大小写不同");
    return parts.join(QStringLiteral("、"));
}

QString quoted(const QString& text) { return QStringLiteral("“%1”").arg(text); }

QStringList nameLines(const std::vector<ScheduleEntry>& entries,
                      const QHash<QString, qint64>& punches) {
    QStringList employees;
    QSet<QString> seen;
    for (const ScheduleEntry& entry : entries) {
        if (!seen.contains(entry.name)) {
            seen.insert(entry.name);
            employees << entry.name;
        }
    }
    QHash<QString, QStringList> punchedByKey;
    for (auto it = punches.cbegin(); it != punches.cend(); ++it)
        punchedByKey[lookAlikeKey(it.key())] << it.key();

    QStringList lines;
    qsizetype unlisted = 0;
    for (const QString& name : employees) {
        if (punches.value(name) > 0) continue;
        QStringList alikes = punchedByKey.value(lookAlikeKey(name));
        if (alikes.isEmpty()) continue;
        if (lines.size() == kListed) {
            ++unlisted;
            continue;
        }
        alikes.sort();
        QStringList described;
        for (const QString& alike : alikes)
            described << quoted(alike) + QStringLiteral("（%1）").arg(difference(name, alike));
        lines << QStringLiteral("排班表中的%1没有打卡记录；打卡记录中有%2")
                     .arg(quoted(name), described.join(QStringLiteral("、")));
    }
    if (unlisted > 0) lines << QStringLiteral("另有 %1 名员工也是这样。").arg(unlisted);
    return lines;
}

QString codeLine(const std::vector<ScheduleEntry>& entries) {
    QStringList shiftKeys;
    for (const shifts::Shift& shift : shifts::catalogue()) shiftKeys << lookAlikeKey(shift.code);
    QStringList listed;
    qsizetype count = 0;
    for (const ScheduleEntry& entry : entries) {
        if (entry.code.isEmpty() || shifts::shiftIndex(entry.code) >= 0) continue;
        if (!shiftKeys.contains(lookAlikeKey(entry.code))) continue;
        if (++count <= kListed)
            listed << quoted(entry.code) + QStringLiteral("（%1 %2）").arg(entry.date, entry.name);
    }
    if (count == 0) return {};
    return QStringLiteral("排班表中有 %1 个班次代码与班次相近，按休息日统计：%2%3")
        .arg(count)
        .arg(listed.join(QStringLiteral("、")), count > kListed ? QStringLiteral("……") : QString());
}

}  // namespace

QString lookAlikeKey(const QString& text) { return halfWidth(withoutBlanks(text)).toCaseFolded(); }

std::optional<std::pair<double, double>> scheduleDays(const std::vector<ScheduleEntry>& entries) {
    if (entries.empty()) return std::nullopt;
    EntryDays days;
    double first = 0, last = 0;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const double day = std::floor(days(entries[i].date));
        first = i == 0 ? day : std::min(first, day);
        last = i == 0 ? day : std::max(last, day);
    }
    return std::pair(first, last + 1);
}

QString lookAlikeHint(const std::vector<ScheduleEntry>& entries,
                      const QHash<QString, qint64>& punchesByName) {
    QStringList lines = nameLines(entries, punchesByName);
    if (const QString codes = codeLine(entries); !codes.isEmpty()) lines << codes;
    if (lines.isEmpty()) return {};
    lines << QStringLiteral("以上均未更改。如是同一人或同一班次，请改正工作簿后重新导入并统计。");
    return lines.join(QLatin1Char('\n'));
}

}  // namespace kq
