// Draws every window of the program on a small lab network and saves each as a PNG file in the
// folder given on the command line.
#include "Harness.h"
#include "LabNetwork.h"

#include "app/Look.h"
#include "app/frmAbout.h"
#include "app/frmTextViewer.h"
#include "computers/frmAddComputer.h"
#include "deploy/frmReport.h"
#include "uptime/frmUptimeReport.h"

#include <QApplication>
#include <QTest>
#include <cstdio>
#include <ctime>
#include <fstream>

using namespace corvane;

namespace {

QString g_folder;
int g_failures = 0;

void Save(QWidget& window, const char* name) {
    const QString path = g_folder + QLatin1Char('/') + QLatin1String(name);
    if (!window.grab().toImage().save(path)) {
        std::fprintf(stderr, "could not write %s\n", qPrintable(path));
        ++g_failures;
    }
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ApplyProgramLook(app);
    g_folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");

    test::MainHarness h;
    test::LabNetwork lab(h.dir.path().toStdString());
    lab.AddServer("SRV01", {.boot = std::time(nullptr) - (2 * 86400 + 3 * 3600 + 4 * 60)});
    lab.AddServer("SRV02");
    lab.AddServer("DOWN", {.offline = true});
    lab.WriteFile("SRV01/C$/Apps/setup.exe", "x");
    std::ifstream manual(CORVANE_ASSETS_DIR "/manual.txt", std::ios::binary);
    h.dir.Write("manual.txt", std::string(std::istreambuf_iterator<char>(manual), {}));
    frmMain& w = h.Start();
    w.move(100, 80);
    w.lstComputers->addItems({QStringLiteral("SRV01"), QStringLiteral("SRV02")});
    w.show();
    Save(w, "frmMain.png");

    h.dialogs.QueueWindowAction([](QDialog& d) {
        auto& add = static_cast<frmAddComputer&>(d);
        QTest::keyClicks(add.txtComputer, QStringLiteral("srv03"));
        Save(add, "frmAddComputer.png");
    });
    w.cmdAdd->click();

    w.lstDeployables->addItems(
        {QStringLiteral("C:\\Build\\setup.exe"), QStringLiteral("C:\\Build\\app.ini")});
    w.lstDeployables2->addItems({QStringLiteral("setup.exe"), QStringLiteral("app.ini")});
    w.cboDeployPath->setEditText(QStringLiteral("C:\\Apps"));
    h.dialogs.QueueWindowAction([](QDialog& d) { Save(d, "frmReport.png"); });
    w.cmdConfirmAll->click();

    h.dialogs.QueueWindowAction([](QDialog& d) { Save(d, "frmTextViewer.png"); });
    w.cmdManual->click();
    h.dialogs.QueueWindowAction([](QDialog& d) { Save(d, "frmAbout.png"); });
    w.cmdAbout->click();

    w.cboRun->setEditText(QStringLiteral("c:\\jobs\\nightly.cmd"));
    w.lstComputers->setCurrentRow(0);
    h.dialogs.QueueAnswer(MsgAnswer::Yes);
    w.cmdRunSingle->click();
    w.lstComputers_Click();
    Save(w, "frmMain-jobs.png");

    w.lstComputers->addItem(QStringLiteral("DOWN"));
    w.cmdUpAll->click();
    Save(*w.ExistingUptimeReport(), "frmUptimeReport.png");
    return g_failures == 0 ? 0 : 1;
}
