// Every row is as high and as wide as the longest line, so the view lays out half a million rows
// without measuring them and scrolls sideways to the end of any line.
#include "deploy/ReportView.h"

#include "deploy/ReportLines.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QStyledItemDelegate>
#include <algorithm>

namespace corvane {
namespace {

class LongestLineDelegate final : public QStyledItemDelegate {
public:
    LongestLineDelegate(QObject* parent, const ReportLines& lines)
        : QStyledItemDelegate(parent), m_lines(lines) {}

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const override {
        return QStyledItemDelegate::sizeHint(option, m_lines.index(m_lines.LongestRow()));
    }

private:
    const ReportLines& m_lines;
};

} // namespace

ReportView::ReportView(QWidget* parent) : QListView(parent), m_lines(new ReportLines(this)) {
    setModel(m_lines);
    setItemDelegate(new LongestLineDelegate(this, *m_lines));
    setUniformItemSizes(true);
    setWordWrap(false);
    setTextElideMode(Qt::ElideNone);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));

    auto* copy = new QAction(tr("&Copy"), this);
    copy->setShortcut(QKeySequence::Copy);
    copy->setShortcutContext(Qt::WidgetShortcut);
    connect(copy, &QAction::triggered, this, &ReportView::CopySelection);
    auto* selectAll = new QAction(tr("Select &All"), this);
    selectAll->setShortcut(QKeySequence::SelectAll);
    selectAll->setShortcutContext(Qt::WidgetShortcut);
    connect(selectAll, &QAction::triggered, this, &QListView::selectAll);
    addActions({copy, selectAll});
    setContextMenuPolicy(Qt::ActionsContextMenu);
}

void ReportView::CopySelection() {
    // Whole ranges rather than every selected index: a selection of all lines stays one range.
    QItemSelection ranges = selectionModel()->selection();
    std::sort(ranges.begin(), ranges.end(),
              [](const QItemSelectionRange& a, const QItemSelectionRange& b) {
                  return a.top() < b.top();
              });
    QString text;
    int next = 0; // ranges may overlap; each line is copied once
    for (const QItemSelectionRange& range : ranges) {
        for (int row = std::max(range.top(), next); row <= range.bottom(); ++row) {
            text += m_lines->Line(row) + QLatin1Char('\n');
        }
        next = std::max(next, range.bottom() + 1);
    }
    QApplication::clipboard()->setText(text);
}

// The list's own Copy puts only the current line on the clipboard.
void ReportView::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Copy)) {
        CopySelection();
        event->accept();
        return;
    }
    QListView::keyPressEvent(event);
}

} // namespace corvane
