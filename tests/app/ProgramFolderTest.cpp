#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <optional>

#include "app/ProgramFolder.h"
#include "import/MissingWorkbook.h"
#include "import/WorkbookFile.h"

namespace {

// Sets an environment variable for one test and puts the old value back.
class EnvVar {
  public:
    EnvVar(const char* name, const QString& value)
        : name_(name),
          old_(qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt) {
        qputenv(name, value.toUtf8());
    }
    ~EnvVar() { old_ ? (void)qputenv(name_, *old_) : (void)qunsetenv(name_); }
    EnvVar(const EnvVar&) = delete;
    EnvVar& operator=(const EnvVar&) = delete;

  private:
    const char* name_;
    std::optional<QByteArray> old_;
};

// A temporary home with no desktop settings of the host leaking in.
class ProgramFolderTest : public ::testing::Test {
  protected:
    QTemporaryDir home;
    QTemporaryDir programDir;
    EnvVar homeVar{"HOME", home.path()};
    EnvVar configVar{"XDG_CONFIG_HOME", home.filePath(QStringLiteral(".config"))};
    QString documentsFolder() const {
        return home.filePath(QStringLiteral("Documents/打卡异常统计"));
    }
};

TEST_F(ProgramFolderTest, FolderOnTheCommandLineWinsAndIsCreated) {
    const QString wanted = home.filePath(QStringLiteral("月报/十二月"));
    EXPECT_EQ(kq::chooseProgramFolder(wanted, programDir.path(), {}), wanted);
    EXPECT_TRUE(QFileInfo(wanted).isDir());

    // A relative folder is taken from the current folder.
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(home.path()));
    const QString chosen = kq::chooseProgramFolder(QStringLiteral("rel"), programDir.path(), {});
    QDir::setCurrent(before);
    EXPECT_EQ(chosen, home.filePath(QStringLiteral("rel")));
}

TEST_F(ProgramFolderTest, WritableProgramFolderIsUsedAsBefore) {
    EXPECT_EQ(kq::chooseProgramFolder({}, programDir.path(), QStringLiteral("/usr/bin")),
              programDir.path());
    EXPECT_FALSE(QFileInfo::exists(documentsFolder()));
    // The write probe leaves nothing behind.
    EXPECT_TRUE(
        QDir(programDir.path()).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
}

// Each of these program folders sends the data to the user's documents folder.
// All are real checks that hold for root too (CI runs as root, where chmod
// would not make a folder unwritable): /proc is a directory in which even
// root cannot create a file, a regular file is no folder at all, and the folder
// the program is installed into is never used even when it could be written.
TEST_F(ProgramFolderTest, UnusableProgramFolderFallsBackToDocuments) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows gives the user's own documents folder whatever HOME says; "
                    "a test must not create folders there";
#endif
    if (!QFileInfo(QStringLiteral("/proc")).isDir()) GTEST_SKIP() << "no /proc";
    const QString notAFolder = home.filePath(QStringLiteral("kq-file"));
    {
        QFile f(notAFolder);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    struct Case {
        const char* what;
        QString programFolder;
        QString installedBin;
    };
    const Case cases[] = {
        {"directory nobody can write", QStringLiteral("/proc"), {}},
        {"file in place of the folder", notAFolder, {}},
        {"installed folder", programDir.path(), programDir.path()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QDir(documentsFolder()).removeRecursively();
        EXPECT_EQ(kq::chooseProgramFolder({}, c.programFolder, c.installedBin), documentsFolder());
        EXPECT_TRUE(QFileInfo(documentsFolder()).isDir());
    }
    EXPECT_FALSE(kq::isWritablePath(QStringLiteral("/proc")));
}

TEST_F(ProgramFolderTest, LocalisedDocumentsFolderIsHonoured) {
#ifdef _WIN32
    GTEST_SKIP() << "XDG_DOCUMENTS_DIR is the freedesktop setting; Windows localises by itself";
#endif
    ASSERT_TRUE(QDir().mkpath(home.filePath(QStringLiteral(".config"))));
    QFile dirs(home.filePath(QStringLiteral(".config/user-dirs.dirs")));
    ASSERT_TRUE(dirs.open(QIODevice::WriteOnly));
    dirs.write("XDG_DOCUMENTS_DIR=\"$HOME/文档\"\n");
    dirs.close();
    EXPECT_EQ(kq::chooseProgramFolder({}, QStringLiteral("/proc"), {}),
              home.filePath(QStringLiteral("文档/打卡异常统计")));
}

TEST(CommandLineTest, HelpVersionFolderAndRefusals) {
    using A = kq::CommandLine::Action;
    struct Case {
        QStringList args;
        A action;
        QString folder;
    };
    const Case cases[] = {
        {{"kq"}, A::Run, {}},
        {{"kq", "/data/kq"}, A::Run, "/data/kq"},
        {{"kq", "--help"}, A::Help, {}},
        {{"kq", "-x", "-h"}, A::Help, {}},
        {{"kq", "--version", "--help"}, A::Help, {}},
        {{"kq", "dir", "-v"}, A::Version, {}},
        {{"kq", "--frobnicate"}, A::Error, {}},
        {{"kq", "one", "two"}, A::Error, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.join(QLatin1Char(' ')).toStdString());
        const kq::CommandLine line = kq::parseCommandLine(c.args);
        EXPECT_EQ(line.action, c.action);
        EXPECT_EQ(line.folder, c.folder);
        EXPECT_EQ(line.error.isEmpty(), c.action != A::Error);
    }
}

}  // namespace

namespace {

// Writability comes through the seam: root would write anywhere. The message
// is the one 更新打卡 shows when ry.xls is missing from the chosen folder.
TEST_F(ProgramFolderTest, ClerkFilesKeepTheProgramFolderEvenWhenReadOnly) {
    const auto readOnly = [](const QString&) { return false; };
    const auto writable = [](const QString&) { return true; };
    struct Case {
        const char* what;
        const char* file;  // put in the program folder, or none
        bool canWrite;
        bool installed;
        bool keepsProgramFolder;
        const char* message;  // %1 the chosen folder, %2 the program folder
    };
    const Case cases[] = {
        {"fresh writable folder", nullptr, true, false, true,
         "找不到工作簿 ry.xls（应在文件夹 %1 中）。请把它放入该文件夹后重试。"},
        {"fresh read-only folder", nullptr, false, false, false,
         "找不到工作簿 ry.xls（应在文件夹 %1 中；程序所在的文件夹 %2 无法写入，所以改用这里）。"
         "请把它放入该文件夹后重试。"},
        {"KQ.db, read-only", "KQ.db", false, false, true,
         "找不到工作簿 ry.xls（应在文件夹 %1 中）。请把它放入该文件夹后重试。"},
        {"only a workbook, read-only", "yd.xlsx", false, false, true,
         "找不到工作簿 ry.xls（应在文件夹 %1 中）。请把它放入该文件夹后重试。"},
        {"installed location", nullptr, true, true, false,
         "找不到工作簿 ry.xls（应在文件夹 %1 中）。请把它放入该文件夹后重试。"},
    };
    // Windows gives the user's own documents folder whatever HOME says: take
    // the program's own answer, and remove the folder if this test made it.
    const QString documents = kq::documentsProgramFolder();
    const bool documentsExisted = QFileInfo::exists(documents);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QTemporaryDir dir;
        if (c.file) {
            QFile f(dir.filePath(QLatin1String(c.file)));
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        }
        const QString chosen = kq::chooseProgramFolder(
            {}, dir.path(), c.installed ? dir.path() : QString(), c.canWrite ? writable : readOnly);
        EXPECT_EQ(chosen, c.keepsProgramFolder ? dir.path() : documents);
        try {
            kq::WorkbookFile(QDir(chosen).filePath(QStringLiteral("ry.xls")));
            ADD_FAILURE() << "a missing workbook was opened";
        } catch (const kq::MissingWorkbook& e) {
            EXPECT_EQ(e.description(), QString::fromUtf8(c.message).arg(
                                           chosen, QDir::toNativeSeparators(dir.path())));
            EXPECT_EQ(e.folder(), chosen);
        }
    }
    if (!documentsExisted) QDir(documents).removeRecursively();
#ifndef _WIN32
    EXPECT_EQ(documents, documentsFolder());
#endif
}

}  // namespace
