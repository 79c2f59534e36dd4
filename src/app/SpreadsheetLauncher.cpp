#include "app/SpreadsheetLauncher.h"

#include <QDesktopServices>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>
#include <QUrl>

namespace kq::ui {
namespace {

class DesktopLauncher : public SpreadsheetLauncher {
  public:
    bool open(const QString& file) override {
#ifndef Q_OS_WIN
        // "-n" makes a new document from the file, as the export is meant to
        // be: untitled, and nothing saved unless the user saves it. On
        // Windows the clerk's own choice for .xlsx (Excel, WPS or
        // LibreOffice) opens it instead.
        for (const char* name : {"soffice", "libreoffice"}) {
            const QString program = QStandardPaths::findExecutable(QString::fromLatin1(name));
            if (!program.isEmpty() &&
                QProcess::startDetached(program,
                                        {QStringLiteral("--calc"), QStringLiteral("-n"), file})) {
                return true;
            }
        }
#endif
        return QDesktopServices::openUrl(QUrl::fromLocalFile(file));
    }
};

}  // namespace

std::shared_ptr<SpreadsheetLauncher> SpreadsheetLauncher::desktop() {
    return std::make_shared<DesktopLauncher>();
}

}  // namespace kq::ui
