#include <QApplication>

#include "app/Form1.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    // Also the title of messages that carry none of their own.
    QApplication::setApplicationName(QStringLiteral("打卡异常统计"));
    Form1 form(QCoreApplication::applicationDirPath());
    form.show();
    return QApplication::exec();
}
