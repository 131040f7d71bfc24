#pragma once

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <memory>

#include "fakeclock.h"
#include "fakemedia.h"
#include "media/player.h"
#include "store/datastore.h"
#include "support/apppaths.h"
#include "support/cryptfile.h"

// A temporary program folder for the library's windows: both UI text files,
// the shipped app.conf, the cipher library (saves really write), data/ and
// log/; a store on it, and a player on the fake media player.
struct MusicTestFolder {
    MusicTestFolder() : clock(QDateTime(QDate(2026, 3, 2), QTime(9, 0))) {
        QDir root(dir.path());
        ok = dir.isValid() && root.mkpath(QStringLiteral("data")) &&
             root.mkpath(QStringLiteral("log"));
        for (const char* name : {"string_chs.conf", "string_eng.conf", "app.conf"})
            ok = QFile::copy(QStringLiteral(TOLVANE_SOURCE_DIR "/resources/") + name,
                             root.filePath(QLatin1String(name))) &&
                 ok;
        ok = QFile::copy(QStringLiteral(TOLVANE_BIN_DIR "/") + CryptLibraryFileName(),
                         root.filePath(CryptLibraryFileName())) &&
             ok;
        for (const QString& name : root.entryList(QDir::Files))
            QFile(root.filePath(name)).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
        SetAppFolderForTests(dir.path());
        store = std::make_unique<DataStore>(clock);
        player = std::make_unique<Player>(media.factory(), nullptr, clock, &store->settings);
    }
    ~MusicTestFolder() {
        player.reset();
        store.reset();
        SetAppFolderForTests(QString());
    }

    QString path(const QString& name) const { return dir.filePath(name); }

    // The category file as the next start of the program reads it.
    std::unique_ptr<DataStore> reloaded() const {
        auto again = std::make_unique<DataStore>(clock);
        again->LoadCategoryFile();
        return again;
    }

    QTemporaryDir dir;
    bool ok = false;
    FakeClock clock;
    FakeMediaSource media;
    std::unique_ptr<DataStore> store;
    std::unique_ptr<Player> player;
};
