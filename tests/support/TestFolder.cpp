#include "support/TestFolder.h"

#include <gtest/gtest.h>

#include <QFile>

namespace kq::test {

TestFolder::TestFolder() { EXPECT_TRUE(dir_.isValid()); }

QString fixturePath(const QString& name) { return QStringLiteral(KQ_FIXTURES_DIR "/") + name; }

void TestFolder::addFixture(const QString& fixture, const QString& asName) const {
    QFile::remove(file(asName));
    ASSERT_TRUE(QFile::copy(fixturePath(fixture), file(asName))) << fixture.toStdString();
    QFile(file(asName)).setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

}  // namespace kq::test
