// Building the time and day arguments, and the numeric test the schedule fields use.
#include "schedule/ScheduleArguments.h"

#include <QRegularExpression>

namespace corvane {

QString BuildTimeArgument(const QString& hour, const QString& minutes, const QString& ampm) {
    return hour + QLatin1Char(':') + minutes + ampm;
}

QString BuildDayArgument(Occurrence occurrence, const QStringList& chosenDaysInListOrder) {
    if (occurrence == Occurrence::Today) {
        return {};
    }
    QString prefix =
        occurrence == Occurrence::Every ? QStringLiteral("/every") : QStringLiteral("/next");
    if (chosenDaysInListOrder.isEmpty()) {
        return prefix;
    }
    return prefix + QLatin1Char(':') + chosenDaysInListOrder.join(QLatin1Char(','));
}

bool IsNumeric(const QString& text) {
    static const QRegularExpression number(
        QStringLiteral("^\\s*[+-]?(\\d+\\.?\\d*|\\.\\d+)([eE][+-]?\\d+)?\\s*$"));
    return number.match(text).hasMatch();
}

} // namespace corvane
