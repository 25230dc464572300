// Whole text files between the FileSystem's bytes and the program's strings.
#pragma once

#include "platform/FileSystem.h"

#include <QString>
#include <string>
#include <string_view>

namespace corvane {

// Paths, command lines and the system's reasons cross the platform interfaces as UTF-8 on every
// platform; the Windows backends turn them into UTF-16.
std::string PathBytes(const QString& path);
QString FromPathBytes(std::string_view bytes);

// The contents of text files, in the program's text encoding (UTF-8 on Linux, the ANSI code page
// on Windows), and back.
std::string ToNative(const QString& text);
QString FromNative(std::string_view bytes);

// Appends a path (UTF-8) to a line of a text file, in the text encoding.
void AppendPathAsText(std::string& line, std::string_view path);

// The system's reason for a failure, for messages.
QString ReasonText(const FileResult& result);

// Creates the file empty when there is none yet; an existing file is left as it is.
void CreateIfMissing(FileSystem& fs, const QString& path);

// The encoding a file was read in, so that it is written back in the same one.
enum class TextEncoding {
    Native,
    // Where the text encoding is UTF-8, a file that is not valid UTF-8 comes from a Windows
    // machine's ANSI code page; Windows-1252 reads every byte and gives it back unchanged.
    Windows1252,
};

QString FromWindows1252(std::string_view bytes);
// False when a character has no Windows-1252 byte; bytes then holds what came before it.
bool ToWindows1252(const QString& text, std::string& bytes);

// Reads the whole file, refusing one larger than kMaxListFileSize; on failure the text is empty.
FileResult ReadText(FileSystem& fs, const QString& path, QString& text,
                    TextEncoding* encoding = nullptr);
// Replaces the file with the text as a whole, atomically; a file already holding exactly these
// bytes is not rewritten. A text that Windows-1252 cannot carry is written in the text encoding.
FileResult ReplaceText(FileSystem& fs, const QString& path, const QString& text,
                       TextEncoding encoding = TextEncoding::Native);

} // namespace corvane
