#include "controls/GrowingLayout.h"

#include <QEvent>
#include <QWidget>

namespace kq::ui {

GrowingLayout::GrowingLayout(QWidget& window)
    : QObject(&window), window_(window), designSize_(window.size()) {
    window.setMinimumSize(designSize_);
    window.installEventFilter(this);
}

void GrowingLayout::setGrowingColumns(std::vector<Column> columns) {
    columns_.clear();
    for (const Column& c : columns)
        columns_.push_back({{c.frame, c.frame->geometry()}, {c.content, c.content->geometry()}});
    apply(window_.size());
}

void GrowingLayout::setRightEdgeControls(std::vector<QWidget*> controls) {
    rightEdge_.clear();
    for (QWidget* w : controls) rightEdge_.push_back({w, w->geometry()});
    apply(window_.size());
}

bool GrowingLayout::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &window_ && event->type() == QEvent::Resize) apply(window_.size());
    return QObject::eventFilter(watched, event);
}

void GrowingLayout::apply(QSize size) {
    const int extraWidth = std::max(0, size.width() - designSize_.width());
    const int extraHeight = std::max(0, size.height() - designSize_.height());

    int designWidths = 0;
    for (const PlacedColumn& c : columns_) designWidths += c.frame.design.width();
    int shift = 0;
    for (std::size_t i = 0; i < columns_.size(); ++i) {
        const PlacedColumn& c = columns_[i];
        // The last column takes what rounding leaves over.
        const int share = i + 1 == columns_.size()
                              ? extraWidth - shift
                              : int(qint64(extraWidth) * c.frame.design.width() / designWidths);
        c.frame.widget->setGeometry(
            c.frame.design.translated(shift, 0).adjusted(0, 0, share, extraHeight));
        c.content.widget->setGeometry(c.content.design.adjusted(0, 0, share, extraHeight));
        shift += share;
    }
    for (const Placed& p : rightEdge_) p.widget->setGeometry(p.design.translated(extraWidth, 0));
}

}  // namespace kq::ui
