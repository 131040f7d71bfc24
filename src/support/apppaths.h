#pragma once

#include <QString>

// The folder of the running program file, without a trailing separator.
QString GetAppFolder();

// Where the station keeps what it writes: data/, log/, app.conf and the
// serial links (ports/). The program folder itself unless it is there and
// the program may not write in it (a build or a portable copy is written
// in); for a program installed read-only, the user's data folder, made on first use with data/ and
// log/ and the program folder's app.conf. Everything the program only reads (UI texts, pictures,
// libraries) stays in GetAppFolder().
QString GetStationFolder();

// Points GetAppFolder at another folder; meant for tests that work in a
// temporary program folder. An empty string returns to the real folder.
void SetAppFolderForTests(const QString& folder);
// Points the user's data folder, used beside a read-only program folder, at
// another folder (tests); an empty string returns to the platform's.
void SetUserFolderForTests(const QString& folder);

// The resource source that icons and pictures are loaded from (a Qt resource
// root such as ":/"). A null or empty value is ignored.
void SetResourceModule(const QString& module);
QString GetResourceModule();
