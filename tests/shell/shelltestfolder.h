#pragma once

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>

#include <memory>

#include "simulatorprocess.h"
#include "support/apppaths.h"
#include "support/cryptfile.h"

// A temporary program folder for the window tests: the Chinese UI texts, the
// cipher library (so that saves really write), data/ and ports/. It is the
// program folder while it lives.
class ShellTestFolder {
public:
    ShellTestFolder() {
        ok = dir.isValid() && QDir(dir.path()).mkpath(QStringLiteral("data")) &&
             QDir(dir.path()).mkpath(QStringLiteral("ports")) &&
             QFile::copy(QStringLiteral(TOLVANE_SOURCE_DIR "/resources/string_chs.conf"),
                         path(QStringLiteral("string_chs.conf"))) &&
             QFile::copy(QStringLiteral(TOLVANE_SOURCE_DIR "/resources/string_eng.conf"),
                         path(QStringLiteral("string_eng.conf"))) &&
             QFile::copy(QStringLiteral(TOLVANE_BIN_DIR "/") + CryptLibraryFileName(),
                         path(CryptLibraryFileName()));
        SetAppFolderForTests(dir.path());
    }
    ~ShellTestFolder() { SetAppFolderForTests(QString()); }

    QString path(const QString& name = QString()) const {
        return name.isEmpty() ? dir.path() : dir.filePath(name);
    }

    bool ok = false;

private:
    QTemporaryDir dir;
};
