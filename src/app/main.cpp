#include <QApplication>
#include <QTimer>
#include <cstdio>

#include "app/Form1.h"
#include "app/ProgramFolder.h"
#include "controls/QtTranslations.h"
#include "data/Error.h"
#include "import/FirstRun.h"

namespace {

QStringList rawArguments(int argc, char* argv[]) {
    QStringList args;
    for (int i = 0; i < argc; ++i) args << QString::fromLocal8Bit(argv[i]);
    return args;
}

void print(std::FILE* stream, const QString& text) {
    std::fputs(text.toUtf8().constData(), stream);
}

}  // namespace

int main(int argc, char* argv[]) {
    // Help and version need no display: answer them before Qt looks for one.
    const kq::CommandLine early = kq::parseCommandLine(rawArguments(argc, argv));
    if (early.action == kq::CommandLine::Action::Help) {
        print(stdout, kq::usageText());
        return 0;
    }
    if (early.action == kq::CommandLine::Action::Version) {
        print(stdout, QStringLiteral("打卡异常统计 (kq) %1\n").arg(QStringLiteral(KQ_VERSION)));
        return 0;
    }

    QApplication app(argc, argv);
    kq::ui::installChineseQtTranslations(app);
    // Also the title of messages that carry none of their own.
    QApplication::setApplicationName(QStringLiteral("打卡异常统计"));
    QApplication::setApplicationVersion(QStringLiteral(KQ_VERSION));
    // Qt has taken its own options (-platform, -style ...) out by now.
    const kq::CommandLine line = kq::parseCommandLine(QCoreApplication::arguments());
    if (line.action == kq::CommandLine::Action::Error) {
        print(stderr, line.error + QLatin1Char('\n') + kq::usageText());
        return 2;
    }
    const QString folder = kq::chooseProgramFolder(
        line.folder, QCoreApplication::applicationDirPath(), QStringLiteral(KQ_INSTALL_BINDIR));
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
