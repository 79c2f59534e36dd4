#pragma once

#include <QString>
#include <memory>

namespace kq::ui {

// Opens a workbook file in the desktop's spreadsheet application. An
// interface so that tests can put a fake in its place.
class SpreadsheetLauncher {
  public:
    virtual ~SpreadsheetLauncher() = default;
    // Opens the file as a new, untitled document where the application
    // allows it; false when no application could be started.
    virtual bool open(const QString& file) = 0;

    // LibreOffice Calc where it is installed, else the desktop's default
    // application for the file.
    static std::shared_ptr<SpreadsheetLauncher> desktop();
};

}  // namespace kq::ui
