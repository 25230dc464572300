// Drawing list entries that are one line of plain text each, laid out once per painting.
#include "app/OneLineDelegate.h"

#include <QApplication>
#include <QPainter>
#include <QStyle>
#include <QTextLayout>

namespace corvane {
namespace {

// The style's own margins around an entry's text, so that the entries sit where the standard
// delegate puts them.
int TextMargin(const QStyleOptionViewItem& option) {
    const QStyle* style = option.widget != nullptr ? option.widget->style() : QApplication::style();
    return style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, option.widget) + 1;
}

} // namespace

void OneLineDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                            const QModelIndex& index) const {
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    const QStyle* style = opt.widget != nullptr ? opt.widget->style() : QApplication::style();
    style->drawPrimitive(QStyle::PE_PanelItemViewItem, &opt, painter, opt.widget);

    const QRect place = opt.rect.adjusted(TextMargin(opt), 0, -TextMargin(opt), 0);
    const QPalette::ColorGroup group = !(opt.state & QStyle::State_Enabled) ? QPalette::Disabled
                                       : (opt.state & QStyle::State_Active) ? QPalette::Normal
                                                                            : QPalette::Inactive;
    painter->save();
    painter->setPen(opt.palette.color(
        group, (opt.state & QStyle::State_Selected) ? QPalette::HighlightedText : QPalette::Text));
    painter->setFont(opt.font);
    QTextLayout layout(opt.text, opt.font, painter->device());
    layout.beginLayout();
    QTextLine line = layout.createLine();
    if (line.isValid()) {
        line.setLineWidth(1e6);
    }
    layout.endLayout();
    if (line.isValid() && line.naturalTextWidth() <= place.width()) {
        const qreal top = place.top() + (place.height() - line.height()) / 2;
        layout.draw(painter, QPointF(place.left(), top));
    } else {
        // Rare: only a line wider than the list is laid out a second time.
        painter->drawText(place, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                          opt.fontMetrics.elidedText(opt.text, opt.textElideMode, place.width()));
    }
    painter->restore();
}

} // namespace corvane
