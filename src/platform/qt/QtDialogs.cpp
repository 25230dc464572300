// Qt message boxes and file dialogs behind the Dialogs interface.
#include "platform/qt/QtDialogs.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>

namespace corvane {

QString ToQtFileFilter(const QString& filter) {
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts[i];
        // Qt reads the patterns from the parentheses, so replace the ones the description
        // shows with the real pattern list.
        description.remove(QRegularExpression(QStringLiteral("\\s*\\([^)]*\\)\\s*$")));
        QStringList patterns = parts[i + 1].split(QLatin1Char(';'));
        // To Windows "*.*" is every file; to Qt it is only names with a dot.
        patterns.replaceInStrings(QRegularExpression(QStringLiteral("^\\*\\.\\*$")),
                                  QStringLiteral("*"));
        filters << description + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) +
                       QLatin1Char(')');
    }
    return filters.join(QStringLiteral(";;"));
}

int QtDialogs::MsgBox(const QString& text, int style, const QString& title) {
    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(title);
    box.setText(QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    switch (style & 0x70) {
    case MsgStyle::Critical:
        box.setIcon(QMessageBox::Critical);
        break;
    case MsgStyle::Question:
        box.setIcon(QMessageBox::Question);
        break;
    case MsgStyle::Exclamation:
        box.setIcon(QMessageBox::Warning);
        break;
    case MsgStyle::Information:
        box.setIcon(QMessageBox::Information);
        break;
    default:
        break;
    }
    if ((style & 0x0F) == MsgStyle::YesNo) {
        QPushButton* yes = box.addButton(QMessageBox::Yes);
        QPushButton* no = box.addButton(QMessageBox::No);
        box.setDefaultButton((style & MsgStyle::DefaultButton2) ? no : yes);
        box.setEscapeButton(no);
        box.exec();
        return box.clickedButton() == yes ? MsgAnswer::Yes : MsgAnswer::No;
    }
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
    return MsgAnswer::Ok;
}

std::optional<QString> QtDialogs::GetOpenFileName(const QString& title, const QString& filter) {
    const QString path = QFileDialog::getOpenFileName(QApplication::activeWindow(), title,
                                                      QString(), ToQtFileFilter(filter));
    return path.isEmpty() ? std::nullopt : std::optional<QString>(path);
}

std::optional<QString> QtDialogs::GetSaveFileName(const QString& title, const QString& filter) {
    const QString path = QFileDialog::getSaveFileName(QApplication::activeWindow(), title,
                                                      QString(), ToQtFileFilter(filter));
    return path.isEmpty() ? std::nullopt : std::optional<QString>(path);
}

QStringList QtDialogs::GetOpenFileNames(const QString& title, const QString& filter) {
    QStringList paths = QFileDialog::getOpenFileNames(QApplication::activeWindow(), title,
                                                      QString(), ToQtFileFilter(filter));
    for (QString& path : paths) {
        path = QDir::toNativeSeparators(path);
    }
    return paths;
}

void QtDialogs::ShowModal(QDialog& window) {
    window.exec();
}

} // namespace corvane
