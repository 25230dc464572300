// How the Windows FileSystem turns a system error code into the program's file-error numbers.
#pragma once

#include "platform/FileSystem.h"
#include "platform/windows/WindowsText.h"

#include <string>

namespace corvane::windows {

// Where the error was met decides what a missing name means: nothing found for a search, a
// missing file where one must exist, a missing folder where a file or folder is to be made.
enum class FileStep {
    Search,   // the directory search
    Existing, // opening a file that must exist: a copy's source, delete, read
    Create,   // making or writing a name: folders, targets, appends, replacements
};

// The program's number for a Windows error code (a DWORD) met at that step; kFileOk for a
// search that found nothing.
int FileErrorNumber(unsigned long code, FileStep step);

// The number with the system's text as the reason (an empty reason when the number is kFileOk).
FileResult FileErrorFrom(unsigned long code, FileStep step);

} // namespace corvane::windows
