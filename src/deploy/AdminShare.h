// The way from a deploy path on a server's own disk to the workstation's view of it: drive C: of
// SRV01 is the administrative share \\SRV01\C$.
#pragma once

#include <QString>

namespace corvane {

// "C$" to "G$" for a path starting "C:" to "G:" (either case); empty for anything else.
QString AdminShareName(const QString& deployPath);

// True for a text holding a character that no Windows path holds: * ? " < > | or a control
// character.
bool HoldsUnusableCharacter(const QString& text);

// True for the deploy paths that lead to a folder of an administrative share: a drive C: to G:
// (either case), alone or followed by a backslash and the folder, as in C:\Apps; with no ".."
// part and no character that HoldsUnusableCharacter refuses.
bool IsSupportedDeployPath(const QString& deployPath);

// What the user is told when the deploy path box is empty.
inline const QString kNoDeployPath =
    QStringLiteral("There is no Deploy Path Specified.\r\nType a path in the field and try again.");

// What the user is told about any other deploy path.
inline const QString kUnsupportedDeployPath =
    QStringLiteral("The deploy path must be a folder on one of the drives C: to G: of the "
                   "servers, as in C:\\Apps.\r\nType a path in the field and try again.");

// "\\" + server + "\" + share name: the share root of the server for this deploy path.
QString AdminShareRoot(const QString& server, const QString& deployPath);

// The share root followed by the deploy path from its third character on: C:\Apps on SRV01 is
// \\SRV01\C$\Apps. No other checking: a drive outside C: to G: or a UNC path gives a path that
// names no share, and the caller meets the failure there. The deploy path has at least two
// characters.
QString ToAdminSharePath(const QString& server, const QString& deployPath);

} // namespace corvane
