#include "controls/WindowStyle.h"

#include <QPainter>
#include <QPixmap>

namespace kq::ui {

QFont cjkFont(FontFace face, qreal pointSize, bool bold) {
    QFont font;
    // Each face by its Chinese and its English name (Windows knows both),
    // then what a Windows without the face has (微软雅黑, 宋体), then the CJK
    // faces of a Linux desktop.
    const QStringList fallbacks = {QStringLiteral("微软雅黑"),
                                   QStringLiteral("Microsoft YaHei"),
                                   QStringLiteral("宋体"),
                                   QStringLiteral("SimSun"),
                                   QStringLiteral("WenQuanYi Zen Hei"),
                                   QStringLiteral("Noto Sans CJK SC"),
                                   QStringLiteral("Noto Serif CJK SC")};
    switch (face) {
        case FontFace::Heiti:
            font.setFamilies(QStringList{QStringLiteral("黑体"), QStringLiteral("SimHei")} +
                             fallbacks);
            break;
        case FontFace::Songti:
            font.setFamilies(QStringList{QStringLiteral("宋体"), QStringLiteral("SimSun")} +
                             fallbacks);
            break;
        case FontFace::YaHeiLight:
            font.setFamilies(QStringList{QStringLiteral("微软雅黑 Light"),
                                         QStringLiteral("Microsoft YaHei Light")} +
                             fallbacks);
            font.setWeight(QFont::Light);
            break;
    }
    font.setPointSizeF(pointSize);
    if (bold) font.setBold(true);
    return font;
}

QIcon programIcon() {
    // A clock face: drawn, so the program ships no image files.
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(QColor(192, 255, 192));
    p.setPen(QPen(QColor(0, 96, 0), 2));
    p.drawEllipse(2, 2, 28, 28);
    p.setPen(QPen(QColor(200, 0, 0), 2));
    p.drawLine(16, 16, 16, 7);
    p.drawLine(16, 16, 23, 19);
    return QIcon(pixmap);
}

QString frameStyleSheet() {
    return QStringLiteral(
        "QGroupBox { border: 1px solid palette(mid); border-radius: 2px; margin-top: 0.6em; }"
        "QGroupBox::title { subcontrol-origin: margin; subcontrol-position: top left;"
        " left: 6px; padding: 0 2px; }");
}

QString inputBoxStyleSheet() { return QStringLiteral("background-color: rgb(192, 255, 192);"); }

QString compactTabStyleSheet() {
    return QStringLiteral(
        "QTabBar::tab { padding: 4px 3px; border: 1px solid palette(mid); border-bottom: none;"
        " border-top-left-radius: 2px; border-top-right-radius: 2px; background: palette(button); }"
        "QTabBar::tab:selected { background: palette(base); }");
}

}  // namespace kq::ui
