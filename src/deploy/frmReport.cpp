// The report window: created once, hidden by Close, and filled from report.top whenever shown.
#include "deploy/frmReport.h"

#include "app/Controls.h"
#include "deploy/ReportLines.h"
#include "deploy/ReportView.h"
#include "persist/TextFile.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace corvane {

frmReport::frmReport(QWidget& owner, FileSystem& files, QString reportPath)
    : QDialog(&owner), m_files(files), m_reportPath(std::move(reportPath)) {
    setObjectName(QStringLiteral("frmReport"));
    setWindowTitle(QStringLiteral("Corvane - Report"));
    resize(640, 480);

    rtbReport = new ReportView(this);
    rtbReport->setObjectName(QStringLiteral("rtbReport"));
    rtbReport->setAccessibleName(QStringLiteral("Report"));
    cmdClose = MakeButton(this, "cmdClose", QStringLiteral("Close"), QString(), QRect());
    cmdClose->setAccessibleName(QStringLiteral("Close"));
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::hide);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdClose);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(rtbReport);
    layout->addLayout(buttons);
}

void frmReport::Reload() {
    ReportLines& lines = rtbReport->lines();
    // The old report goes first, so two big reports are never held at once.
    lines.Clear();
    std::string bytes;
    const FileResult read = m_files.ReadTextFile(PathBytes(m_reportPath), bytes, kNoSizeLimit);
    if (!read.ok()) {
        bytes = ToNative(QStringLiteral("Corvane could not read the report file %1: %2")
                             .arg(m_reportPath, ReasonText(read)));
    }
    lines.Load(std::move(bytes));
    rtbReport->scrollToTop();
}

QStringList frmReport::Lines() const {
    QStringList shown;
    const ReportLines& lines = rtbReport->lines();
    for (int row = 0; row < lines.rowCount(); ++row) {
        shown << lines.data(lines.index(row), Qt::DisplayRole).toString();
    }
    return shown;
}

void frmReport::showEvent(QShowEvent* event) {
    Reload();
    QDialog::showEvent(event);
}

} // namespace corvane
