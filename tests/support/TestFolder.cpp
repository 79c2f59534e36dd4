#include "support/TestFolder.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

namespace kq::test {

// A clerk's program folder is often named in Chinese, with spaces; on
// Windows such a name is out of reach of the narrow (code page) file calls.
TestFolder::TestFolder() : dir_(QDir::tempPath() + QStringLiteral("/考勤 程序-XXXXXX")) {
    EXPECT_TRUE(dir_.isValid());
}

QString fixturePath(const QString& name) { return QStringLiteral(KQ_FIXTURES_DIR "/") + name; }

void TestFolder::addFixture(const QString& fixture, const QString& asName) const {
    QFile::remove(file(asName));
    ASSERT_TRUE(QFile::copy(fixturePath(fixture), file(asName))) << fixture.toStdString();
    QFile(file(asName)).setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

}  // namespace kq::test
