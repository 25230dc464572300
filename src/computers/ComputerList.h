// The computer list editor: Add, Remove, Clear, Import and Export, and saving the list.
#pragma once

#include <QString>

class QListWidget;

namespace corvane {

class Host;

class ComputerList {
public:
    ComputerList(Host& host, QListWidget& lstComputers);

    void cmdAdd_Click();
    void cmdRemove_Click();
    void cmdClear_Click();
    void cmdImport_Click();
    void cmdExport_Click();

    // Writes lstComputers to computerlist.txt; says so and returns false when that fails.
    bool Save();

    Host& host() { return m_host; }
    QListWidget& list() { return m_list; }

private:
    Host& m_host;
    QListWidget& m_list;
};

} // namespace corvane
