// Remembering texts in a combo box's drop-down list.
#include "persist/History.h"

#include <QComboBox>

namespace corvane {

void RememberText(QComboBox& box) {
    const QString text = box.currentText();
    if (text.isEmpty()) {
        return;
    }
    for (int i = 0; i < box.count(); ++i) {
        if (box.itemText(i) == text) {
            return;
        }
    }
    // Adding to an empty box makes the new entry current, which shows the same text.
    box.addItem(text);
}

QStringList ComboEntries(const QComboBox& box) {
    QStringList entries;
    entries.reserve(box.count());
    for (int i = 0; i < box.count(); ++i) {
        entries << box.itemText(i);
    }
    return entries;
}

} // namespace corvane
