// Scripted answers and the record of every box and window the program showed.
#include "ScriptedDialogs.h"

#include <QLabel>
#include <gtest/gtest.h>

namespace corvane::test {
namespace {

template <class T> std::optional<T> Take(std::deque<T>& queue) {
    if (queue.empty()) {
        return std::nullopt;
    }
    T front = queue.front();
    queue.pop_front();
    return front;
}

} // namespace

ScriptedDialogs::~ScriptedDialogs() {
    EXPECT_TRUE(m_answers.empty() && m_files.empty() && m_fileLists.empty() &&
                m_windowActions.empty())
        << "never asked for: " << m_answers.size() << " answer(s), " << m_files.size()
        << " file(s), " << m_fileLists.size() << " file list(s), " << m_windowActions.size()
        << " window action(s)";
}

std::vector<Shown> ScriptedDialogs::MessageBoxes() const {
    std::vector<Shown> boxes;
    std::ranges::copy_if(m_shown, std::back_inserter(boxes),
                         [](const Shown& s) { return s.kind == Shown::MessageBox; });
    return boxes;
}

QStringList ScriptedDialogs::MessageTexts() const {
    QStringList texts;
    for (const Shown& box : MessageBoxes()) {
        texts << box.text;
    }
    return texts;
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
    const std::optional<int> answer = Take(m_answers);
    EXPECT_TRUE(answer) << "unexpected question: " << text.toStdString();
    return answer.value_or(MsgAnswer::No);
}

std::optional<QString> ScriptedDialogs::FileDialog(Shown::Kind kind, const QString& title) {
    m_shown.push_back({kind, {}, title, 0, {}});
    EXPECT_FALSE(m_files.empty()) << "unexpected file dialog " << title.toStdString();
    // Copied out before the pop: GCC's optimiser mistakes a moved-out optional for uninitialised.
    const bool chosen = !m_files.empty() && m_files.front().has_value();
    const QString path = chosen ? *m_files.front() : QString();
    if (!m_files.empty()) {
        m_files.pop_front();
    }
    return chosen ? std::optional<QString>(path) : std::nullopt;
}

QStringList ScriptedDialogs::GetOpenFileNames(const QString& title, const QString&) {
    m_shown.push_back({Shown::OpenFiles, {}, title, 0, {}});
    const std::optional<QStringList> answer = Take(m_fileLists);
    EXPECT_TRUE(answer) << "unexpected multi-select dialog";
    return answer.value_or(QStringList());
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
    if (const std::optional<WindowAction> action = Take(m_windowActions)) {
        (*action)(window);
    }
    window.hide();
}

} // namespace corvane::test
