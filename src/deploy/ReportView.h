// A read-only view of a report's lines: one row per line, never wrapped, copyable by selection.
#pragma once

#include <QListView>

namespace corvane {

class ReportLines;

class ReportView final : public QListView {
public:
    explicit ReportView(QWidget* parent);

    ReportLines& lines() const { return *m_lines; }
    // Puts the selected lines, in file order and each ended with a line break, on the clipboard.
    void CopySelection();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    ReportLines* m_lines;
};

} // namespace corvane
