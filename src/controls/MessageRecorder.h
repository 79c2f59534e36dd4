#pragma once

#include <QMessageBox>
#include <QStringList>
#include <deque>
#include <functional>
#include <vector>

#include "controls/MessageBox.h"

namespace kq::ui {

// Records every message instead of showing it, for programs that drive the
// windows without anyone at the screen (the GUI tests, the benchmarks);
// questions get the queued answers (Yes when none is queued). One at a
// time: it holds the message handler while it lives.
class MessageRecorder {
  public:
    using Request = MessageBox::Request;
    MessageRecorder();
    ~MessageRecorder();
    MessageRecorder(const MessageRecorder&) = delete;
    MessageRecorder& operator=(const MessageRecorder&) = delete;

    void answerNext(QMessageBox::StandardButton answer) { answers_.push_back(answer); }
    // Called while a message is "on screen", before it is confirmed.
    void onMessage(std::function<void(const Request&)> callback) {
        callback_ = std::move(callback);
    }

    const std::vector<Request>& all() const { return messages_; }
    QStringList texts() const;
    void clear() { messages_.clear(); }

  private:
    std::vector<Request> messages_;
    std::deque<QMessageBox::StandardButton> answers_;
    std::function<void(const Request&)> callback_;
};

}  // namespace kq::ui
