// Reading back what a tool wrote into its capture file.
#pragma once

#include <QString>

namespace corvane {

class FileSystem;

// The whole text; empty when the file is missing or cannot be read.
QString CapturedText(FileSystem& files, const QString& path);

// The first item, as the item reader splits the text; empty for an empty or missing file.
QString FirstCapturedItem(FileSystem& files, const QString& path);

} // namespace corvane
