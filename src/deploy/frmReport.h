// The report window of the confirm runs: report.top as plain text, and a Close button.
#pragma once

#include <QDialog>

class QPlainTextEdit;
class QPushButton;

namespace corvane {

class FileSystem;

class frmReport final : public QDialog {
public:
    // Shows the file at reportPath (read through files, which must outlive the window); the file
    // is read afresh each time the window is shown.
    frmReport(QWidget& owner, FileSystem& files, QString reportPath);

    // Replaces the shown text with the file's; a missing or unreadable file shows nothing.
    void Reload();

    QPlainTextEdit* rtbReport;
    QPushButton* cmdClose;

protected:
    void showEvent(QShowEvent* event) override;

private:
    FileSystem& m_files;
    QString m_reportPath;
};

} // namespace corvane
