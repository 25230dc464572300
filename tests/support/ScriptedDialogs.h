// A Dialogs for tests: answers are queued in advance; every box and window shown is recorded.
#pragma once

#include "platform/Dialogs.h"

#include <QDialog>
#include <deque>
#include <functional>
#include <vector>

namespace corvane::test {

struct Shown {
    enum Kind { MessageBox, Window, OpenFile, SaveFile, OpenFiles } kind;
    QString text;       // message text; for a window, the texts of its labels joined by "\n"
    int style = 0;      // message-box style number; 0 for the others
    QString objectName; // the window's object name; empty for the others
};

struct ScriptedDialogs final : Dialogs {
    using WindowAction = std::function<void(QDialog&)>;

    ~ScriptedDialogs() override;

    void QueueAnswer(int answer) { m_answers.push_back(answer); }
    void QueueFile(std::optional<QString> path) { m_files.push_back(std::move(path)); }
    void QueueFiles(QStringList paths) { m_fileLists.push_back(std::move(paths)); }
    void QueueWindowAction(WindowAction action) { m_windowActions.push_back(std::move(action)); }

    const std::vector<Shown>& shown() const { return m_shown; }
    std::vector<Shown> MessageBoxes() const;
    QStringList MessageTexts() const;
    void Clear() { m_shown.clear(); }

    int MsgBox(const QString& text, int style, const QString& title) override;
    std::optional<QString> GetOpenFileName(const QString& title, const QString&) override {
        return FileDialog(Shown::OpenFile, title);
    }
    std::optional<QString> GetSaveFileName(const QString& title, const QString&) override {
        return FileDialog(Shown::SaveFile, title);
    }
    QStringList GetOpenFileNames(const QString& title, const QString& filter) override;
    void ShowModal(QDialog& window) override;

    std::optional<QString> FileDialog(Shown::Kind kind, const QString& title);

    std::vector<Shown> m_shown;
    std::deque<int> m_answers;
    std::deque<std::optional<QString>> m_files;
    std::deque<QStringList> m_fileLists;
    std::deque<WindowAction> m_windowActions;
};

} // namespace corvane::test
