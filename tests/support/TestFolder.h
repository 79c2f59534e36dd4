#pragma once

#include <QString>
#include <QTemporaryDir>

namespace kq::test {

// A fresh, empty program folder for one test; removed afterwards.
class TestFolder {
  public:
    TestFolder();
    QString path() const { return dir_.path(); }
    QString file(const QString& name) const { return dir_.filePath(name); }
    // Copies a checked-in fixture into the folder under the given name.
    void addFixture(const QString& fixture, const QString& asName) const;

  private:
    QTemporaryDir dir_;
};

QString fixturePath(const QString& name);

}  // namespace kq::test
