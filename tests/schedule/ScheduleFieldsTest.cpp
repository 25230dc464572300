// The schedule fields' checks when the user leaves them, and the job-ID field.
#include "Harness.h"

#include <QApplication>
#include <QFocusEvent>
#include <QTest>
#include <gtest/gtest.h>

namespace corvane::test {
namespace {

const QString kNumeric =
    QStringLiteral("I'm sorry, but this must be a numeric value.\r\nPlease try again.");

class ScheduleFieldsTest : public ::testing::Test {
protected:
    void SetUp() override {
        h.Start();
        w().show();
        w().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&w()));
    }
    frmMain& w() { return *h.window; }
    QStringList Boxes() const { return h.dialogs.MessageTexts(); }
    MainHarness h;
};

TEST_F(ScheduleFieldsTest, EachFieldChecksItselfOnlyWhenTheUserLeavesItAndTakesTheFocusBack) {
    const char* hourMessage = "I'm sorry, but this must be a numeric value.\r\nplease try again.";
    const struct {
        QWidget* field;
        const char* text;
        QString message; // empty when the text passes
    } cases[] = {
        {w().txtHour, "", hourMessage},
        {w().txtHour, "13", {}},
        {w().txtMinutes, "5a", kNumeric},
        {w().txtMinutes, "75", {}},
        {w().cboAMPM, "pm", "I'm sorry, but this must be AM or PM."},
        {w().cboAMPM, "AM", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.field->objectName().toStdString() + " = " + c.text);
        h.dialogs.Clear();
        auto* edit = qobject_cast<QLineEdit*>(c.field);
        (edit ? edit : static_cast<QComboBox*>(c.field)->lineEdit())->setText(c.text);
        // Leaves the field the way the user does, and lets the queued check run.
        c.field->setFocus();
        QCoreApplication::processEvents();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
        EXPECT_EQ(Boxes(), c.message.isEmpty() ? QStringList{} : QStringList{c.message});
        const QWidget* focus = QApplication::focusWidget();
        const bool inField = focus == c.field || (focus && focus->parentWidget() == c.field);
        EXPECT_EQ(inField, !c.message.isEmpty());
    }

    // Focus taken by a message box or a pop-up list is no reason to check again.
    h.dialogs.Clear();
    w().txtHour->setText(QString());
    w().cboAMPM->setEditText(QStringLiteral("xx"));
    for (QWidget* field :
         {static_cast<QWidget*>(w().txtHour), static_cast<QWidget*>(w().cboAMPM)}) {
        for (Qt::FocusReason reason :
             {Qt::ActiveWindowFocusReason, Qt::PopupFocusReason, Qt::OtherFocusReason}) {
            QFocusEvent out(QEvent::FocusOut, reason);
            QCoreApplication::sendEvent(field, &out);
        }
    }
    w().cboAMPM->showPopup();
    QCoreApplication::processEvents();
    w().cboAMPM->hidePopup();
    QCoreApplication::processEvents();
    EXPECT_TRUE(Boxes().isEmpty());
}

TEST_F(ScheduleFieldsTest, JobIdStaysNumericOnKeyUpAndAClickEmptiesIt) {
    QLineEdit* id = w().txtJobID;
    id->setFocus();
    id->setText(QStringLiteral("12"));
    QTest::keyClick(id, Qt::Key_3);
    EXPECT_EQ(id->text(), QStringLiteral("123"));
    QTest::keyClick(id, Qt::Key_A);
    EXPECT_TRUE(id->text().isEmpty());
    EXPECT_EQ(Boxes(), QStringList{kNumeric});
    id->setText(QStringLiteral("7"));
    id->end(false);
    QTest::keyClick(id, Qt::Key_Backspace); // leaves an empty, non-numeric text
    EXPECT_EQ(Boxes().size(), 2);
    id->setText(QStringLiteral("x"));
    QTest::keyRelease(id, Qt::Key_Return); // its press (closing a message box) went elsewhere
    EXPECT_EQ(Boxes().size(), 2);
    id->setText(QStringLiteral("42"));
    QTest::mouseClick(id, Qt::LeftButton);
    EXPECT_TRUE(id->text().isEmpty());
}

} // namespace
} // namespace corvane::test
