// Paints the button's frame as the style does and its caption word-wrapped inside it; text()
// stays the whole caption, so that accessibility and tests read it unchanged.
#include "app/WrapButton.h"

#include <QStyleOptionButton>
#include <QStylePainter>

namespace corvane {

void WrapButton::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.text.clear();
    painter.drawControl(QStyle::CE_PushButton, option);
    const QRect area = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
    painter.drawItemText(area, Qt::AlignCenter | Qt::TextWordWrap, palette(), isEnabled(), text(),
                         QPalette::ButtonText);
}

} // namespace corvane
