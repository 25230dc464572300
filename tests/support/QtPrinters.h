// Lets test failures show Qt strings as text instead of bytes.
#pragma once

#include <QStringList>
#include <ostream>

inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}
inline void PrintTo(const QStringList& list, std::ostream* out) {
    *out << "{\"" << list.join(QStringLiteral("\", \"")).toStdString() << "\"}";
}
