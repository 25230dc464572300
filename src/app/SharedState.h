// The values every operation shares: the program's folder and what the running sweep is doing.
#pragma once

#include <QString>

namespace corvane {

struct SharedState {
    QString AppDir;                 // the program's folder, ending in one separator
    QString CurrentServer;          // the server the running sweep is working on
    bool ServerUnreachable = false; // the last file operation found its server unreachable
    bool UptimeCancelled = false;   // a cancel of the running uptime sweep was asked for
};

} // namespace corvane
