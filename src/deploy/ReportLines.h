// The lines of a text file as a list model, decoded one at a time when a view asks for them.
#pragma once

#include <QAbstractListModel>
#include <string>
#include <vector>

namespace corvane {

class ReportLines final : public QAbstractListModel {
public:
    using QAbstractListModel::QAbstractListModel;

    // Takes the file's bytes (in the file system's own encoding); lines end in CR LF, LF or CR,
    // and a last line without a break is a line too.
    void Load(std::string bytes);
    void Clear() { Load({}); }

    QString Line(int row) const;
    // The line with the most bytes: with a fixed-width font, the widest one.
    int LongestRow() const { return m_longestRow; }

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

private:
    std::string m_bytes;
    // Where each line begins; one entry more than there are lines, the last one the end.
    std::vector<size_t> m_starts;
    int m_longestRow = 0;
};

} // namespace corvane
