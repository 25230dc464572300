// The main window as a person and a screen reader meet it: controls, captions, names, arrangement.
#include "Harness.h"

#include "app/Twips.h"

#include <QAccessible>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <gtest/gtest.h>

namespace corvane::test {
namespace {

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override { h.Start(); }
    frmMain& w() { return *h.window; }
    template <typename T> T* Control(const char* name) {
        T* control = w().findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(control, nullptr) << name;
        return control;
    }
    MainHarness h;
};

struct ButtonCase {
    const char* name;
    const char* frame; // the object name of the parent, "frmMain" for the window itself
    const char* caption;
    const char* tooltip;
};

TEST_F(MainWindowTest, EveryButtonHasItsCaptionTooltipAndFrame) {
    const ButtonCase buttons[] = {
        {"cmdAdd", "fraComputerList", "Add", "Add another computer to the list."},
        {"cmdRemove", "fraComputerList", "Remove", "Remove a selected computer from the list."},
        {"cmdClear", "fraComputerList", "Clear List", "Remove ALL computers from the list."},
        {"cmdValidate", "fraComputerList", "Validate List",
         "Determines which computers on the list are offline or unreachable."},
        {"cmdImport", "fraComputerList", "Import List", "Import a text file list of servers."},
        {"cmdExport", "fraComputerList", "Export List",
         "Export the current computer list to a text file."},
        {"cmdUpSel", "fraComputerList", "Get Uptime for selected", ""},
        {"cmdUpAll", "fraComputerList", "Get Uptime for all", ""},
        {"cmdAddDeployables", "fraDeploy", "Add File(s)", "Add files to deploy list"},
        {"cmdRemoveDeployables", "fraDeploy", "Remove File(s)",
         "Remove selected file(s) from deploy list"},
        {"cmdClearDeploy", "fraDeploy", "Clear List", "Clears the file deploy list"},
        {"cmdDeploySelected", "fraDeploy", "Deploy to Selected Servers",
         "Deploy current deploy list to selected computer(s)."},
        {"cmdDeployAll", "fraDeploy", "Deploy to All Servers",
         "Deploy all files on the deploy list to ALL computers in the computer list."},
        {"cmdConfirmSel", "fraDeploy", "Confirm Existance on Selected",
         "Checks to see if the files selected for deployment are already in place on the "
         "highlighted servers on the computerlist."},
        {"cmdConfirmAll", "fraDeploy", "Confirm Existance on All",
         "Checks to see if the files selected for deployment are already in place on ALL servers "
         "on the computerlist."},
        {"cmdRunSingle", "fraSchedule", "Schedule Selected",
         "Schedule job on the selected computer on the computer list."},
        {"cmdRunSchedule", "fraSchedule", "Schedule All",
         "Schedule job on all of the computers on the computer list."},
        {"cmdRemoveSchedule", "fraRemove", "Remove Selected Computer's Scheduled Job",
         "Remove the Job ID number on the left for the selected computer."},
        {"cmdManual", "frmMain", "Manual", "Need help? Read the manual."},
        {"cmdAbout", "frmMain", "About", "About Corvane."},
        {"cmdExit", "frmMain", "Exit", "Get me out of here!"},
    };
    for (const ButtonCase& c : buttons) {
        SCOPED_TRACE(c.name);
        auto* button = Control<QPushButton>(c.name);
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->text(), QString::fromUtf8(c.caption));
        EXPECT_EQ(button->toolTip(), QString::fromUtf8(c.tooltip));
        EXPECT_EQ(button->parentWidget()->objectName(), QString::fromLatin1(c.frame));
        EXPECT_TRUE(button->isEnabled());
        EXPECT_FALSE(button->autoDefault());
        // Screen readers announce a button by its caption.
        EXPECT_EQ(QAccessible::queryAccessibleInterface(button)->text(QAccessible::Name),
                  button->text());
    }
}

struct FrameCase {
    const char* name;
    const char* caption;
    int left, top, width, height; // twips
};

TEST_F(MainWindowTest, FramesStandWhereTheLayoutPutsThem) {
    EXPECT_EQ(w().windowTitle(), QStringLiteral("Corvane - Ver 1.7"));
    EXPECT_EQ(w().size(), QSize(Twips(11895), Twips(8295)));
    const FrameCase frames[] = {
        {"fraComputerList", "COMPUTER LIST", 240, 240, 2535, 7815},
        {"fraScheduledJobs", "SCHEDULED JOBS", 3000, 240, 5415, 3255},
        {"fraDeploy", "DEPLOY EXECUTABLES", 3000, 3720, 5415, 4335},
        {"fraSchedule", "ADD SCHEDULED JOB", 8640, 240, 3015, 3975},
        {"fraRemove", "REMOVE SCHEDULED JOB", 8640, 4440, 3015, 1575},
        {"fraStatus", "Status", 8760, 6240, 2775, 615},
    };
    for (const FrameCase& c : frames) {
        SCOPED_TRACE(c.name);
        auto* frame = Control<QGroupBox>(c.name);
        ASSERT_NE(frame, nullptr);
        EXPECT_EQ(frame->title(), QString::fromLatin1(c.caption));
        EXPECT_EQ(frame->parentWidget(), &w());
        EXPECT_EQ(frame->geometry(), TwipsRect(c.left, c.top, c.width, c.height));
    }
    EXPECT_EQ(Control<QGroupBox>("fraThisOccurs")->parentWidget(), w().fraSchedule);
    EXPECT_EQ(Control<QGroupBox>("fraDays")->parentWidget(), w().fraSchedule);
    EXPECT_EQ(w().cmdManual->geometry(), TwipsRect(8880, 7680, 735, 375));
    EXPECT_EQ(w().cmdAbout->geometry(), TwipsRect(9840, 7680, 735, 375));
    EXPECT_EQ(w().cmdExit->geometry(), TwipsRect(10800, 7680, 735, 375));
}

// Every visible control lies inside its frame and overlaps none of its neighbours.
TEST_F(MainWindowTest, NoControlLeavesItsFrameOrCoversAnother) {
    for (QWidget* parent : w().findChildren<QWidget*>()) {
        QList<QWidget*> children;
        for (QObject* o : parent->children()) {
            auto* child = qobject_cast<QWidget*>(o);
            if (child != nullptr && !child->isHidden() && !child->isWindow() &&
                !child->objectName().isEmpty() &&
                !child->objectName().startsWith(QLatin1String("qt_"))) {
                children << child;
            }
        }
        for (QWidget* child : children) {
            EXPECT_TRUE(parent->rect().contains(child->geometry()))
                << child->objectName().toStdString() << " leaves "
                << parent->objectName().toStdString();
            for (QWidget* other : children) {
                if (other != child) {
                    EXPECT_FALSE(child->geometry().intersects(other->geometry()))
                        << child->objectName().toStdString() << " covers "
                        << other->objectName().toStdString();
                }
            }
        }
    }
}

TEST_F(MainWindowTest, ListsAndBoxesStartAsTheSchedulerExpects) {
    EXPECT_EQ(w().lstComputers->selectionMode(), QAbstractItemView::ExtendedSelection);
    EXPECT_EQ(w().lstDeployables->selectionMode(), QAbstractItemView::ExtendedSelection);
    EXPECT_EQ(w().lstDeployables2->selectionMode(), QAbstractItemView::ExtendedSelection);
    EXPECT_EQ(w().lstDays->selectionMode(), QAbstractItemView::ExtendedSelection);
    EXPECT_TRUE(w().lstDeployables->isHidden());

    ASSERT_EQ(w().lstDays->count(), 38);
    EXPECT_EQ(w().lstDays->item(0)->text(), QStringLiteral("Monday"));
    EXPECT_EQ(w().lstDays->item(6)->text(), QStringLiteral("Sunday"));
    EXPECT_EQ(w().lstDays->item(7)->text(), QStringLiteral("1"));
    EXPECT_EQ(w().lstDays->item(37)->text(), QStringLiteral("31"));

    EXPECT_EQ(w().cboAMPM->count(), 2);
    EXPECT_EQ(w().cboAMPM->itemText(0), QStringLiteral("AM"));
    EXPECT_EQ(w().cboAMPM->itemText(1), QStringLiteral("PM"));
    EXPECT_EQ(w().cboAMPM->currentText(), QStringLiteral("PM"));
    EXPECT_EQ(w().txtHour->text(), QStringLiteral("5"));
    EXPECT_EQ(w().txtMinutes->text(), QStringLiteral("00"));
    EXPECT_EQ(w().txtJobID->text(), QStringLiteral("1"));
    for (QComboBox* box : {w().cboDeployPath, w().cboRun, w().cboAMPM}) {
        EXPECT_TRUE(box->isEditable());
        EXPECT_EQ(box->insertPolicy(), QComboBox::NoInsert);
        EXPECT_EQ(box->completer(), nullptr);
    }
    EXPECT_EQ(w().optToday->text(), QStringLiteral("Today"));
    EXPECT_EQ(w().optEvery->text(), QStringLiteral("Every"));
    EXPECT_EQ(w().optNext->text(), QStringLiteral("Next"));
}

TEST_F(MainWindowTest, EveryListTextAndComboBoxHasAnAccessibleName) {
    const std::pair<QWidget*, const char*> named[] = {
        {w().lstComputers, "Computer list"},
        {w().rtbScheduledJobs, "Current scheduled jobs on the selected computer."},
        {w().lstDeployables2, "Files to Deploy:"},
        {w().lstDeployables, "List of files to be deployed."},
        {w().txtHour, "Hour"},
        {w().txtMinutes, "Minute"},
        {w().lstDays, "Days:"},
        {w().txtJobID, "Job ID ="},
    };
    for (const auto& [widget, name] : named) {
        SCOPED_TRACE(widget->objectName().toStdString());
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(widget);
        ASSERT_NE(a, nullptr);
        EXPECT_EQ(a->text(QAccessible::Name), QString::fromLatin1(name));
    }
    // Editable combo boxes are read by their label, through the labelled-by relation.
    const std::pair<QComboBox*, const char*> labelled[] = {
        {w().cboDeployPath, "Path to deploy to on server(s):"},
        {w().cboRun, "Command or app to run:"},
    };
    for (const auto& [box, label] : labelled) {
        SCOPED_TRACE(box->objectName().toStdString());
        EXPECT_EQ(box->accessibleName(), QString::fromLatin1(label));
        // Qt reports the pair as (the label, Label): the label is the label of this box.
        const auto relations =
            QAccessible::queryAccessibleInterface(box)->relations(QAccessible::Label);
        QStringList labels;
        for (const auto& relation : relations) {
            labels << relation.first->text(QAccessible::Name);
        }
        EXPECT_TRUE(labels.contains(QString::fromLatin1(label))) << labels.join(u'|').toStdString();
    }
    EXPECT_EQ(w().cboAMPM->accessibleName(), QStringLiteral("Select AM or PM"));
    // Frames and labels by their captions.
    EXPECT_EQ(QAccessible::queryAccessibleInterface(w().fraComputerList)->text(QAccessible::Name),
              QStringLiteral("COMPUTER LIST"));
    EXPECT_EQ(QAccessible::queryAccessibleInterface(w().lblStatus)->text(QAccessible::Name),
              QStringLiteral("Waiting for Command"));
}

TEST_F(MainWindowTest, StatusLineShowsEachColourOnBlack) {
    const std::pair<StatusColour, QColor> colours[] = {
        {StatusColour::Idle, QColor(255, 255, 0)},
        {StatusColour::Waiting, QColor(255, 128, 0)},
        {StatusColour::Busy, QColor(255, 0, 0)},
        {StatusColour::Done, QColor(0, 255, 0)},
    };
    EXPECT_EQ(w().lblStatus->text(), QStringLiteral("Waiting for Command"));
    EXPECT_TRUE(w().lblStatus->font().bold());
    EXPECT_EQ(w().lblStatus->alignment(), Qt::AlignCenter);
    for (const auto& [colour, rgb] : colours) {
        w().SetStatus(colour, QStringLiteral("Checking"));
        EXPECT_EQ(w().lblStatus->palette().color(QPalette::WindowText), rgb);
        EXPECT_EQ(w().lblStatus->palette().color(QPalette::Window), QColor(Qt::black));
        EXPECT_EQ(w().CurrentStatusColour(), colour);
    }
}

TEST_F(MainWindowTest, BusyCursorIsTheOneBusyTest) {
    EXPECT_FALSE(w().IsBusy());
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
