#pragma once

#include <QIODevice>
#include <QString>
#include <memory>
#include <thread>
#include <vector>

#include "import/workbook/HandOver.h"

namespace kq::xlsx {

// Reads another device on a thread of its own, a few chunks ahead of its
// reader: a worksheet is inflated on one core while the other scans it.
// The device read must not be used elsewhere meanwhile. A failed read of it
// ends this one where it failed, and failure() says why.
class ReadAhead : public QIODevice {
  public:
    explicit ReadAhead(std::unique_ptr<QIODevice> source);
    // Stops the reading ahead where it is, if it is not done, and waits for it.
    ~ReadAhead() override;
    bool isSequential() const override { return true; }
    // Once a read has given -1.
    QString failure() const { return failure_; }

  protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char*, qint64) override { return -1; }

  private:
    void run();

    std::unique_ptr<QIODevice> source_;
    HandOver<std::vector<char>> chunks_;
    std::vector<char> current_;  // the chunk being handed out
    std::size_t taken_ = 0;      // bytes of current_ handed out
    bool failed_ = false;        // both kept before the chunks finish
    QString failure_;
    std::thread thread_;
};

}  // namespace kq::xlsx
