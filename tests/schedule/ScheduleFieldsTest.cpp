// The schedule fields' checks when the user leaves them, and the job-ID field.
#include "Harness.h"

#include <QApplication>
#include <QFocusEvent>
#include <QTest>
#include <gtest/gtest.h>

namespace corvane::test {
namespace {

class ScheduleFieldsTest : public ::testing::Test {
protected:
    void SetUp() override {
        h.Start();
        w().show();
        w().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&w()));
    }
    frmMain& w() { return *h.window; }
    // Moves the focus out of the field the way the user does, and lets the queued check run.
    void LeaveWithTab(QWidget* field) {
        field->setFocus();
        QCoreApplication::processEvents();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
    }
    QStringList Boxes() const {
        QStringList texts;
        for (const Shown& box : h.dialogs.MessageBoxes()) {
            texts << box.text;
        }
        return texts;
    }
    MainHarness h;
};

TEST_F(ScheduleFieldsTest, EachFieldHasItsOwnMessageAndGetsTheFocusBack) {
    struct Case {
        QWidget* field;
        const char* text;
        const char* message; // empty when the text passes
    };
    const Case cases[] = {
        {w().txtHour, "", "I'm sorry, but this must be a numeric value.\r\nplease try again."},
        {w().txtHour, "x7", "I'm sorry, but this must be a numeric value.\r\nplease try again."},
        {w().txtHour, "13", ""},
        {w().txtMinutes, "5a", "I'm sorry, but this must be a numeric value.\r\nPlease try again."},
        {w().txtMinutes, "75", ""},
        {w().cboAMPM, "pm", "I'm sorry, but this must be AM or PM."},
        {w().cboAMPM, "AM", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.field->objectName().toStdString() + " = " + c.text);
        h.dialogs.Clear();
        if (auto* box = qobject_cast<QComboBox*>(c.field)) {
            box->setEditText(QString::fromLatin1(c.text));
        } else {
            static_cast<QLineEdit*>(c.field)->setText(QString::fromLatin1(c.text));
        }
        LeaveWithTab(c.field);
        if (*c.message == '\0') {
            EXPECT_TRUE(Boxes().isEmpty());
            EXPECT_NE(QApplication::focusWidget(), c.field);
        } else {
            EXPECT_EQ(Boxes(), QStringList{QString::fromLatin1(c.message)});
            const QWidget* focus = QApplication::focusWidget();
            EXPECT_TRUE(focus == c.field || (focus != nullptr && focus->parentWidget() == c.field));
        }
    }
}

TEST_F(ScheduleFieldsTest, FocusTakenByAMessageBoxOrAPopupIsNoReasonToCheck) {
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

TEST_F(ScheduleFieldsTest, JobIdStaysNumericAndAClickEmptiesIt) {
    w().txtJobID->setFocus();
    w().txtJobID->setText(QStringLiteral("12"));
    QTest::keyClick(w().txtJobID, Qt::Key_3);
    EXPECT_EQ(w().txtJobID->text(), QStringLiteral("123"));
    EXPECT_TRUE(Boxes().isEmpty());

    QTest::keyClick(w().txtJobID, Qt::Key_A);
    EXPECT_EQ(Boxes(),
              QStringList{"I'm sorry, but this must be a numeric value.\r\nPlease try again."});
    EXPECT_TRUE(w().txtJobID->text().isEmpty());

    // Backspace over the last digit leaves an empty, non-numeric text.
    h.dialogs.Clear();
    w().txtJobID->setText(QStringLiteral("7"));
    w().txtJobID->end(false);
    QTest::keyClick(w().txtJobID, Qt::Key_Backspace);
    EXPECT_EQ(Boxes().size(), 1);

    // A release whose press went elsewhere (the Enter that closed a message box) is ignored.
    h.dialogs.Clear();
    w().txtJobID->setText(QStringLiteral("x"));
    QTest::keyRelease(w().txtJobID, Qt::Key_Return);
    EXPECT_TRUE(Boxes().isEmpty());

    w().txtJobID->setText(QStringLiteral("42"));
    QTest::mouseClick(w().txtJobID, Qt::LeftButton);
    EXPECT_TRUE(w().txtJobID->text().isEmpty());
}

} // namespace
} // namespace corvane::test
