// Drawing list entries that are one line of plain text each, laid out once per painting.
#pragma once

#include <QStyledItemDelegate>

namespace corvane {

// For lists whose entries are one line of text in the list's font, with nothing else shown (no
// icon, check box or other font). The standard delegate lays every line out three times per
// painting (its size, its elision and its drawing); a list that grows by a screenful at every
// frame spends most of the frame there. Sizes stay the standard ones: a
// list of uniform item sizes asks for one size per layout. Looks the same: the style's selection
// and hover panel, the text elided at the right when it is wider than its place.
class OneLineDelegate final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
};

} // namespace corvane
