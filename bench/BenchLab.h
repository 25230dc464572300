// What the benchmarks that start tools share: a bulk lab network beside a temporary AppDir.
#pragma once

#include <QDir>
#include <QProcess>
#include <QStringList>
#include <string>
#include <unistd.h>

namespace corvane::bench {

// The lab network of the program in `appDir`, where the program and its tools look for it.
inline std::string LabNetwork(const std::string& appDir) {
    return appDir + "network/";
}

// Puts at.exe and uptime.exe beside the program in `appDir` and makes a lab network in its network/
// folder with `corvane-lab bulk ARGUMENTS`; returns the servers' names in order. Stops the
// benchmark when either fails.
inline QStringList MakeBulkLab(const std::string& appDir, QStringList arguments) {
    const QString bin = QStringLiteral(CORVANE_BIN_DIR);
    const QString network = QString::fromStdString(LabNetwork(appDir));
    arguments.prepend(QStringLiteral("bulk"));
    arguments.append(network);
    for (const char* tool : {"at.exe", "uptime.exe"}) {
        if (::symlink((bin + QLatin1Char('/') + QLatin1String(tool)).toLocal8Bit().constData(),
                      (appDir + tool).c_str()) != 0) {
            qFatal("cannot link %s/%s into the AppDir", CORVANE_BIN_DIR, tool);
        }
    }
    if (QProcess::execute(bin + QStringLiteral("/corvane-lab"), arguments) != 0) {
        qFatal("cannot create the lab network with %s/corvane-lab", CORVANE_BIN_DIR);
    }
    return QDir(network).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
}

} // namespace corvane::bench
