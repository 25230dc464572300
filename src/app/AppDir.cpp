// Computing AppDir from the executable's folder.
#include "app/AppDir.h"

#include <QCoreApplication>
#include <QDir>

namespace corvane {

QString AppDirFromFolder(const QString& folder, QChar separator) {
    return folder.endsWith(separator) ? folder : folder + separator;
}

QString AppDirOfExecutable() {
    const QString folder = QDir::toNativeSeparators(QCoreApplication::applicationDirPath());
    return AppDirFromFolder(folder, QDir::separator());
}

} // namespace corvane
