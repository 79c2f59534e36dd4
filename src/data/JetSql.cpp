#include "data/JetSql.h"

#include "data/DateTimeText.h"
#include "data/Error.h"

namespace kq::jetsql {

QString numberLiteral(double v) { return QString::number(v, 'g', 17); }

QString toSqlite(const QString& jetSql) {
    QString out;
    out.reserve(jetSql.size());
    QChar inQuote;
    for (qsizetype i = 0; i < jetSql.size(); ++i) {
        const QChar c = jetSql.at(i);
        if (!inQuote.isNull()) {
            out += c;
            if (c == inQuote) inQuote = QChar();
            continue;
        }
        if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            inQuote = c;
            out += c;
            continue;
        }
        if (c != QLatin1Char('#')) {
            out += c;
            continue;
        }
        const qsizetype end = jetSql.indexOf(QLatin1Char('#'), i + 1);
        if (end < 0)
            throw Error(ErrorKind::Syntax,
                        QStringLiteral("查询语句中的日期缺少结尾的“#”：%1").arg(jetSql));
        const QString literal = jetSql.mid(i + 1, end - i - 1);
        const auto value = datetime::parse(literal);
        if (!value)
            throw Error(ErrorKind::Syntax,
                        QStringLiteral("“%1”不是有效的日期或时间，查询无法执行。").arg(literal));
        out += numberLiteral(*value);
        i = end;
    }
    return out;
}

QString quote(const QString& text) {
    QString doubled = text;
    doubled.replace(QLatin1Char('\''), QStringLiteral("''"));
    return QLatin1Char('\'') + doubled + QLatin1Char('\'');
}

QString dateLiteral(const QString& text) { return QLatin1Char('#') + text + QLatin1Char('#'); }

}  // namespace kq::jetsql
