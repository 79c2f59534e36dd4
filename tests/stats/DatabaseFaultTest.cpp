// Faults of the database file itself, met by the statistics run (the writer
// that touches most tables), and a run killed between its passes.
#include <gtest/gtest.h>
#ifdef _WIN32
#include <windows.h>
#else
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <QDir>
#include <QFile>
#include <functional>
#include <memory>
#include <optional>
#include <random>

#include "StatsData.h"
#include "data/Connection.h"
#include "data/DatabaseError.h"
#include "data/Error.h"
#include "stats/StatisticsRun.h"
#include "stats/UnfinishedRun.h"
#include "support/TestFolder.h"
#include "support/Unprivileged.h"

namespace {

using kq::DatabaseFault;
using kq::test::tableRows;

const QString kJia = QStringLiteral("员工甲");
const QString kYi = QStringLiteral("员工乙");

// 员工甲 on 常 and 员工乙 on B on 2024-01-05, a punch each, old rows in every
// table the run rewrites, and enough other punches to spread the file over
// a few dozen pages.
void fillDatabase(const QString& folder) {
    kq::Connection c(folder);
    kq::test::makeSchedule(c, {kJia, kYi}, {{"2024/1/5", {"常", "B"}}});
    kq::test::addPunch(c, "2024/1/5", "7:58", kJia);
    kq::test::addPunch(c, "2024/1/5", "19:58", kYi);
    c.executeNative(QStringLiteral(
        "insert into yw values (1, 'old', 'A');"
        "insert into tj values (1, 'old', 0.5); insert into A values (1, 'old', 0.5);"
        "insert into B values (1, 'old', 0.5); insert into Z values (1, 'old', 0.5);"
        "insert into ZH values (1, 'old', 0.5); insert into Y values (1, 'old', 0.5);"
        "with recursive n(x) as (select 1 union all select x + 1 from n where x < 3000) "
        "insert into ry select 45000 + x % 30, 0.25, '其他员工' || x from n;"));
}

constexpr auto kReadAll = QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther;
constexpr auto kWriteAll =
    QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;
constexpr auto kExeAll = QFileDevice::ExeOwner | QFileDevice::ExeGroup | QFileDevice::ExeOther;

QByteArray noise(qsizetype size) {
    std::mt19937 random(11);
    QByteArray bytes(size, Qt::Uninitialized);
    for (char& b : bytes) b = char(random());
    return bytes;
}

// What the file looks like: its bytes, or that a folder stands there.
QByteArray snapshot(const QString& path) {
    if (QFileInfo(path).isDir()) return "<folder>";
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

struct ChildResult {
    bool exitedCleanly = false;
    QByteArray output;
#ifndef _WIN32
    int status = 0;
#endif
};

#ifndef _WIN32
// Runs work in a child process and returns its wait status and what it
// wrote. When unprivileged, a child of root runs as nobody, so that file
// permissions bind it as they bind the clerk.
ChildResult inChild(const std::function<QByteArray()>& work, bool unprivileged) {
    int fds[2];
    if (pipe(fds) != 0) return {};
    const pid_t pid = fork();
    if (pid == 0) {
        close(fds[0]);
        if (unprivileged && !kq::test::dropRootPrivileges()) _exit(3);
        QByteArray out;
        try {
            out = work();
        } catch (...) {
            _exit(2);
        }
        for (qsizetype done = 0; done < out.size();) {
            const ssize_t n = write(fds[1], out.constData() + done, std::size_t(out.size() - done));
            if (n <= 0) _exit(4);
            done += n;
        }
        _exit(0);
    }
    close(fds[1]);
    ChildResult result;
    char buffer[4096];
    for (ssize_t n; (n = read(fds[0], buffer, sizeof buffer)) > 0;) result.output.append(buffer, n);
    close(fds[0]);
    waitpid(pid, &result.status, 0);
    result.exitedCleanly = WIFEXITED(result.status) && WEXITSTATUS(result.status) == 0;
    return result;
}
#else
// No fork on Windows: the work runs in this process. The clerk there is no
// root, so there is no privilege to drop either.
ChildResult inChild(const std::function<QByteArray()>& work, bool) {
    try {
        return {true, work()};
    } catch (...) {
        return {};
    }
}
#endif

struct FaultCase {
    const char* name;
    DatabaseFault expected;
    // Damages the file or its folder before the run.
    std::function<void(const QString& folder, const QString& database)> before;
    // Done on the run's open connection; what it returns lives until the
    // run has failed.
    std::function<std::shared_ptr<void>(kq::Connection& connection)> during;
};

void overwrite(const QString& path, qint64 at, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    file.seek(at);
    file.write(bytes);
}

const FaultCase kFaults[] = {
    {"garbage file",
     DatabaseFault::Damaged,
     [](const QString&, const QString& db) {
         QFile::remove(db);
         overwrite(db, 0, noise(20000));
     },
     {}},
    {"truncated file",
     DatabaseFault::Damaged,
     [](const QString&, const QString& db) { QFile::resize(db, QFileInfo(db).size() / 2); },
     {}},
    {"bad page mid-file",
     DatabaseFault::Damaged,
     [](const QString&, const QString& db) {
         overwrite(db, (QFileInfo(db).size() / 4096 / 2) * 4096, noise(4096));
     },
     {}},
    {"read-only file",
     DatabaseFault::ReadOnly,
     [](const QString&, const QString& db) { QFile::setPermissions(db, kReadAll); },
     {}},
    {"unwritable folder",
     DatabaseFault::FolderUnwritable,
     [](const QString& folder, const QString&) {
         QFile::setPermissions(folder, kReadAll | kExeAll);
     },
     {}},
    {"directory in its place",
     DatabaseFault::NotAFile,
     [](const QString& folder, const QString& db) {
         QFile::remove(db);
         QDir(folder).mkdir(kq::Connection::databaseFileName());
     },
     {}},
    {"full disk",
     DatabaseFault::DiskFull,
     {},
     [](kq::Connection& c) {
         const QString pages = c.open(QStringLiteral("pragma page_count")).field(0).toText();
         c.executeNative(QStringLiteral("pragma max_page_count = ") + pages);
         return std::shared_ptr<void>();
     }},
    {"locked by another program",
     DatabaseFault::Locked,
     {},
     [](kq::Connection& c) {
         auto other = std::make_shared<kq::Connection>(c.programFolder());
         other->executeNative(QStringLiteral("begin exclusive"));
         return std::shared_ptr<void>(other);
     }},
};

TEST(DatabaseFaults, EachIsNamedForTheClerkAndChangesNoTable) {
    for (const FaultCase& fault : kFaults) {
        SCOPED_TRACE(fault.name);
#ifdef _WIN32
        // A Windows folder has no write bit that binds its owner.
        if (fault.expected == DatabaseFault::FolderUnwritable) continue;
#endif
        kq::test::TestFolder folder;
        fillDatabase(folder.path());
        const QString db = QDir(folder.path()).filePath(kq::Connection::databaseFileName());
        // The child may run as nobody: it needs the folder and the file.
        QFile::setPermissions(folder.path(), kReadAll | kWriteAll | kExeAll);
        QFile::setPermissions(db, kReadAll | kWriteAll);
        if (fault.before) fault.before(folder.path(), db);
#ifdef _WIN32
        // Wine run as root lets root write a read-only file, as Linux does.
        if (fault.expected == DatabaseFault::ReadOnly && QFile(db).open(QIODevice::ReadWrite)) {
            QFile::setPermissions(db, kReadAll | kWriteAll);
            continue;
        }
#endif
        const QByteArray before = snapshot(db);

        const ChildResult child = inChild(
            [&]() -> QByteArray {
                try {
                    kq::Connection connection(folder.path());
                    const auto held = fault.during ? fault.during(connection) : nullptr;
                    kq::runStatistics(connection, [](const QString&) {});
                    return "no failure";
                } catch (const kq::DatabaseError& e) {
                    return QByteArray::number(int(e.fault())) + '\n' + e.description().toUtf8() +
                           '\x1f' + e.details().toUtf8();
                } catch (const kq::Error& e) {
                    return "other error: " + e.description().toUtf8();
                }
            },
            true);

        QFile::setPermissions(folder.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                 QFileDevice::ExeOwner);
        ASSERT_TRUE(child.exitedCleanly);
        const QString output = QString::fromUtf8(child.output);
        ASSERT_TRUE(output.contains(QChar(0x1f))) << output.toStdString();
        const QString description = output.section(QLatin1Char('\n'), 1).section(QChar(0x1f), 0, 0);
        const QString details = output.section(QChar(0x1f), 1);
        EXPECT_EQ(output.section(QLatin1Char('\n'), 0, 0).toInt(), int(fault.expected))
            << description.toStdString();
        // The clerk reads which file and what to do; the engine's words are
        // kept for support.
        EXPECT_TRUE(description.contains(QDir::toNativeSeparators(db)))
            << description.toStdString();
        EXPECT_TRUE(description.contains(QStringLiteral("请")));
        EXPECT_FALSE(description.contains(QStringLiteral("database"), Qt::CaseInsensitive));
        EXPECT_FALSE(description.contains(QStringLiteral("语句")));
        EXPECT_FALSE(details.isEmpty());
        // Nothing was written: the file is byte for byte as it was.
        EXPECT_TRUE(snapshot(db) == before);
    }
}

#ifdef _WIN32
constexpr UINT kKilled = 9;
#endif

// Ends this process at once, as a kill from outside would: no destructor,
// no rollback, no flush of our own.
[[noreturn]] void killThisProcess() {
#ifdef _WIN32
    TerminateProcess(GetCurrentProcess(), kKilled);
#else
    kill(getpid(), SIGKILL);
#endif
    std::abort();
}

TEST(UnfinishedRun, AKillBetweenPassesIsToldAtTheNextLookAndTheFileStaysWhole) {
    // The killed run is a death test: a forked child on Linux, the test
    // program started anew on Windows. That one runs this test from the top,
    // so it takes the parent's folder from the environment instead of
    // making its own.
    constexpr const char* kFolderVariable = "KQ_TEST_KILLED_RUN_FOLDER";
    std::optional<kq::test::TestFolder> own;
    // In hex: Windows keeps a variable set here in its code page.
    QString path = QString::fromUtf8(QByteArray::fromHex(qgetenv(kFolderVariable)));
    if (path.isEmpty()) {
        own.emplace();
        path = own->path();
        fillDatabase(path);
        qputenv(kFolderVariable, path.toUtf8().toHex());
    }

    // Killed while the clerk reads the message of the A pass: 常 and A are
    // new, B to 夜 still hold the old run's rows.
    const auto killedAtThirdMessage = [&] {
        kq::Connection connection(path);
        int shown = 0;
        kq::runStatistics(connection, [&](const QString&) {
            if (++shown == 3) killThisProcess();
        });
    };
#ifdef _WIN32
    EXPECT_EXIT(killedAtThirdMessage(), testing::ExitedWithCode(kKilled), "");
#else
    EXPECT_EXIT(killedAtThirdMessage(), testing::KilledBySignal(SIGKILL), "");
#endif
    qunsetenv(kFolderVariable);

    kq::Connection connection(path);
    EXPECT_EQ(connection.open(QStringLiteral("pragma integrity_check")).field(0).toText(), "ok");
    EXPECT_EQ(tableRows(connection, "tj"), QStringList({"2024/1/5 员工甲 7:58:00"}));
    EXPECT_EQ(tableRows(connection, "B"), QStringList({"1899/12/31 old 12:00:00"}));
    const auto started = kq::unfinishedStatisticsRun(connection);
    ASSERT_TRUE(started.has_value());
    EXPECT_TRUE(
        kq::unfinishedRunMessage(*started).contains(QStringLiteral("请重新点击“开始统计”")));

    // A run that reaches its end makes the tables whole again.
    kq::runStatistics(connection, [](const QString&) {});
    EXPECT_EQ(tableRows(connection, "B"), QStringList({"2024/1/5 员工乙 19:58:00"}));
    EXPECT_FALSE(kq::unfinishedStatisticsRun(connection).has_value());
}

}  // namespace
