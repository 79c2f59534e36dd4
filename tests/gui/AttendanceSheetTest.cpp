#include <gtest/gtest.h>

#include <QDateEdit>
#include <QFile>
#include <QHeaderView>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QPageLayout>
#include <QPdfWriter>
#include <QPrinter>
#include <QRegularExpression>
#include <QTableView>
#include <QTemporaryDir>

#include "GuiHarness.h"
#include "app/SpreadsheetLauncher.h"
#include "data/Connection.h"
#include "reports/AttendanceSheetTable.h"
#include "reports/ReportPrerequisites.h"
#include "sheet/Form3.h"
#include "sheet/SheetPrintLayout.h"
#include "stats/StatisticsRun.h"
#include "support/HostPython.h"
#include "support/ReportMonth.h"

namespace kq::test {
namespace {

using Kind = kq::ui::MessageBox::Kind;

// What openpyxl reads of the workbook: cell texts, the fills of a few
// cells, the frozen pane, the page setup (an absent fitToWidth is 1).
const char* kWorkbookFacts = R"(import json,sys,openpyxl
ws=openpyxl.load_workbook(sys.argv[1]).active
fill=lambda ref: ws[ref].fill.fgColor.rgb[-6:] if ws[ref].fill.fill_type else ''
print(json.dumps({'rows':[[c.value for c in r] for r in ws.iter_rows()],
 'fills':{r:fill(r) for r in ('B4','C4','D6','E4','F5','G3')},
 'freeze':ws.freeze_panes,'orientation':ws.page_setup.orientation,'paper':ws.page_setup.paperSize,
 'fitToPage':ws.sheet_properties.pageSetUpPr.fitToPage,
 'fitWidth':1 if ws.page_setup.fitToWidth is None else ws.page_setup.fitToWidth,'fitHeight':ws.page_setup.fitToHeight,
 'titles':ws.print_title_rows,'gridLines':ws.print_options.gridLines},ensure_ascii=False)))";

class RecordingLauncher : public kq::ui::SpreadsheetLauncher {
  public:
    bool open(const QString& file) override {
        if (hostPythonMissing().isEmpty())
            facts = QJsonDocument::fromJson(runHostPython({"-c", kWorkbookFacts, hostPath(file)}))
                        .object();
        QFile::remove(file);
        ++opened;
        return true;
    }
    QJsonObject facts;
    int opened = 0;
};

QString rowText(const QJsonArray& row) {
    QStringList cells;
    for (const QJsonValue& v : row) cells << v.toVariant().toString();
    return cells.join('|');
}

TEST(AttendanceSheetWindow, ButtonOpensTheSheetAndExportsIt) {
    GuiHarness h(QDate(2026, 12, 6));
    EXPECT_EQ(h.button("Command17")->text(), "考勤月报");
    EXPECT_EQ(h.button("Command16")->nextInFocusChain(), h.button("Command17"));
    EXPECT_EQ(h.button("Command17")->size(), h.button("Command16")->size());

    kq::test::fillReportMonth(h.folder.path(), false);
    auto* from = h.child<QDateEdit>("DTPicker1");
    auto* to = h.child<QDateEdit>("DTPicker2");
    // The statistics run is asked for before the range is looked at.
    from->setDate(QDate(2026, 12, 9));
    h.click("Command17");
    ASSERT_EQ(h.messages.texts(), QStringList{kq::reports::kNoScheduleEntriesMessage});
    EXPECT_EQ(h.form().attendanceSheet(), nullptr);

    {
        kq::Connection c(h.folder.path());
        kq::runStatistics(c, [](const QString&) {});
    }
    h.messages.clear();
    h.click("Command17");
    from->setDate(QDate(2026, 10, 1));
    h.click("Command17");
    EXPECT_EQ(h.messages.texts(),
              (QStringList{"开始日期不能晚于结束日期。", "统计日期最多62天，请缩短日期范围。"}));
    ASSERT_EQ(h.messages.all().size(), 2u);
    EXPECT_EQ(h.messages.all()[0].kind, Kind::Exclamation);
    EXPECT_EQ(h.messages.all()[0].title, "提示");
    EXPECT_EQ(h.form().attendanceSheet(), nullptr);

    h.messages.clear();
    from->setDate(QDate(2026, 11, 30));
    to->setDate(QDate(2026, 12, 5));
    h.click("Command17");
    EXPECT_TRUE(h.messages.all().empty()) << h.messages.texts().join('|').toStdString();
    Form3* form3 = h.form().attendanceSheet();
    ASSERT_NE(form3, nullptr);
    EXPECT_TRUE(form3->isVisible());
    EXPECT_EQ(form3->windowTitle(), "考勤月报");
    EXPECT_EQ(form3->findChild<QLabel*>("Label1")->text(), "考勤月报　2026/11/30 至 2026/12/5");
    EXPECT_TRUE(form3->findChild<QLabel*>("Label2")->text().startsWith("常 正常　常异 有异常打卡"));
    auto* grid = form3->findChild<QTableView*>("Grid1");
    ASSERT_NE(grid, nullptr);
    const QAbstractItemModel& model = *grid->model();
    EXPECT_EQ(model.headerData(0, Qt::Horizontal).toString(), "11/30\n一");
    EXPECT_EQ(model.headerData(0, Qt::Vertical).toString(), "张三");
    EXPECT_EQ(model.headerData(4, Qt::Vertical).toString(), "合计");
    EXPECT_EQ(model.data(model.index(1, 2)).toString(), "中缺");
    EXPECT_TRUE(model.data(model.index(1, 2), Qt::BackgroundRole).isValid());
    for (const char* name : {"Command1", "Command2", "Command3"})
        EXPECT_NE(form3->findChild<QAbstractButton*>(name), nullptr) << name;

    if (const QString why = hostPythonMissing(); !why.isEmpty()) GTEST_SKIP() << why.toStdString();
    auto launcher = std::make_shared<RecordingLauncher>();
    form3->setSpreadsheetLauncher(launcher);
    form3->findChild<QAbstractButton*>("Command1")->click();
    ASSERT_EQ(launcher->opened, 1);
    const QJsonObject& facts = launcher->facts;
    const QJsonArray rows = facts["rows"].toArray();
    ASSERT_EQ(rows.size(), 8);  // title, legend, header, four employees, 合计
    EXPECT_EQ(rows[0].toArray()[0].toString(), "考勤月报　2026/11/30 至 2026/12/5");
    EXPECT_TRUE(rows[1].toArray()[0].toString().startsWith("常 正常"));
    EXPECT_EQ(rowText(rows[3].toArray()), "张三|事假|常异|早异|A旷|夜异|常异|5|0|4|0|1|1|0|0");
    EXPECT_EQ(rowText(rows[7].toArray()), "合计|1|3|2|2|4|1|17|4|9|3|1|1|1|5");
    const QJsonObject fills = facts["fills"].toObject();
    using reports::sheetFill;
    using S = reports::SheetCellStyle;
    const auto hex = [](std::uint32_t rgb) { return QString::number(rgb, 16).toUpper(); };
    EXPECT_EQ(fills["B4"].toString(), hex(sheetFill(S::Other)));    // 事假
    EXPECT_EQ(fills["C4"].toString(), hex(sheetFill(S::Anomaly)));  // 常异
    EXPECT_EQ(fills["E4"].toString(), hex(sheetFill(S::Absent)));   // A旷
    EXPECT_EQ(fills["D6"].toString(), "");  // 王五 12/2 夜: worked normally
    EXPECT_EQ(fills["F5"].toString(), hex(sheetFill(S::Anomaly)));        // 李四 12/4 常异
    EXPECT_EQ(fills["G3"].toString(), hex(sheetFill(S::WeekendHeader)));  // 12/5 六
    EXPECT_EQ(facts["freeze"].toString(), "B4");
    EXPECT_EQ(facts["orientation"].toString(), "landscape");
    EXPECT_EQ(facts["paper"].toVariant().toInt(), 9);  // A4
    EXPECT_TRUE(facts["fitToPage"].toBool());
    EXPECT_EQ(facts["fitWidth"].toVariant().toInt(), 1);
    EXPECT_EQ(facts["fitHeight"].toVariant().toInt(), 0);
    EXPECT_EQ(facts["titles"].toString(), "$3:$3");
    EXPECT_TRUE(facts["gridLines"].toBool());
}

// Enough employees for several pages, and a range beyond 31 days for a
// second band of pages.
reports::AttendanceSheet generatedSheet(int employees, int days) {
    reports::AttendanceSheet sheet;
    sheet.from = QDate(2026, 12, 1);
    sheet.to = sheet.from.addDays(days - 1);
    for (int d = 0; d < days; ++d) sheet.days.push_back(sheet.from.addDays(d));
    sheet.otherCodes = {"休"};
    for (int e = 0; e < employees; ++e) {
        sheet.employees << QStringLiteral("职工%1").arg(e + 1, 4, 10, QChar('0'));
        reports::SheetTotals totals{0, 0, 0, 0, 0, {0}};
        for (int d = 0; d < days; ++d) {
            const bool rest = (e + d) % 7 == 0;
            const auto mark = reports::DayMark((e * 3 + d) % 4);
            sheet.cells.push_back(
                {rest ? "休" : "常", !rest, rest ? reports::DayMark::None : mark});
            rest ? ++totals.otherCodes[0] : ++totals.scheduled;
        }
        sheet.totals.push_back(totals);
    }
    sheet.markedPerDay.assign(std::size_t(days), 0);
    sheet.columnSums.otherCodes = {0};
    return sheet;
}

// A text far down the sheet (past the rows a header's own fitting looks at)
// still shows whole: every column is as wide as its widest cell and header.
TEST(AttendanceSheetWindow, ColumnsFitTheirWidestTextInAnyRow) {
    GuiHarness h;
    reports::AttendanceSheet sheet = generatedSheet(1500, 31);
    const QString wide = QStringLiteral("婚假（上午）");
    const int last = int(sheet.employees.size()) - 1;
    sheet.cells[std::size_t(last) * sheet.days.size() + 4] = {wide, false, reports::DayMark::None};
    sheet.otherCodes << wide;
    for (reports::SheetTotals& totals : sheet.totals) totals.otherCodes.push_back(0);
    sheet.totals.back().otherCodes.back() = 1;
    sheet.columnSums.otherCodes.push_back(1);

    Form3 form(nullptr);
    form.showSheet(sheet);
    form.show();
    auto* grid = form.findChild<QTableView*>("Grid1");
    ASSERT_NE(grid, nullptr);
    const QAbstractItemModel& model = *grid->model();
    ASSERT_EQ(model.rowCount(), last + 2);  // and 合计
    ASSERT_EQ(model.data(model.index(last, 4)).toString(), wide);
    const QFontMetrics metrics(grid->font());
    for (int c = 0; c < model.columnCount(); ++c) {
        int widest = grid->horizontalHeader()->sectionSizeHint(c);
        for (int r = 0; r < model.rowCount(); ++r)
            widest = std::max(widest,
                              metrics.horizontalAdvance(model.data(model.index(r, c)).toString()));
        EXPECT_GE(grid->columnWidth(c), widest) << c;
    }
    EXPECT_GT(grid->columnWidth(4), grid->columnWidth(3));
}

// The printout read back through pdftotext: the title, every name and the
// page count in every footer.
QString pdfText(const QString& pdf) {
    const QByteArray out = runHostPython(
        {"-c",
         "import shutil,subprocess,sys\n"
         "if not shutil.which('pdftotext'): print('NO-PDFTOTEXT'); sys.exit(0)\n"
         "sys.stdout.write(subprocess.run(['pdftotext',sys.argv[1],'-'],capture_output=True,"
         "check=True).stdout.decode('utf-8'))",
         hostPath(pdf)});
    return QString::fromUtf8(out);
}

TEST(AttendanceSheetPrint, PagesHoldTitleNamesAndPageCount) {
    if (const QString why = hostPythonMissing(); !why.isEmpty()) GTEST_SKIP() << why.toStdString();
    GuiHarness h;  // the application a printer needs
    QTemporaryDir dir;
    if (qEnvironmentVariableIsSet("KQ_KEEP_PDF")) dir.setAutoRemove(false);
    for (const int days : {31, 40}) {
        SCOPED_TRACE(days);
        const reports::AttendanceSheet sheet = generatedSheet(90, days);
        const QString pdf = dir.filePath(QStringLiteral("sheet%1.pdf").arg(days));
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        printer.setPageSize(QPageSize(QPageSize::A4));
        printer.setPageOrientation(QPageLayout::Landscape);
        const int pages = kq::ui::printAttendanceSheet(printer, sheet);
        const QString raw = pdfText(pdf);
        if (raw.startsWith("NO-PDFTOTEXT")) GTEST_SKIP() << "pdftotext (poppler-utils) missing";
        // pdftotext puts its own spaces and line breaks between the texts.
        const auto squeezed = [](QString t) { return t.remove(QRegularExpression("[\\s\u3000]")); };
        const QString text = squeezed(raw);
#ifdef _WIN32
        // Wine draws CJK text only with a CJK font among its fonts.
        if (!text.contains(QStringLiteral("职工")))
            GTEST_SKIP() << "no CJK font reaches Qt under this Wine: the PDF's names carry no text";
#endif
        EXPECT_GT(pages, days > 31 ? 5 : 2);
        EXPECT_EQ(raw.count('\f'), pages);
        // The title's two parts may come out apart.
        const QStringList title = reports::sheetTitle(sheet).split(QChar(0x3000));
        ASSERT_EQ(title.size(), 2);
        EXPECT_TRUE(text.contains(title[0]) && text.contains(squeezed(title[1])));
        for (int p = 1; p <= pages; ++p)
            EXPECT_TRUE(text.contains(QStringLiteral("第%1页共%2页").arg(p).arg(pages))) << p;
        for (const QString& name : sheet.employees)
            EXPECT_EQ(text.count(name), days > 31 ? 2 : 1) << name.toStdString();
        // Every column of a 31-day range on one page width: the last day and
        // the last total are on the first page.
        const QString first = raw.section('\f', 0, 0);
        EXPECT_TRUE(first.contains(days > 31 ? "12/20" : "12/31"));
        EXPECT_EQ(first.contains("排班天数"), days <= 31);
    }
}

}  // namespace
}  // namespace kq::test
