// The text viewer that shows the manual, one item of manual.txt per line.
#pragma once

#include <QDialog>

class QListWidget;
class QPushButton;

namespace corvane {

class FileSystem;

class frmTextViewer final : public QDialog {
public:
    // Covers the owner exactly, as it stands when the viewer is created, and keeps that place.
    explicit frmTextViewer(QWidget& owner);

    // Replaces the shown text with the items of the file (at most 1001); a missing or unreadable
    // file shows an empty list.
    void LoadItems(FileSystem& files, const QString& path);

    QListWidget* lstBody;
    QPushButton* cmdClose;
};

} // namespace corvane
