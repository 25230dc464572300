// The item reader shared by the list files, the capture files and the manual.
#include "persist/ItemReader.h"

namespace corvane {

bool ItemReader::AtLineEnd() const {
    const QChar c = m_text[m_pos];
    return c == QLatin1Char('\r') || c == QLatin1Char('\n');
}

void ItemReader::SkipLineEnd() {
    if (m_text[m_pos] == QLatin1Char('\r')) {
        ++m_pos;
        if (!AtEnd() && m_text[m_pos] == QLatin1Char('\n')) {
            ++m_pos;
        }
    } else {
        ++m_pos;
    }
}

QString ItemReader::ReadItem() {
    while (!AtEnd() && (m_text[m_pos] == QLatin1Char(' ') || m_text[m_pos] == QLatin1Char('\t'))) {
        ++m_pos;
    }
    if (AtEnd()) {
        return {};
    }
    QString item;
    if (m_text[m_pos] == QLatin1Char('"')) {
        ++m_pos;
        const qsizetype start = m_pos;
        while (!AtEnd() && m_text[m_pos] != QLatin1Char('"') && !AtLineEnd()) {
            ++m_pos;
        }
        item = m_text.mid(start, m_pos - start);
        if (!AtEnd() && m_text[m_pos] == QLatin1Char('"')) {
            ++m_pos;
        }
        while (!AtEnd() && m_text[m_pos] != QLatin1Char(',') && !AtLineEnd()) {
            ++m_pos;
        }
    } else {
        const qsizetype start = m_pos;
        while (!AtEnd() && m_text[m_pos] != QLatin1Char(',') && !AtLineEnd()) {
            ++m_pos;
        }
        item = m_text.mid(start, m_pos - start);
    }
    if (!AtEnd()) {
        if (m_text[m_pos] == QLatin1Char(',')) {
            ++m_pos;
        } else {
            SkipLineEnd();
        }
    }
    return item;
}

} // namespace corvane
