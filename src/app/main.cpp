#include <QApplication>

#include "app/Form1.h"
#include "controls/QtTranslations.h"
#include "data/Error.h"
#include "import/FirstRun.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    kq::ui::installChineseQtTranslations(app);
    // Also the title of messages that carry none of their own.
    QApplication::setApplicationName(QStringLiteral("打卡异常统计"));
    const QString folder = QCoreApplication::applicationDirPath();
    try {
        kq::prepareDatabaseOnFirstRun(folder);
    } catch (const kq::Error&) {
        // An unwritable folder is reported by the first button that needs it.
    }
    Form1 form(folder);
    form.show();
    return QApplication::exec();
}
