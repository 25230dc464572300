// What a feature may ask of the main window: the busy cursor, the status line, message boxes, the
// file-error notice, the command runner, the servers of a run and the platform services. Every
// feature reaches the rest of the program through this and through the widgets it is handed.
#pragma once

#include "app/Services.h"
#include "app/StatusLine.h"
#include "persist/TextFile.h"
#include "runner/RunAndWait.h"

#include <QString>
#include <QStringList>

class QWidget;

namespace corvane {

class Host {
public:
    virtual ~Host() = default;

    // The main window: the parent of every window a feature opens, repainted before a long run.
    virtual QWidget& Window() = 0;
    // The program's folder, ending in one separator.
    virtual const QString& AppDir() const = 0;
    virtual Services& Platform() = 0;

    // Colour first, then text.
    virtual void SetStatus(StatusColour colour, const QString& text) = 0;
    // Paints the status line now, without waiting for the event loop.
    virtual void RepaintStatus() = 0;
    void SetIdleStatus() { SetStatus(StatusColour::Idle, kIdleStatus); }

    // The one busy test every guarded handler makes first, and the cursor that it reads.
    virtual bool IsBusy() const = 0;
    virtual void SetBusy(bool busy) = 0;

    // The message box of the program's conventions, through Dialogs.
    virtual int MsgBox(const QString& text, int style = 0) = 0;

    // Reports a failed file operation on `server`: 52 shows the unreachable-server notice naming it
    // and gives true (the server is unreachable), 76 says the path was not found, others pass.
    virtual bool HandleFileError(int error, const QString& server) = 0;

    // RunAndWait in AppDir with the program's Processes; not started when there are none, nor
    // when AppDir cannot be put into a command line.
    virtual RunResult RunAndWait(const QString& command, const QString& captureFile = {},
                                 const OnCommandStarted& onStarted = {}) = 0;
    // Called before an action starts its commands: when AppDir cannot be put into a command line,
    // says so in one message and returns true, and the action starts nothing.
    virtual bool AppDirRefused() = 0;

    // The servers a run works on: the entries of the computer list up to the first empty one
    // (1001 at most), all of them or only the selected ones, in list order.
    virtual QStringList TargetServers(bool selectedOnly) const = 0;
    // The computer list's current entry; empty when there is none.
    virtual QString CurrentServer() const = 0;
    // Whether the computer list's first entry holds a name: a run reports only then.
    virtual bool HasServers() const = 0;

    // Saves a state list (the computer or the deploy list) in AppDir in the encoding it was read
    // in. A list that could not be read at start-up is left as it is and counts as saved.
    virtual FileResult SaveStateList(const QString& name, const QStringList& entries) = 0;
};

} // namespace corvane
