// The main window's looks at the file system: does a folder or a file exist, and which local files
// does the user pick.
#include "app/ListHelpers.h"
#include "app/frmMain.h"
#include "persist/TextFile.h"
#include "platform/Dialogs.h"

#include <QDir>

namespace corvane {
namespace {

const QString kPickFilter = QStringLiteral("All Files (*.*)|*.*|Text Files (*.txt)|*.txt|"
                                           "INI Files (*.ini)|*.ini|"
                                           "Images (*.bmp;*.jpg;*.gif)|*.bmp;*.jpg;*.gif");

// The folder part of a path: without its last separator, except at a root (C:\ or /).
QString FolderOf(const QString& path) {
    QString folder = path.left(path.size() - FileNameOf(path).size());
    if (folder.size() > 1 && !folder.endsWith(QStringLiteral(":\\"))) {
        folder.chop(1);
    }
    return folder;
}

} // namespace

bool frmMain::DirExists(const QString& directory) {
    if (directory.isEmpty()) {
        return false;
    }
    const SearchResult found = m_services.files.Search(PathBytes(directory), true);
    if (!found.result.ok()) {
        HandleFileError(found.result.error);
        return false;
    }
    return !found.name.empty();
}

bool frmMain::FileExists(const QString& path, FileResult* failure) {
    const SearchResult found = m_services.files.Search(PathBytes(path), false);
    if (failure != nullptr) {
        *failure = found.result;
    }
    return found.result.ok() && !found.name.empty();
}

QString frmMain::GetFiles(const QString& sTitle) {
    const QStringList picked = m_services.dialogs.GetOpenFileNames(sTitle, kPickFilter);
    if (picked.size() <= 1) {
        return picked.value(0);
    }
    // Several files, all in one folder: the folder, then each name, NUL between them.
    QStringList parts{FolderOf(picked.front())};
    for (const QString& path : picked) {
        parts << FileNameOf(path);
    }
    return parts.join(QChar(0));
}

} // namespace corvane
