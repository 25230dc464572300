// The report's bytes are kept as read and only their line starts indexed, so a report of
// half a million lines costs little more than its own size until a line is painted.
#include "deploy/ReportLines.h"

#include "persist/TextFile.h"

#include <algorithm>

namespace corvane {

void ReportLines::Load(std::string bytes) {
    beginResetModel();
    // Swapped, not assigned: assigning a short string would keep the old report's buffer.
    std::string(std::move(bytes)).swap(m_bytes);
    std::vector<size_t>().swap(m_starts);
    m_starts.reserve(static_cast<size_t>(std::count(m_bytes.begin(), m_bytes.end(), '\n')) + 2);
    m_starts.push_back(0);
    m_longestRow = 0;
    size_t longest = 0;
    const char* const begin = m_bytes.data();
    const char* const end = begin + m_bytes.size();
    for (const char* at = begin; at != end;) {
        const char* next = std::find_if(at, end, [](char c) { return c == '\n' || c == '\r'; });
        if (next != end) {
            next += *next == '\r' && next + 1 != end && next[1] == '\n' ? 2 : 1;
        }
        if (static_cast<size_t>(next - at) > longest) {
            longest = static_cast<size_t>(next - at);
            m_longestRow = static_cast<int>(m_starts.size() - 1);
        }
        m_starts.push_back(static_cast<size_t>(next - begin));
        at = next;
    }
    endResetModel();
}

QString ReportLines::Line(int row) const {
    if (row < 0 || row >= rowCount()) {
        return {};
    }
    size_t begin = m_starts[static_cast<size_t>(row)];
    size_t end = m_starts[static_cast<size_t>(row) + 1];
    if (end > begin && m_bytes[end - 1] == '\n') {
        --end;
    }
    if (end > begin && m_bytes[end - 1] == '\r') {
        --end;
    }
    return FromNative(std::string_view(m_bytes).substr(begin, end - begin));
}

int ReportLines::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_starts.size() - 1);
}

QVariant ReportLines::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole) {
        return {};
    }
    return Line(index.row());
}

} // namespace corvane
