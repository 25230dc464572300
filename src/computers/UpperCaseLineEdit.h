// A text box that turns typed characters into upper case as they are typed; pasted text is kept.
#pragma once

#include <QLineEdit>

namespace corvane {

class UpperCaseLineEdit final : public QLineEdit {
public:
    using QLineEdit::QLineEdit;

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

} // namespace corvane
