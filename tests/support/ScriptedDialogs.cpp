// Scripted answers and the record of every box and window the program showed.
#include "ScriptedDialogs.h"

#include <QLabel>
#include <gtest/gtest.h>

namespace corvane::test {

ScriptedDialogs::~ScriptedDialogs() {
    if (!m_answers.empty() || !m_files.empty() || !m_fileLists.empty() ||
        !m_windowActions.empty()) {
        ADD_FAILURE() << "never asked for: " << m_answers.size() << " answer(s), " << m_files.size()
                      << " file(s), " << m_fileLists.size() << " file list(s), "
                      << m_windowActions.size() << " window action(s)";
    }
}

std::vector<Shown> ScriptedDialogs::MessageBoxes() const {
    std::vector<Shown> boxes;
    for (const Shown& s : m_shown) {
        if (s.kind == Shown::MessageBox) {
            boxes.push_back(s);
        }
    }
    return boxes;
}

int ScriptedDialogs::MsgBox(const QString& text, int style, const QString& title) {
    m_shown.push_back({Shown::MessageBox, text, title, style, {}});
    if (m_boxHook) {
        m_boxHook(m_shown.back());
    }
    // Only questions take a queued answer; an OK box just records itself.
    if ((style & 0x0F) != MsgStyle::YesNo) {
        return MsgAnswer::Ok;
    }
    if (m_answers.empty()) {
        ADD_FAILURE() << "unexpected question: " << text.toStdString();
        return MsgAnswer::No;
    }
    const int answer = m_answers.front();
    m_answers.pop_front();
    return answer;
}

QStringList ScriptedDialogs::MessageTexts() const {
    QStringList texts;
    for (const Shown& box : MessageBoxes()) {
        texts << box.text;
    }
    return texts;
}

std::optional<QString> ScriptedDialogs::FileDialog(Shown::Kind kind, const QString& title,
                                                   const QString& filter) {
    m_shown.push_back({kind, {}, title, 0, {}});
    m_filters << filter;
    if (m_files.empty()) {
        ADD_FAILURE() << "unexpected file dialog " << title.toStdString();
        return std::nullopt;
    }
    // Copied out before the pop: GCC's optimiser mistakes a moved-out optional for uninitialised.
    QString path;
    const bool chosen = m_files.front().has_value();
    if (chosen) {
        path = *m_files.front();
    }
    m_files.pop_front();
    return chosen ? std::optional<QString>(path) : std::nullopt;
}

std::optional<QString> ScriptedDialogs::GetOpenFileName(const QString& title,
                                                        const QString& filter) {
    return FileDialog(Shown::OpenFile, title, filter);
}

std::optional<QString> ScriptedDialogs::GetSaveFileName(const QString& title,
                                                        const QString& filter) {
    return FileDialog(Shown::SaveFile, title, filter);
}

QStringList ScriptedDialogs::GetOpenFileNames(const QString& title, const QString& filter) {
    m_shown.push_back({Shown::OpenFiles, {}, title, 0, {}});
    m_filters << filter;
    if (m_fileLists.empty()) {
        ADD_FAILURE() << "unexpected multi-select dialog";
        return {};
    }
    QStringList answer = m_fileLists.front();
    m_fileLists.pop_front();
    return answer;
}

void ScriptedDialogs::ShowModal(QDialog& window) {
    QStringList labels;
    for (const QLabel* label : window.findChildren<QLabel*>()) {
        if (!label->text().isEmpty()) {
            labels << label->text();
        }
    }
    m_shown.push_back({Shown::Window, labels.join(QLatin1Char('\n')), window.windowTitle(), 0,
                       window.objectName()});
    // Shown (not exec'd) so that geometry and contents are real while the action runs.
    window.show();
    if (!m_windowActions.empty()) {
        WindowAction action = std::move(m_windowActions.front());
        m_windowActions.pop_front();
        action(window);
    }
    window.hide();
}

} // namespace corvane::test
