// Everything that waits for a person: message boxes, file dialogs and the program's modal windows.
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

class QDialog;
class QWidget;

namespace corvane {

// Message-box style numbers: a button set plus an icon plus the default-button flag.
namespace MsgStyle {
constexpr int OkOnly = 0;
constexpr int YesNo = 4;
constexpr int Critical = 16;
constexpr int Question = 32;
constexpr int Exclamation = 48;
constexpr int Information = 64;
constexpr int DefaultButton2 = 256;
} // namespace MsgStyle

// Answers of a message box.
namespace MsgAnswer {
constexpr int Ok = 1;
constexpr int Yes = 6;
constexpr int No = 7;
} // namespace MsgAnswer

inline const QString kProgramTitle = QStringLiteral("Corvane");

class Dialogs {
public:
    virtual ~Dialogs() = default;

    // A modal message box owned by the active window; returns the answer (Ok, Yes or No). Lines of
    // the text are joined with CR LF.
    virtual int MsgBox(const QString& text, int style = MsgStyle::OkOnly,
                       const QString& title = kProgramTitle) = 0;

    // The open and save dialogs of the list import and export. The filter is given as
    // "Description|pattern|Description|pattern". Empty when the user cancels.
    virtual std::optional<QString> GetOpenFileName(const QString& title, const QString& filter) = 0;
    virtual std::optional<QString> GetSaveFileName(const QString& title, const QString& filter) = 0;
    // The multi-select open dialog; the paths picked, empty when the user cancels.
    virtual QStringList GetOpenFileNames(const QString& title, const QString& filter) = 0;

    // Shows one of the program's own windows modal, owned by the main window, and returns once it
    // has been hidden or closed.
    virtual void ShowModal(QDialog& window) = 0;
};

} // namespace corvane
