#pragma once

#include <QString>

// Profile files ("app.conf", the UI text files): sections in square
// brackets, lines of a key, "=" and a value, comment lines starting with ';'.
// Sections and keys are matched without regard to case and the first match
// wins; a value is trimmed of blanks and loses one pair of surrounding double
// quotes. A file may be in any of the text-file encodings (UTF-8 or UTF-16
// with a mark, or the system code page). Every call reads the file again, so
// an edited file takes effect at once.

// The value of the key, or defaultValue when the file, the section or the
// key is missing. A byte that cannot be decoded reads as U+FFFD and spoils
// only its own line.
QString ReadProfileString(const QString& file, const QString& section, const QString& key,
                          const QString& defaultValue);

// The value read as a number (TextToInt: text that is no number reads as 0),
// or defaultValue when the key is missing.
int ReadProfileInt(const QString& file, const QString& section, const QString& key,
                   int defaultValue);

// Sets the key to the value, creating the file (in the system code page) or
// the section when missing. Every other line and the file's encoding are
// kept. Refused (false) for an empty section or key, for a line break in any
// of the three texts, for a key that could not be read back (holding '=' or
// starting with ';' or '['), for a section name holding ']', and for a file
// that cannot be decoded cleanly, which would otherwise be rewritten with
// its undecodable bytes lost.
bool WriteProfileString(const QString& file, const QString& section, const QString& key,
                        const QString& value);
