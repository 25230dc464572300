// The schedule fields' checks when the user leaves them or types, and the arguments they give.
#include "Harness.h"

#include "schedule/ScheduleArguments.h"

#include <QApplication>
#include <QFocusEvent>
#include <QTest>
#include <gtest/gtest.h>

namespace corvane::test {
namespace {

TEST(ScheduleFieldsTest, AFieldIsCheckedWhenTheUserLeavesItAndTheJobIdAtEachKey) {
    MainHarness h;
    frmMain& w = h.Start();
    w.show();
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    const QString numeric = "I'm sorry, but this must be a numeric value.\r\nPlease try again.";
    const QString kept = " (the field keeps the focus)";
    const struct {
        QWidget* field;
        const char* text;
        QString said; // empty when the text passes
    } cases[] = {
        {w.txtHour, "", "I'm sorry, but this must be a numeric value.\r\nplease try again." + kept},
        {w.txtMinutes, "5a", numeric + kept},
        {w.txtMinutes, "75", ""},
        {w.cboAMPM, "pm", "I'm sorry, but this must be AM or PM." + kept},
        {w.cboAMPM, "AM", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.field->objectName().toStdString() + " = " + c.text);
        h.dialogs.Clear();
        c.field->setProperty(qobject_cast<QLineEdit*>(c.field) ? "text" : "currentText", c.text);
        c.field->setFocus();
        QCoreApplication::processEvents();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
        const QWidget* focus = QApplication::focusWidget();
        const bool inField = focus == c.field || (focus && focus->parentWidget() == c.field);
        EXPECT_EQ(h.dialogs.MessageTexts().join("") + (inField ? kept : ""), c.said);
        // Focus taken by a message box is no reason to check again.
        QFocusEvent out(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
        QCoreApplication::sendEvent(c.field, &out);
        QCoreApplication::processEvents();
        EXPECT_EQ(h.dialogs.MessageTexts().size(), c.said.isEmpty() ? 0 : 1);
    }

    // The job ID is checked as each key goes up, and a click empties it.
    h.dialogs.Clear();
    QLineEdit* id = w.txtJobID;
    id->setFocus();
    id->setText("12");
    QTest::keyClick(id, Qt::Key_3);
    EXPECT_EQ(id->text(), QStringLiteral("123"));
    QTest::keyClick(id, Qt::Key_A);
    EXPECT_TRUE(id->text().isEmpty());
    id->setText("x");
    QTest::keyRelease(id, Qt::Key_Return); // its press (closing a message box) went elsewhere
    EXPECT_EQ(h.dialogs.MessageTexts(), QStringList{numeric});
    QTest::mouseClick(id, Qt::LeftButton);
    EXPECT_TRUE(id->text().isEmpty());
}

TEST(ScheduleArgumentsTest, DayArgumentsAndNumbersAsPeopleTypeThem) {
    QString verdicts = BuildDayArgument(Occurrence::Next, {"Friday", "15"}) + "|" +
                       BuildDayArgument(Occurrence::Every, {}) + "|";
    for (const char* text : {"5", "00", "-3", "+4", "1.5", ".5", "7.", " 42 ", "1e3", "", " ", "a",
                             "5a", "1:5", "--1", ".", "1 2", "PM"})
        verdicts += IsNumeric(QString::fromLatin1(text)) ? 'y' : 'n';
    EXPECT_EQ(verdicts, "/next:Friday,15|/every|yyyyyyyyynnnnnnnnn");
}

} // namespace
} // namespace corvane::test
