// The main window as a person and a screen reader meet it: controls, names, arrangement.
#include "Harness.h"

#include "app/ListHelpers.h"
#include "app/Twips.h"
#include "persist/History.h"

#include <QAccessible>
#include <QComboBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <gtest/gtest.h>

namespace corvane::test {
namespace {

// The name a screen reader reads. Editable combo boxes are read by their text on Linux whatever
// their name says (their label comes through the labelled-by relation): their name is checked.
QString AccessibleName(QWidget* widget) {
    if (auto* box = qobject_cast<QComboBox*>(widget); box && box->isEditable()) {
        return box->accessibleName();
    }
    return QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name);
}

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override { h.Start(); }
    frmMain& w() { return *h.window; }
    MainHarness h;
};

TEST_F(MainWindowTest, EveryControlStandsInItsFrameWithItsAccessibleName) {
    EXPECT_EQ(w().windowTitle(), QStringLiteral("Corvane - Ver 1.7"));
    EXPECT_EQ(w().size(), QSize(Twips(11895), Twips(8295)));
    const struct {
        const char* name;
        const char* parent;
        const char* accessibleName;   // for frames, labels and buttons their caption
        int left, top, width, height; // twips
    } controls[] = {
        {"fraComputerList", "frmMain", "COMPUTER LIST", 240, 240, 2535, 7815},
        {"lstComputers", "fraComputerList", "Computer list", 120, 300, 2295, 5160},
        {"cmdAdd", "fraComputerList", "Add", 120, 5580, 1110, 375},
        {"cmdRemove", "fraComputerList", "Remove", 1305, 5580, 1110, 375},
        {"cmdClear", "fraComputerList", "Clear List", 120, 6015, 1110, 375},
        {"cmdValidate", "fraComputerList", "Validate List", 1305, 6015, 1110, 375},
        {"cmdImport", "fraComputerList", "Import List", 120, 6450, 1110, 375},
        {"cmdExport", "fraComputerList", "Export List", 1305, 6450, 1110, 375},
        {"cmdUpSel", "fraComputerList", "Get Uptime for selected", 120, 6885, 2295, 375},
        {"cmdUpAll", "fraComputerList", "Get Uptime for all", 120, 7320, 2295, 375},
        {"fraScheduledJobs", "frmMain", "SCHEDULED JOBS", 3000, 240, 5415, 3255},
        {"rtbScheduledJobs", "fraScheduledJobs", "Current scheduled jobs on the selected computer.",
         120, 300, 5175, 2835},
        {"fraDeploy", "frmMain", "DEPLOY EXECUTABLES", 3000, 3720, 5415, 4335},
        {"lblFilesToDeploy", "fraDeploy", "Files to Deploy:", 120, 270, 3600, 255},
        {"lstDeployables2", "fraDeploy", "Files to Deploy:", 120, 540, 3600, 1860},
        {"lstDeployables", "fraDeploy", "List of files to be deployed.", 120, 540, 3600, 1860},
        {"cmdAddDeployables", "fraDeploy", "Add File(s)", 3840, 540, 1455, 375},
        {"cmdRemoveDeployables", "fraDeploy", "Remove File(s)", 3840, 990, 1455, 375},
        {"cmdClearDeploy", "fraDeploy", "Clear List", 3840, 1440, 1455, 375},
        {"lblDeployPath", "fraDeploy", "Path to deploy to on server(s):", 120, 2490, 5175, 255},
        {"cboDeployPath", "fraDeploy", "Path to deploy to on server(s):", 120, 2760, 5175, 330},
        {"cmdDeploySelected", "fraDeploy", "Deploy to Selected Servers", 120, 3240, 2535, 375},
        {"cmdDeployAll", "fraDeploy", "Deploy to All Servers", 2760, 3240, 2535, 375},
        {"cmdConfirmSel", "fraDeploy", "Confirm Existance on Selected", 120, 3705, 2535, 375},
        {"cmdConfirmAll", "fraDeploy", "Confirm Existance on All", 2760, 3705, 2535, 375},
        {"fraSchedule", "frmMain", "ADD SCHEDULED JOB", 8640, 240, 3015, 3975},
        {"lblTime", "fraSchedule", "Time =", 120, 345, 630, 255},
        {"txtHour", "fraSchedule", "Hour", 780, 300, 420, 330},
        {"lblColon", "fraSchedule", ":", 1230, 345, 90, 255},
        {"txtMinutes", "fraSchedule", "Minute", 1335, 300, 420, 330},
        {"cboAMPM", "fraSchedule", "Select AM or PM", 1815, 300, 1080, 330},
        {"fraThisOccurs", "fraSchedule", "This Occurs:", 120, 735, 1155, 1365},
        {"optToday", "fraThisOccurs", "Today", 105, 300, 990, 285},
        {"optEvery", "fraThisOccurs", "Every", 105, 660, 990, 285},
        {"optNext", "fraThisOccurs", "Next", 105, 1020, 990, 285},
        {"fraDays", "fraSchedule", "Days:", 1365, 735, 1530, 1365},
        {"lstDays", "fraDays", "Days:", 90, 270, 1350, 1020},
        {"lblCommand", "fraSchedule", "Command or app to run:", 120, 2175, 2775, 255},
        {"cboRun", "fraSchedule", "Command or app to run:", 120, 2445, 2775, 330},
        {"cmdRunSingle", "fraSchedule", "Schedule Selected", 120, 2910, 2775, 375},
        {"cmdRunSchedule", "fraSchedule", "Schedule All", 120, 3390, 2775, 375},
        {"fraRemove", "frmMain", "REMOVE SCHEDULED JOB", 8640, 4440, 3015, 1575},
        {"lblJobID", "fraRemove", "Job ID =", 120, 345, 780, 255},
        {"txtJobID", "fraRemove", "Job ID =", 930, 300, 735, 330},
        {"cmdRemoveSchedule", "fraRemove", "Remove Selected Computer's Scheduled Job", 120, 780,
         2775, 630},
        {"fraStatus", "frmMain", "Status", 8760, 6240, 2775, 615},
        {"lblStatus", "fraStatus", "Waiting for Command", 90, 255, 2595, 285},
        {"cmdManual", "frmMain", "Manual", 8880, 7680, 735, 375},
        {"cmdAbout", "frmMain", "About", 9840, 7680, 735, 375},
        {"cmdExit", "frmMain", "Exit", 10800, 7680, 735, 375},
    };
    for (const auto& c : controls) {
        SCOPED_TRACE(c.name);
        auto* control = w().findChild<QWidget*>(QString::fromLatin1(c.name));
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(control->parentWidget()->objectName().toStdString(), c.parent);
        EXPECT_EQ(control->geometry(), TwipsRect(c.left, c.top, c.width, c.height));
        EXPECT_EQ(AccessibleName(control).toStdString(), c.accessibleName);
        EXPECT_TRUE(control->isEnabled());
    }
    EXPECT_EQ(AccessibleName(w().findChild<QLabel*>(QStringLiteral("imgLogo"))),
              QStringLiteral("Corvane"));
}

TEST_F(MainWindowTest, LabelsAreTheBuddiesAndAccessibleLabelsOfTheirBoxes) {
    const std::pair<QLabel*, QWidget*> pairs[] = {{w().lblDeployPath, w().cboDeployPath},
                                                  {w().lblTime, w().txtHour},
                                                  {w().lblCommand, w().cboRun},
                                                  {w().lblJobID, w().txtJobID}};
    for (const auto& [label, box] : pairs) {
        SCOPED_TRACE(box->objectName().toStdString());
        EXPECT_EQ(label->buddy(), box);
        // Qt reports the pair as (the label, Label): the label is the label of this box.
        QStringList labels;
        for (const auto& relation :
             QAccessible::queryAccessibleInterface(box)->relations(QAccessible::Label)) {
            labels << relation.first->text(QAccessible::Name);
        }
        EXPECT_TRUE(labels.contains(label->text())) << labels.join(u'|').toStdString();
    }
}

TEST_F(MainWindowTest, ListsAndBoxesStartAsTheSchedulerExpects) {
    for (QListWidget* list :
         {w().lstComputers, w().lstDeployables, w().lstDeployables2, w().lstDays}) {
        EXPECT_EQ(list->selectionMode(), QAbstractItemView::ExtendedSelection)
            << list->objectName().toStdString();
    }
    EXPECT_TRUE(w().lstDeployables->isHidden());
    QStringList days{"Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday", "Sunday"};
    for (int day = 1; day <= 31; ++day) {
        days << QString::number(day);
    }
    EXPECT_EQ(Entries(*w().lstDays), days);
    EXPECT_EQ(ComboEntries(*w().cboAMPM), (QStringList{"AM", "PM"}));
    EXPECT_EQ(w().cboAMPM->currentText(), QStringLiteral("PM"));
    EXPECT_EQ(w().txtHour->text() + ':' + w().txtMinutes->text() + ' ' + w().txtJobID->text(),
              QStringLiteral("5:00 1"));
}

TEST_F(MainWindowTest, StatusLineShowsEachColourOnBlackAndBusyShowsTheWaitCursor) {
    const std::pair<StatusColour, QColor> colours[] = {
        {StatusColour::Idle, QColor(255, 255, 0)},
        {StatusColour::Waiting, QColor(255, 128, 0)},
        {StatusColour::Busy, QColor(255, 0, 0)},
        {StatusColour::Done, QColor(0, 255, 0)},
    };
    EXPECT_TRUE(w().lblStatus->font().bold());
    for (const auto& [colour, rgb] : colours) {
        w().SetStatus(colour, QStringLiteral("Checking"));
        EXPECT_EQ(w().lblStatus->palette().color(QPalette::WindowText), rgb);
        EXPECT_EQ(w().lblStatus->palette().color(QPalette::Window), QColor(Qt::black));
        EXPECT_EQ(w().CurrentStatusColour(), colour);
    }

    w().SetBusy(true);
    EXPECT_TRUE(w().IsBusy());
    EXPECT_EQ(w().cursor().shape(), Qt::WaitCursor);
    w().SetBusy(false);
    EXPECT_FALSE(w().IsBusy());
    EXPECT_EQ(w().cursor().shape(), Qt::ArrowCursor);
}

TEST_F(MainWindowTest, ScreenshotShowsEveryFrame) {
    w().lstComputers->addItems({QStringLiteral("SRV01"), QStringLiteral("SRV02")});
    w().show();
    const QImage picture = w().grab().toImage();
    const QString path = QCoreApplication::applicationDirPath() + QStringLiteral("/frmMain.png");
    ASSERT_TRUE(picture.save(path)) << path.toStdString();
    EXPECT_EQ(picture.size() / picture.devicePixelRatio(), w().size());
}

} // namespace
} // namespace corvane::test
