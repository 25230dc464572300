// Small factories that give a control its name, text, tooltip, accessible name and place at once.
#pragma once

#include <QRect>
#include <QString>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QWidget;

namespace corvane {

QGroupBox* MakeFrame(QWidget* parent, const char* name, const QString& caption, QRect place);
QPushButton* MakeButton(QWidget* parent, const char* name, const QString& caption,
                        const QString& tooltip, QRect place);
QLabel* MakeLabel(QWidget* parent, const char* name, const QString& caption, QRect place);
// Lists, text boxes and combo boxes are named for assistive technology by the label beside them,
// or by their tooltip where there is none.
QListWidget* MakeList(QWidget* parent, const char* name, const QString& accessibleName,
                      const QString& tooltip, QRect place);
QLineEdit* MakeTextBox(QWidget* parent, const char* name, const QString& text,
                       const QString& accessibleName, const QString& tooltip, QRect place);
// An editable combo box that never adds typed text to its list and never completes it.
QComboBox* MakeComboBox(QWidget* parent, const char* name, const QString& accessibleName,
                        const QString& tooltip, QRect place);

} // namespace corvane
