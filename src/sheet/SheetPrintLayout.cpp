#include "sheet/SheetPrintLayout.h"

#include <QFontMetricsF>
#include <QHash>
#include <QPagedPaintDevice>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "controls/WindowStyle.h"
#include "reports/AttendanceSheetTable.h"

namespace kq::ui {
namespace {

using reports::AttendanceSheetTable;

constexpr qreal kBasePoints = 9.0;
constexpr qreal kSmallestPoints = 3.0;
constexpr int kDaysPerBand = 31;

struct Band {
    std::vector<int> columns;  // table columns, name first
};

// Day columns split evenly into bands of at most 31 days; the totals go
// with the last band, the name column with each.
std::vector<Band> bandsOf(const AttendanceSheetTable& table) {
    const int days = table.firstTotalColumn() - table.firstDayColumn();
    const int count = std::max(1, (days + kDaysPerBand - 1) / kDaysPerBand);
    std::vector<Band> bands(static_cast<std::size_t>(count));
    for (int b = 0; b < count; ++b) {
        Band& band = bands[std::size_t(b)];
        band.columns.push_back(0);
        for (int d = days * b / count; d < days * (b + 1) / count; ++d)
            band.columns.push_back(table.firstDayColumn() + d);
    }
    for (int c = table.firstTotalColumn(); c < table.cols(); ++c) bands.back().columns.push_back(c);
    return bands;
}

// Each column's widest text at the base font, in device pixels.
std::vector<qreal> naturalWidths(const AttendanceSheetTable& table, const QFontMetricsF& metrics) {
    QHash<QString, qreal> measured;
    std::vector<qreal> widths(std::size_t(table.cols()), 0);
    for (int r = 0; r < table.rows(); ++r)
        for (int c = 0; c < table.cols(); ++c) {
            const QString text = table.text(r, c);
            auto it = measured.find(text);
            if (it == measured.end()) {
                qreal widest = 0;
                for (const QString& line : text.split(QLatin1Char('\n')))
                    widest = std::max(widest, metrics.horizontalAdvance(line));
                it = measured.insert(text, widest);
            }
            widths[std::size_t(c)] = std::max(widths[std::size_t(c)], *it);
        }
    const qreal padding = metrics.averageCharWidth() * 1.5;
    for (qreal& w : widths) w += padding;
    return widths;
}

QFont sheetFont(qreal points, bool bold = false) { return cjkFont(FontFace::Songti, points, bold); }

class PagePainter {
  public:
    PagePainter(QPainter& painter, const AttendanceSheetTable& table)
        : painter_(painter), table_(table) {}

    void cell(const QRectF& rect, int row, int col) {
        if (const std::uint32_t fill = reports::sheetFill(table_.style(row, col)))
            painter_.fillRect(rect, QColor(QRgb(fill)));
        painter_.drawRect(rect);
        painter_.drawText(rect, Qt::AlignCenter, table_.text(row, col));
    }

  private:
    QPainter& painter_;
    const AttendanceSheetTable& table_;
};

}  // namespace

int printAttendanceSheet(QPagedPaintDevice& device, const reports::AttendanceSheet& sheet) {
    const AttendanceSheetTable table(sheet);
    QPainter painter;
    if (!painter.begin(&device)) return 0;
    const QRectF page(QPointF(0, 0), QSizeF(device.width(), device.height()));
    const QFontMetricsF base(sheetFont(kBasePoints), &device);
    const std::vector<qreal> natural = naturalWidths(table, base);
    const std::vector<Band> bands = bandsOf(table);

    // One font for every band: the widest band decides how far it shrinks.
    qreal scale = 1;
    for (const Band& band : bands) {
        qreal width = 0;
        for (int c : band.columns) width += natural[std::size_t(c)];
        scale = std::min(scale, page.width() / width);
    }
    const qreal points = std::max(kSmallestPoints, kBasePoints * scale);
    scale = points / kBasePoints;
    const QFont font = sheetFont(points);
    const QFontMetricsF metrics(font, &device);
    const qreal rowHeight = metrics.height() * 1.6;
    const qreal headerHeight = metrics.height() * 2 + rowHeight - metrics.height();
    const QFont titleFont = sheetFont(14, true);
    const QFont legendFont = sheetFont(std::min(9.0, std::max(points, 6.0)));
    const qreal titleHeight = QFontMetricsF(titleFont, &device).height() * 1.4;
    const qreal legendHeight = QFontMetricsF(legendFont, &device).height() * 1.6;
    const QFont footerFont = sheetFont(8);
    const qreal footerHeight = QFontMetricsF(footerFont, &device).height() * 2;

    const int bodyRows = table.rows() - 1;
    const qreal gridRoom = page.height() - footerHeight - headerHeight;
    const int firstPageRows = std::max(1, int((gridRoom - titleHeight - legendHeight) / rowHeight));
    const int laterPageRows = std::max(1, int(gridRoom / rowHeight));
    const int chunks = bodyRows <= firstPageRows
                           ? 1
                           : 1 + (bodyRows - firstPageRows + laterPageRows - 1) / laterPageRows;
    const int pages = chunks * int(bands.size());

    PagePainter cells(painter, table);
    painter.setPen(QPen(Qt::black, std::max(1.0, device.logicalDpiX() / 300.0)));
    int pageNumber = 0;
    for (const Band& band : bands) {
        qreal bandWidth = 0;
        for (int c : band.columns) bandWidth += natural[std::size_t(c)] * scale;
        const qreal stretch = page.width() / bandWidth;
        int row = 1;
        for (int chunk = 0; chunk < chunks; ++chunk) {
            if (pageNumber++ > 0) device.newPage();
            qreal y = 0;
            if (chunk == 0) {
                painter.setFont(titleFont);
                painter.drawText(QRectF(0, y, page.width(), titleHeight), Qt::AlignCenter,
                                 reports::sheetTitle(sheet));
                y += titleHeight;
                painter.setFont(legendFont);
                painter.drawText(QRectF(0, y, page.width(), legendHeight),
                                 Qt::AlignLeft | Qt::AlignVCenter, reports::sheetLegend());
                y += legendHeight;
            }
            const int rowsHere = chunk == 0 ? firstPageRows : laterPageRows;
            const int lastRow = std::min(bodyRows, row + rowsHere - 1);
            painter.setFont(font);
            const auto paintRow = [&](int r, qreal height) {
                qreal x = 0;
                for (int c : band.columns) {
                    const qreal w = natural[std::size_t(c)] * scale * stretch;
                    cells.cell(QRectF(x, y, w, height), r, c);
                    x += w;
                }
                y += height;
            };
            paintRow(0, headerHeight);  // the header on every page
            for (; row <= lastRow; ++row) paintRow(row, rowHeight);
            painter.setFont(footerFont);
            painter.drawText(QRectF(0, page.height() - footerHeight, page.width(), footerHeight),
                             Qt::AlignCenter,
                             QStringLiteral("第 %1 页 共 %2 页").arg(pageNumber).arg(pages));
        }
    }
    painter.end();
    return pages;
}

}  // namespace kq::ui
