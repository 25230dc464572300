// The program's look: one style and font everywhere, so the window's arrangement holds on any
// desktop.
#pragma once

class QApplication;

namespace corvane {

void ApplyProgramLook(QApplication& app);

} // namespace corvane
