#pragma once

#include <QString>

// True when the path names an existing file or folder.
bool FileExists(const QString& path);

// Cuts an existing file to zero length; a missing file is not created.
bool TruncateFile(const QString& path);

// Creates every missing folder of the path. Trailing spaces, then trailing
// "\" and then trailing "/" are ignored; separators become the platform's own.
bool MakeDirectoryPath(const QString& path);

// The platform's message text for an error code (errno values here); empty
// when the platform knows no text for it. Returns the number of characters.
int DescribeError(int code, QString* text);
