#pragma once

#include <QIODevice>
#include <QString>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

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
    QString failure() const;

  protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char*, qint64) override { return -1; }

  private:
    void run();

    std::unique_ptr<QIODevice> source_;
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::vector<char>> ready_;
    std::vector<char> current_;  // the chunk being handed out
    std::size_t taken_ = 0;      // bytes of current_ handed out
    bool done_ = false, failed_ = false, stopped_ = false;
    QString failure_;
    std::thread thread_;
};

}  // namespace kq::xlsx
