// The program's folder as every file path starts from it.
#pragma once

#include <QString>

namespace corvane {

// The folder with exactly one separator at its end: a folder that already ends in one (a drive
// root such as C:\ or the root /) is kept as it is.
QString AppDirFromFolder(const QString& folder, QChar separator);

// The folder of the running executable, in the platform's spelling, ending in one separator.
QString AppDirOfExecutable();

} // namespace corvane
