#include "controls/MessageRecorder.h"

namespace kq::ui {

MessageRecorder::MessageRecorder() {
    MessageBox::setHandler([this](const Request& request) {
        messages_.push_back(request);
        if (callback_) callback_(request);
        if (request.kind != MessageBox::Kind::Question) return QMessageBox::Ok;
        if (answers_.empty()) return QMessageBox::Yes;
        const auto answer = answers_.front();
        answers_.pop_front();
        return answer;
    });
}

MessageRecorder::~MessageRecorder() { MessageBox::setHandler({}); }

QStringList MessageRecorder::texts() const {
    QStringList out;
    for (const auto& m : messages_) out << m.text;
    return out;
}

}  // namespace kq::ui
