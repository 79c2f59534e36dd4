#include "controls/TextFit.h"

#include <QDateEdit>
#include <QFontMetrics>
#include <QLabel>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <functional>

namespace kq::ui {
namespace {

// The smallest point size a fitted text is given; below it a text is no
// longer readable on any screen.
constexpr qreal kSmallestPointSize = 6.0;
// QLineEdit keeps this many pixels between its frame and its text on each
// side, and the cursor takes one more.
constexpr int kLineEditTextMargin = 2;
constexpr int kCursorWidth = 1;

// Makes the font half a point smaller at a time until fits(font) holds or the
// smallest readable size is reached.
QFont shrinkUntil(QFont font, const std::function<bool(const QFont&)>& fits) {
    const bool inPixels = font.pointSizeF() <= 0;
    while (!fits(font)) {
        if (inPixels) {
            if (font.pixelSize() <= 8) break;
            font.setPixelSize(font.pixelSize() - 1);
        } else {
            if (font.pointSizeF() - 0.5 < kSmallestPointSize) break;
            font.setPointSizeF(font.pointSizeF() - 0.5);
        }
    }
    return font;
}

// The widest text the picker's display format can give: a long date with
// every digit replaced by the font's widest digit.
QString widestDateText(const QDateEdit& picker, const QFontMetrics& metrics) {
    QChar widestDigit = u'0';
    for (char16_t d = u'0'; d <= u'9'; ++d)
        if (metrics.horizontalAdvance(QChar(d)) > metrics.horizontalAdvance(widestDigit))
            widestDigit = QChar(d);
    QString text = picker.locale().toString(QDate(2026, 12, 28), picker.displayFormat());
    for (QChar& c : text)
        if (c.isDigit()) c = widestDigit;
    return text;
}

// The width the picker's editor gives its text, as QDateEdit places the
// editor beside the drop-down button of its calendar popup.
int dateTextRoom(const QDateEdit& picker) {
    QStyleOptionComboBox option;
    option.initFrom(&picker);
    option.editable = true;
    option.subControls = QStyle::SC_ComboBoxEditField;
    const QRect editor = picker.style()->subControlRect(QStyle::CC_ComboBox, &option,
                                                        QStyle::SC_ComboBoxEditField, &picker);
    return editor.width() - 2 * kLineEditTextMargin - kCursorWidth;
}

}  // namespace

void showWholeDates(QDateEdit& picker) {
    // The platform's drop-down button and frame take a quarter of the
    // designed 89 pixels; a narrow button and a one-pixel frame leave the
    // rest to the date.
    picker.setStyleSheet(QStringLiteral(
        "QDateEdit { border: 1px solid palette(mid); padding-left: 0px; padding-right: 0px; }"
        "QDateEdit::drop-down { width: 12px; }"));
    picker.ensurePolished();
    const int room = dateTextRoom(picker);
    picker.setFont(shrinkUntil(picker.font(), [&](const QFont& font) {
        const QFontMetrics metrics(font);
        return metrics.horizontalAdvance(widestDateText(picker, metrics)) <= room;
    }));
}

void fitWrappedText(QLabel& label) {
    const int margin = label.margin();
    const QRect room = label.contentsRect().adjusted(margin, margin, -margin, -margin);
    const int flags = int(label.alignment()) | Qt::TextWordWrap;
    label.setFont(shrinkUntil(label.font(), [&](const QFont& font) {
        const QRect needed = QFontMetrics(font).boundingRect(room, flags, label.text());
        return needed.height() <= room.height() && needed.width() <= room.width();
    }));
}

}  // namespace kq::ui
