// Control factories for the program's windows.
#include "app/Controls.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace corvane {

QGroupBox* MakeFrame(QWidget* parent, const char* name, const QString& caption, QRect place) {
    auto* frame = new QGroupBox(caption, parent);
    frame->setObjectName(QString::fromLatin1(name));
    // Else a frame inside another is read out with the outer frame's title.
    frame->setAccessibleName(caption);
    frame->setGeometry(place);
    return frame;
}

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& caption,
                        const QString& tooltip, QRect place) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setToolTip(tooltip);
    button->setAutoDefault(false);
    button->setGeometry(place);
    return button;
}

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& caption, QRect place) {
    auto* label = new QLabel(caption, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(place);
    return label;
}

QListWidget* MakeList(QWidget* parent, const char* name, const QString& accessibleName,
                      const QString& tooltip, QRect place) {
    auto* list = new QListWidget(parent);
    list->setObjectName(QString::fromLatin1(name));
    list->setAccessibleName(accessibleName);
    list->setToolTip(tooltip);
    list->setGeometry(place);
    return list;
}

QLineEdit* MakeTextBox(QWidget* parent, const char* name, const QString& text,
                       const QString& accessibleName, const QString& tooltip, QRect place) {
    auto* box = new QLineEdit(text, parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setAccessibleName(accessibleName);
    box->setToolTip(tooltip);
    box->setGeometry(place);
    return box;
}

QComboBox* MakeComboBox(QWidget* parent, const char* name, const QString& accessibleName,
                        const QString& tooltip, QRect place) {
    auto* box = new QComboBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setCompleter(nullptr);
    box->setAccessibleName(accessibleName);
    box->setToolTip(tooltip);
    box->setGeometry(place);
    return box;
}

} // namespace corvane
