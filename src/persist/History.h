// The drop-down histories of the deploy-path and command boxes.
#pragma once

#include <QStringList>

class QComboBox;

namespace corvane {

// Adds the box's current text to the end of its drop-down list unless an entry equals it exactly
// (case and all). An empty text is never added.
void RememberText(QComboBox& box);

// The drop-down entries, in order.
QStringList ComboEntries(const QComboBox& box);

} // namespace corvane
