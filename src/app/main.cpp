#include <QApplication>
#include <QTimer>

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
        // Reported, with what to do, by the check of the database below.
    }
    Form1 form(folder);
    form.show();
    QTimer::singleShot(0, &form, &Form1::checkDatabase);
    return QApplication::exec();
}
