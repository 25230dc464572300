// The time and day arguments of a scheduling command line, and the numeric test of the fields.
#pragma once

#include <QString>
#include <QStringList>

namespace corvane {

enum class Occurrence { Today, Every, Next };

// Hour, ":", minutes and the AM/PM marker exactly as typed: 7, 5 and AM give 7:5AM.
QString BuildTimeArgument(const QString& hour, const QString& minutes, const QString& ampm);

// Empty for Today; otherwise "/every:" or "/next:" and the chosen days joined by commas, in list
// order. With no day chosen the result is "/every" or "/next".
QString BuildDayArgument(Occurrence occurrence, const QStringList& chosenDaysInListOrder);

// A number as a person types one: optional blanks around it, an optional sign, digits with an
// optional decimal point, an optional exponent. The empty text is not numeric.
bool IsNumeric(const QString& text);

} // namespace corvane
