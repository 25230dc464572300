// The names of the files Corvane keeps in its folder (AppDir), in one place.
#pragma once

#include <QString>

namespace corvane {

// The lists, the boxes' texts and their histories, read at start-up and written at exit.
inline const QString kComputerListFile = QStringLiteral("computerlist.txt");
inline const QString kDeployListFile = QStringLiteral("filelist.txt");
inline const QString kDeployPathFile = QStringLiteral("srvpath.top");
inline const QString kCommandFile = QStringLiteral("schedapp.top");
inline const QString kDeployPathHistoryFile = QStringLiteral("sp.top");
inline const QString kCommandHistoryFile = QStringLiteral("sa.top");

// Written by the runs.
inline const QString kReportFile = QStringLiteral("report.top");
inline const QString kUnavailableFile = QStringLiteral("unavailable.top");
inline const QString kAccessDeniedFile = QStringLiteral("accessdenied.top");
// What the job listing and the validation capture of the AT tool's answer.
inline const QString kScheduleCapture = QStringLiteral("schedule.top");
// What the uptime sweep captures of uptime.exe's answer.
inline const QString kUptimeCapture = QStringLiteral("resgen.top");

// Shipped beside the program.
inline const QString kManualFile = QStringLiteral("manual.txt");

} // namespace corvane
