#pragma once

#include <QString>

#include "data/Error.h"

namespace kq {

// Records that the program runs in usedFolder because the folder of the
// program file, unwritableProgramFolder, cannot be written. From then on the
// messages that say where the workbooks must be name both folders, so the
// clerk is not sent to a folder they never chose without knowing why. An
// empty unwritableProgramFolder clears the record.
void noteFallbackFolder(const QString& usedFolder, const QString& unwritableProgramFolder);

// Why the program uses folder and not the program file's own: empty unless
// folder is the fallback recorded above.
QString fallbackReason(const QString& folder);

// "应在文件夹 F 中", followed, while F is the fallback folder, by why the
// program does not look beside the program file.
QString workbookFolderText(const QString& folder);

// A workbook missing from the program folder. The folder travels with the
// message, so the window showing it can offer to open that folder.
class MissingWorkbook : public Error {
  public:
    // names: the file names tried, in order ("ry.xls", "ry.xlsx", "ry.csv").
    // extra: appended after what to do (e.g. that the data is unchanged).
    MissingWorkbook(const QStringList& names, const QString& folder, const QString& extra = {});

    const QString& folder() const { return folder_; }

  private:
    QString folder_;
};

}  // namespace kq
