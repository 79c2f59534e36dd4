#pragma once

#include <QString>

#include "export/GridSource.h"
#include "export/WorkbookLayout.h"

namespace kq {

// Writes every cell of the grid, as text, into the first sheet of a new
// .xlsx workbook: grid cell (r, c) lands in sheet cell (r + 1, c + 1), row 1
// is bold, each column is sized to its widest text and A1 is selected.
// Replaces an existing file at path. Throws kq::Error (ErrorKind::Export).
// A layout adds lines above the grid (grid row 0 then starts below them),
// fills, frozen panes and the page setup.
void writeGridWorkbook(const GridSource& grid, const QString& path,
                       const WorkbookLayout& layout = {});

// The same, into a new file with a fresh name in the user's temporary
// folder; returns its path. The file is left there for the spreadsheet
// application to open.
QString writeGridToTempWorkbook(const GridSource& grid, const WorkbookLayout& layout = {});

}  // namespace kq
