#pragma once

class QTableView;

namespace kq::ui {

// Makes each column of the view as wide as its widest text and its header,
// over every row. A column's texts repeat (a month of shift codes), so each
// distinct one is measured once: fitting thousands of rows costs little,
// where the header's own fitting to contents measures each cell, again at
// every layout.
void fitColumnsToTexts(QTableView& view);

}  // namespace kq::ui
