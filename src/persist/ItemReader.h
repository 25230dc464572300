// Reads a text item by item: commas and line ends separate items, double quotes enclose one.
#pragma once

#include <QString>

namespace corvane {

class ItemReader {
public:
    explicit ItemReader(QString text) : m_text(std::move(text)) {}

    // True when no character of the text remains to be read.
    bool AtEnd() const { return m_pos >= m_text.size(); }

    // The next item. Leading blanks and tabs are skipped. A quoted item runs to its closing quote
    // (commas and blanks included) or, when that is missing, to the end of its line; whatever
    // follows it up to the next comma or line end is dropped. Otherwise the item runs to the next
    // comma or line end, which is consumed. Line ends are CR LF, LF or CR.
    QString ReadItem();

private:
    bool AtLineEnd() const;
    void SkipLineEnd();

    QString m_text;
    qsizetype m_pos = 0;
};

} // namespace corvane
