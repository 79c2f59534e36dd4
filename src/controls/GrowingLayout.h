#pragma once

#include <QObject>
#include <QRect>
#include <QSize>
#include <vector>

class QWidget;

namespace kq::ui {

// Keeps a window's designed layout exactly at its designed size, which also
// becomes its smallest size, and lets the window grow: growing columns share
// the extra width in proportion to their designed widths and take all the
// extra height, while the controls right of them move with the right edge
// and keep their sizes.
class GrowingLayout : public QObject {
  public:
    // One growing column: a frame placed on the window and the control that
    // fills it.
    struct Column {
        QWidget* frame;
        QWidget* content;
    };

    explicit GrowingLayout(QWidget& window);

    // Columns from left to right.
    void setGrowingColumns(std::vector<Column> columns);
    void setRightEdgeControls(std::vector<QWidget*> controls);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    struct Placed {
        QWidget* widget;
        QRect design;
    };
    struct PlacedColumn {
        Placed frame;
        Placed content;
    };

    void apply(QSize size);

    QWidget& window_;
    QSize designSize_;
    std::vector<PlacedColumn> columns_;
    std::vector<Placed> rightEdge_;
};

}  // namespace kq::ui
