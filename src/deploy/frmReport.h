// The report window of the confirm runs: report.top line by line, and a Close button.
#pragma once

#include <QDialog>
#include <QStringList>

class QPushButton;

namespace corvane {

class FileSystem;
class ReportView;

class frmReport final : public QDialog {
public:
    // Shows the file at reportPath (read through files, which must outlive the window); the file
    // is read afresh each time the window is shown.
    frmReport(QWidget& owner, FileSystem& files, QString reportPath);

    // Replaces the shown lines with the file's; a file that cannot be read shows why instead.
    void Reload();
    // The lines shown, without their line breaks.
    QStringList Lines() const;

    ReportView* rtbReport;
    QPushButton* cmdClose;

protected:
    void showEvent(QShowEvent* event) override;

private:
    FileSystem& m_files;
    QString m_reportPath;
};

} // namespace corvane
