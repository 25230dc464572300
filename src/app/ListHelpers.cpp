// List-box helpers: reading past the end, sorted insertion, file names.
#include "app/ListHelpers.h"

#include <QListWidget>
#include <algorithm>

namespace corvane {

QString EntryText(const QListWidget& list, int index) {
    if (index < 0 || index >= list.count()) {
        return {};
    }
    return list.item(index)->text();
}

QStringList Entries(const QListWidget& list) {
    QStringList entries;
    entries.reserve(list.count());
    for (int i = 0; i < list.count(); ++i) {
        entries << list.item(i)->text();
    }
    return entries;
}

void InsertSorted(QListWidget& list, const QString& text) {
    int low = 0;
    int high = list.count();
    while (low < high) {
        const int middle = (low + high) / 2;
        if (QString::compare(list.item(middle)->text(), text, Qt::CaseInsensitive) <= 0) {
            low = middle + 1;
        } else {
            high = middle;
        }
    }
    list.insertItem(low, text);
}

QString ListBlock(const QStringList& lines, int shown) {
    QStringList block = lines.mid(0, shown);
    if (lines.size() > shown) {
        block << QStringLiteral("and %1 more").arg(lines.size() - shown);
    }
    return block.join(QStringLiteral("\r\n"));
}

bool FitsListFile(const QString& entry) {
    return std::none_of(entry.begin(), entry.end(), [](QChar c) {
        return c == QLatin1Char('"') || c.category() == QChar::Other_Control;
    });
}

QString ShownEntry(const QString& entry) {
    QString shown;
    for (const QChar c : entry) {
        shown += c.category() == QChar::Other_Control
                     ? QStringLiteral("\\x") +
                           QString::number(c.unicode(), 16).toUpper().rightJustified(2, u'0')
                     : QString(c);
    }
    return shown;
}

QString FileNameOf(const QString& path) {
    const qsizetype separator =
        std::max(path.lastIndexOf(QLatin1Char('\\')), path.lastIndexOf(QLatin1Char('/')));
    return path.mid(separator + 1);
}

} // namespace corvane
