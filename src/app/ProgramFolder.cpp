#include "app/ProgramFolder.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include "import/MissingWorkbook.h"

namespace kq {

CommandLine parseCommandLine(const QStringList& args) {
    using Action = CommandLine::Action;
    const QStringList given = args.mid(1);
    if (given.contains(QLatin1String("-h")) || given.contains(QLatin1String("--help")))
        return {Action::Help, {}, {}};
    if (given.contains(QLatin1String("-v")) || given.contains(QLatin1String("--version")))
        return {Action::Version, {}, {}};
    CommandLine line;
    for (const QString& arg : given) {
        if (arg.startsWith(QLatin1Char('-')) && arg != QLatin1String("-"))
            return {Action::Error, {}, QStringLiteral("未知选项 / unknown option: %1").arg(arg)};
        if (!line.folder.isEmpty())
            return {
                Action::Error,
                {},
                QStringLiteral("只能给出一个文件夹 / only one FOLDER may be given: %1").arg(arg)};
        line.folder = arg;
    }
    return line;
}

QString usageText() {
    return QStringLiteral(
        "用法 / Usage: kq [文件夹 FOLDER]\n"
        "\n"
        "打卡异常统计：从程序文件夹中的 ry.xls、yd.xls、pb.xls 导入打卡、排班和班次时间，\n"
        "按班次查询异常打卡。每个工作簿也可以是 .xlsx 或 .csv（如 ry.xlsx、ry.csv）。\n"
        "Attendance anomalies: imports punches, schedule and shift times from ry.xls,\n"
        "yd.xls and pb.xls in the program folder and lists the anomalous punches.\n"
        "Each may also be .xlsx or .csv (ry.xlsx, ry.csv).\n"
        "\n"
        "程序文件夹（存放 KQ.db 和三个工作簿）/ Program folder (KQ.db and the workbooks):\n"
        "  给出的文件夹；否则程序所在的文件夹（不是安装目录，且其中已有 KQ.db 或工作簿、\n"
        "  或者可以写入时；已有 KQ.db 但无法写入时只能查询）；否则 文档/打卡异常统计\n"
        "  （程序所在的文件夹无法写入时，找不到工作簿的提示会同时给出两个文件夹）。\n"
        "  the FOLDER given; else the program's own folder if it is not the folder\n"
        "  the program is installed into and already holds KQ.db or a workbook, or\n"
        "  can be written (a KQ.db there that cannot be written is opened for\n"
        "  queries only); else 打卡异常统计 in the user's documents folder.\n"
        "\n"
        "  -h, --help     显示本说明 / show this help\n"
        "  -v, --version  显示版本 / show the version\n");
}

QString documentsProgramFolder() {
    QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (documents.isEmpty()) documents = QDir::homePath();
    return QDir(documents).filePath(QStringLiteral("打卡异常统计"));
}

bool holdsClerkFiles(const QString& folder) {
    const QDir dir(folder);
    if (QFileInfo(dir.filePath(QStringLiteral("KQ.db"))).isFile()) return true;
    for (const char* name : {"ry", "yd", "pb"})
        for (const char* ext : {".xls", ".xlsx", ".csv"})
            if (QFileInfo(dir.filePath(QLatin1String(name) + QLatin1String(ext))).isFile())
                return true;
    return false;
}

QString chooseProgramFolder(const QString& argumentFolder, const QString& programFileFolder,
                            const QString& installedBinFolder, const WritableProbe& writable) {
    QString folder;
    if (!argumentFolder.isEmpty()) {
        folder = QDir(argumentFolder).absolutePath();
    } else {
        const QString programDir = QDir(programFileFolder).absolutePath();
        // Even root must not litter /usr/bin with a database.
        const bool installed =
            !installedBinFolder.isEmpty() && QFileInfo(programDir) == QFileInfo(installedBinFolder);
        // A folder already holding the clerk's files is theirs even when it
        // cannot be written: moving elsewhere would make their data vanish.
        const bool usable =
            QFileInfo(programDir).isDir() && (holdsClerkFiles(programDir) || writable(programDir));
        folder = !installed && usable ? programDir : documentsProgramFolder();
        noteFallbackFolder(folder, !installed && !usable ? programDir : QString());
    }
    QDir().mkpath(folder);
    return folder;
}

}  // namespace kq
