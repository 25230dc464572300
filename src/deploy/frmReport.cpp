// The report window: created once, hidden by Close, and filled from report.top whenever shown.
#include "deploy/frmReport.h"

#include "app/Controls.h"
#include "persist/TextFile.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace corvane {

frmReport::frmReport(QWidget& owner, FileSystem& files, QString reportPath)
    : QDialog(&owner), m_files(files), m_reportPath(std::move(reportPath)) {
    setObjectName(QStringLiteral("frmReport"));
    setWindowTitle(QStringLiteral("Corvane - Report"));
    resize(640, 480);

    rtbReport = new QPlainTextEdit(this);
    rtbReport->setObjectName(QStringLiteral("rtbReport"));
    rtbReport->setAccessibleName(QStringLiteral("Report"));
    rtbReport->setReadOnly(true);
    // Long UNC paths stay on one line each, so every result reads as one row.
    rtbReport->setLineWrapMode(QPlainTextEdit::NoWrap);
    rtbReport->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
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
    QString text;
    ReadText(m_files, m_reportPath, text);
    rtbReport->setPlainText(text);
}

void frmReport::showEvent(QShowEvent* event) {
    Reload();
    QDialog::showEvent(event);
}

} // namespace corvane
