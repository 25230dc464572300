// The real Dialogs: Qt message boxes and file dialogs, modal windows shown with exec().
#pragma once

#include "platform/Dialogs.h"

namespace corvane {

// Turns "Description|pattern|..." into Qt's "Description (patterns);;..." form.
QString ToQtFileFilter(const QString& filter);

class QtDialogs final : public Dialogs {
public:
    int MsgBox(const QString& text, int style, const QString& title) override;
    std::optional<QString> GetOpenFileName(const QString& title, const QString& filter) override;
    std::optional<QString> GetSaveFileName(const QString& title, const QString& filter) override;
    QStringList GetOpenFileNames(const QString& title, const QString& filter) override;
    void ShowModal(QDialog& window) override;
};

} // namespace corvane
