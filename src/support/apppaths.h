#pragma once

#include <QString>

// The folder of the running program file, without a trailing separator.
QString GetAppFolder();

// Points GetAppFolder at another folder; meant for tests that work in a
// temporary program folder. An empty string returns to the real folder.
void SetAppFolderForTests(const QString& folder);

// The resource source that icons and pictures are loaded from (a Qt resource
// root such as ":/"). A null or empty value is ignored.
void SetResourceModule(const QString& module);
QString GetResourceModule();
