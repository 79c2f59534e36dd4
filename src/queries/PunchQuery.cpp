#include "queries/PunchQuery.h"

#include "data/Connection.h"
#include "data/DateTimeText.h"
#include "data/Error.h"
#include "queries/QueryText.h"

namespace kq::queries {

bool isTimeText(const QString& text) { return datetime::parse(text).has_value(); }

std::shared_ptr<const RowSet> runPunchQuery(const QString& programFolder, const QString& start,
                                            const QString& end, const QDate& from, const QDate& to,
                                            const QString& name) {
    for (const QString& time : {start, end})
        if (!isTimeText(time))
            throw Error(ErrorKind::TypeMismatch,
                        QStringLiteral("“%1”不是有效的时间，请输入形如 8:30 的时间。").arg(time));
    Connection connection(programFolder);
    return connection.open(punchQueryText(start, end, from, to, name)).rows();
}

}  // namespace kq::queries
