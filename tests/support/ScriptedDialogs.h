// A Dialogs for tests: answers are queued in advance, and every box and window shown is recorded,
// so that no test ever blocks on a modal window.
#pragma once

#include "platform/Dialogs.h"

#include <QDialog>
#include <QString>
#include <deque>
#include <functional>
#include <optional>
#include <vector>

namespace corvane::test {

struct Shown {
    enum Kind { MessageBox, Window, OpenFile, SaveFile, OpenFiles } kind;
    QString text;       // message text; for a window, the texts of its labels joined by "\n"
    QString title;      // box, window or file dialog title
    int style = 0;      // message-box style number; 0 for the others
    QString objectName; // the window's object name; empty for the others
};

class ScriptedDialogs final : public Dialogs {
public:
    // What a shown window does while it is "open"; without one it is hidden again, as if closed.
    using WindowAction = std::function<void(QDialog&)>;

    // Answers, files and window actions queued but never asked for fail the test.
    ~ScriptedDialogs() override;

    void QueueAnswer(int answer) { m_answers.push_back(answer); }
    void QueueFile(std::optional<QString> path) { m_files.push_back(std::move(path)); }
    void QueueFiles(QStringList paths) { m_fileLists.push_back(std::move(paths)); }
    void QueueWindowAction(WindowAction action) { m_windowActions.push_back(std::move(action)); }
    // Runs for every message box as it is shown (for example to press a button meanwhile).
    void OnMessageBox(std::function<void(const Shown&)> hook) { m_boxHook = std::move(hook); }

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

private:
    std::optional<QString> FileDialog(Shown::Kind kind, const QString& title);

    std::vector<Shown> m_shown;
    std::deque<int> m_answers;
    std::deque<std::optional<QString>> m_files;
    std::deque<QStringList> m_fileLists;
    std::deque<WindowAction> m_windowActions;
    std::function<void(const Shown&)> m_boxHook;
};

} // namespace corvane::test
