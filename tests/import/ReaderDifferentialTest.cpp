// Every fixture workbook read by our readers against python3-xlrd's reading.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cmath>
#include <iostream>
#include <map>

#include "import/WorkbookFile.h"
#include "support/HostPython.h"
#include "support/TestFolder.h"

namespace kq {
namespace {

struct Reading {
    QStringList sheets;
    int dateMode = 0;
    std::map<std::pair<int, int>, std::pair<QString, QString>> cells;  // kind, value
};

// xlrd's reading, or for a workbook xlrd reads wrongly or not at all the
// reading written out by hand in expected/<name>.txt, in xlrd_dump.py's form.
Reading referenceReading(const QString& path) {
    const QFileInfo info(path);
    QFile written(info.dir().filePath(QStringLiteral("expected/") + info.fileName() +
                                      QStringLiteral(".txt")));
    const QByteArray output =
        written.open(QIODevice::ReadOnly)
            ? written.readAll()
            : test::runHostPython(
                  {test::hostPath(test::fixturePath(QStringLiteral("xlrd_dump.py"))),
                   test::hostPath(path)});
    Reading out;
    const QStringList lines =
        QString::fromUtf8(output).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (const QString& line : lines) {
        const QStringList f = line.split(QLatin1Char('\t'));
        if (f[0] == QLatin1String("datemode")) {
            out.dateMode = f[1].toInt();
            out.sheets = f.mid(3);
            continue;
        }
        QString value = f[3];
        value.replace(QLatin1String("\\n"), QLatin1String("\n"))
            .replace(QLatin1String("\\t"), QLatin1String("\t"))
            .replace(QLatin1String("\\\\"), QLatin1String("\\"));
        out.cells[{f[0].toInt(), f[1].toInt()}] = {f[2], value};
    }
    return out;
}

QString kindOf(const Cell& cell) {
    switch (cell.type) {
        case Cell::Type::Text:
            return QStringLiteral("text");
        case Cell::Type::Number:
            return QStringLiteral("number");
        case Cell::Type::Boolean:
            return QStringLiteral("boolean");
        case Cell::Type::Error:
            return QStringLiteral("error");
        default:
            return QStringLiteral("date");
    }
}

// xlrd gives the serial number of the workbook's date system; ours is a day
// count from 1899-12-30 cut to whole seconds, keeping only the day for a
// date format and only the time of day for a time format.
void expectSameDate(const Cell& ours, double serial, int dateMode, const QString& where) {
    const double day0 = dateMode == 1 && serial >= 1 ? 1462 : 0;
    double expected = (serial + day0) * 86400.0;
    if (ours.type == Cell::Type::Date) expected = std::floor(expected / 86400.0 + 1e-9) * 86400.0;
    if (ours.type == Cell::Type::Time) expected = std::fmod(expected, 86400.0);
    const double got = ours.number * 86400.0;
    EXPECT_NEAR(got, std::round(got), 1e-4) << where.toStdString() << ": not whole seconds";
    EXPECT_GE(expected - got, -1e-3) << where.toStdString();
    EXPECT_LT(expected - got, 1.0) << where.toStdString();
}

TEST(ReaderDifferential, EveryFixtureReadsAsXlrdReadsIt) {
    if (const QString why = test::hostPythonMissing(); !why.isEmpty())
        GTEST_SKIP() << why.toStdString();
    // xlrd misplaces 4096-byte sectors; the same Workbook stream in 512-byte
    // sectors is its reference.
    const std::map<QString, QString> reference = {{"lo_cells_4k.xls", "lo_cells.xls"}};
    const QDir fixtures(test::fixturePath(QString()));
    const QStringList files =
        fixtures.entryList({QStringLiteral("*.xls"), QStringLiteral("*.xlsx")}, QDir::Files);
    int compared = 0;
    for (const QString& file : files) {
        // xlrd reads binary workbooks only, not the text and web pages saved as .xls.
        QFile bytes(fixtures.filePath(file));
        if (!bytes.open(QIODevice::ReadOnly)) continue;
        const QByteArray start = bytes.read(4);
        if (!start.startsWith("\xD0\xCF\x11\xE0") && !start.startsWith("PK\x03\x04")) continue;
        SCOPED_TRACE(file.toStdString());
        const auto ref = reference.find(file);
        const Reading xlrd =
            referenceReading(fixtures.filePath(ref != reference.end() ? ref->second : file));
        WorkbookFile workbook(fixtures.filePath(file));
        EXPECT_EQ(workbook.sheetNames(), xlrd.sheets);
        // sheet1, or the only sheet, as xlrd_dump.py takes it.
        QString sheet = QStringLiteral("sheet1");
        if (!workbook.sheetNames().contains(sheet, Qt::CaseInsensitive)) {
            if (workbook.sheetNames().size() != 1) continue;
            sheet = workbook.sheetNames().front();
        }

        auto expected = xlrd.cells;
        int lastRow = -1;
        std::vector<SheetRow> rows;
        workbook.readSheet(sheet, rows);
        for (const SheetRow& row : rows) {
            EXPECT_GT(row.index, lastRow) << file.toStdString() << ": rows out of order";
            lastRow = row.index;
            for (const RowCell& rc : row.cells) {
                const QString where =
                    QStringLiteral("%1 row %2 column %3").arg(file).arg(row.index).arg(rc.column);
                const auto it = expected.find({row.index, rc.column});
                if (it == expected.end()) {
                    ADD_FAILURE() << where.toStdString() << ": xlrd reads nothing there";
                    continue;
                }
                const auto [kind, value] = it->second;
                EXPECT_EQ(kindOf(rc.cell), kind) << where.toStdString();
                if (kind == QLatin1String("date")) {
                    expectSameDate(rc.cell, value.toDouble(), xlrd.dateMode, where);
                } else if (kind == QLatin1String("number") || kind == QLatin1String("boolean")) {
                    EXPECT_EQ(rc.cell.number, value.toDouble()) << where.toStdString();
                } else {
                    EXPECT_EQ(rc.cell.text, value) << where.toStdString();
                }
                expected.erase(it);
                ++compared;
            }
        }
        for (const auto& [at, cell] : expected)
            ADD_FAILURE() << file.toStdString() << " row " << at.first << " column " << at.second
                          << ": we read nothing where xlrd reads " << cell.second.toStdString();
    }
    EXPECT_GT(compared, 1000);  // the corpus really was compared
    std::cout << files.size() - 1 << " workbooks, " << compared << " cells compared\n";
}

}  // namespace
}  // namespace kq
