#pragma once

#include <QString>

namespace kq {

// What the export needs of a grid: its size and the text of each cell,
// rows and columns counted from 0 with the fixed header row and column
// included. Keeps the writer free of widgets.
class GridSource {
  public:
    virtual ~GridSource() = default;
    virtual int rows() const = 0;
    virtual int cols() const = 0;
    virtual QString text(int row, int col) const = 0;
};

}  // namespace kq
