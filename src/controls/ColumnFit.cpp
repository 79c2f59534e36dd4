#include "controls/ColumnFit.h"

#include <QAbstractItemDelegate>
#include <QHash>
#include <QHeaderView>
#include <QStyleOptionViewItem>
#include <QTableView>
#include <algorithm>

namespace kq::ui {

void fitColumnsToTexts(QTableView& view) {
    const QAbstractItemModel* model = view.model();
    if (!model) return;
    QStyleOptionViewItem option;
    option.initFrom(&view);
    option.widget = &view;
    option.font = view.font();
    option.fontMetrics = view.fontMetrics();
    option.textElideMode = view.textElideMode();
    if (view.wordWrap()) option.features |= QStyleOptionViewItem::WrapText;
    const int gridLine = view.showGrid() ? 1 : 0;
    QHeaderView& header = *view.horizontalHeader();
    const int rows = model->rowCount();
    for (int column = 0; column < model->columnCount(); ++column) {
        int width = header.sectionSizeHint(column);
        QHash<QString, int> measured;
        for (int row = 0; row < rows; ++row) {
            const QModelIndex index = model->index(row, column);
            const QString text = index.data(Qt::DisplayRole).toString();
            if (measured.contains(text)) continue;
            const int fitted =
                view.itemDelegateForIndex(index)->sizeHint(option, index).width() + gridLine;
            measured.insert(text, fitted);
            width = std::max(width, fitted);
        }
        header.resizeSection(column, width);
    }
}

}  // namespace kq::ui
