// The schedule inputs: the time, the occurrence, the days and the job ID, their checks when the
// user leaves them, and the time and day arguments they give the AT line.
#pragma once

#include <QString>

class QComboBox;
class QLineEdit;
class QListWidget;
class QRadioButton;

namespace corvane {

class Host;

struct ScheduleControls {
    QLineEdit& txtHour;
    QLineEdit& txtMinutes;
    QComboBox& cboAMPM;
    QRadioButton& optEvery;
    QRadioButton& optNext;
    QListWidget& lstDays;
    QLineEdit& txtJobID;
};

class ScheduleInputs {
public:
    // Watches the fields for the events below.
    ScheduleInputs(Host& host, ScheduleControls controls);

    // Checks made when the user moves the focus out of the field; a failed check says so and
    // gives the focus back.
    void txtHour_LostFocus();
    void txtMinutes_LostFocus();
    void cboAMPM_LostFocus();
    // The job ID stays numeric while it is typed; a click into it empties it.
    void txtJobID_KeyUp();
    void txtJobID_MouseDown();

    QString TimeArgument() const;
    QString DayArgument() const;

private:
    Host& m_host;
    ScheduleControls m_controls;
};

} // namespace corvane
