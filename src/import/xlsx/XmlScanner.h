#pragma once

#include <QIODevice>
#include <QString>
#include <string>
#include <string_view>
#include <vector>

namespace kq::xlsx {

// A small pull scanner for the one XML part that can be large, the
// worksheet: tags, attributes and the text inside an element, straight
// from UTF-8 bytes read in chunks, about ten times as fast as
// QXmlStreamReader on a 65,535-row sheet. It checks that tags nest and
// that the document is whole; anything else wrong ends in "damaged". Names
// are compared without their namespace prefix.
class XmlScanner {
  public:
    XmlScanner(QIODevice& device, QString partName);

    enum class Token { Start, End, EndOfDocument };
    Token next();

    std::string_view name() const { return name_; }
    bool isStart(std::string_view local) const { return token_ == Token::Start && name_ == local; }
    bool isEnd(std::string_view local) const { return token_ == Token::End && name_ == local; }
    bool selfClosing() const { return selfClosing_; }
    // The raw value of the current start tag's attribute, valid until the
    // next call that reads; empty when absent.
    std::string_view attribute(std::string_view local) const;
    // The text of the element just started, entities decoded, up to its end
    // tag (which is consumed); damaged if it holds further elements.
    QString elementText();
    // The same as UTF-8 bytes, in a buffer the next call reuses: numbers
    // need no QString.
    const std::string& elementBytes();

  private:
    [[noreturn]] void fail() const;
    bool fill();
    std::size_t find(char c, std::size_t from);
    std::size_t find(std::string_view s, std::size_t from);
    void readTag();
    void appendDecoded(std::string& out, std::size_t from, std::size_t to);

    QIODevice& device_;
    QString partName_;
    std::vector<char> buffer_;
    std::size_t pos_ = 0;  // the next unread byte
    std::size_t end_ = 0;  // bytes in the buffer
    bool eof_ = false;

    Token token_ = Token::EndOfDocument;
    std::string_view name_;
    bool selfClosing_ = false;
    std::vector<std::pair<std::string_view, std::string_view>> attributes_;
    std::vector<std::string> open_;  // the elements still open
    std::string text_;               // of elementBytes()
};

}  // namespace kq::xlsx
