// tolvane-data: inspects, backs up and moves a station's data files.
//   dump FILE             print the plain text of a data file
//   pack TEXTFILE FILE    encrypt a plain text into a data file
//   check [FOLDER]        load a program folder's data and print what it holds;
//                         without FOLDER, the station's own (beside this
//                         program, or the user's data folder when installed)
// It uses the cipher library beside this program, as the station does.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

#include "plaintextcheck.h"
#include "store/clocktext.h"
#include "store/datastore.h"
#include "support/apppaths.h"
#include "support/clock.h"
#include "support/cryptfile.h"

namespace {

void out(const QString& text) {
    std::fputs(text.toLocal8Bit().constData(), stdout);
}

int fail(const QString& message) {
    std::fprintf(stderr, "tolvane-data: %s\n", message.toLocal8Bit().constData());
    return 1;
}

int usage() {
    std::fprintf(stderr, "usage: tolvane-data dump FILE\n"
                         "       tolvane-data pack TEXTFILE FILE\n"
                         "       tolvane-data check [FOLDER]\n");
    return 2;
}

QString cryptLibraryPath() {
    return GetAppFolder() + u'/' + CryptLibraryFileName();
}

bool libraryPresent() {
    return QFile::exists(cryptLibraryPath());
}

int dump(const QString& file) {
    if (!QFileInfo(file).isFile())
        return fail(QStringLiteral("no such file: ") + file);
    QByteArray encrypted;
    if (!ReadWholeFile(file, &encrypted))
        return fail(QStringLiteral("cannot read ") + file);
    if (encrypted.isEmpty())
        return 0; // an empty data file holds an empty text
    if (!libraryPresent())
        return fail(QStringLiteral("cipher library missing: ") + cryptLibraryPath());
    // Decrypted in memory: no plain text is left on disk, and a running
    // station's own temporary file is never touched.
    CryptLibraryBinding binding(DataStore::kDataKey);
    QByteArray plain;
    if (!CryptBuffer(encrypted, false, binding, &plain))
        return fail(QStringLiteral("cannot decrypt ") + file);
    std::fwrite(plain.constData(), 1, size_t(plain.size()), stdout);
    return 0;
}

// Refuses a text the station would read wrongly, naming each line at fault.
bool checkPlainText(const QString& textFile, const QString& dataFile) {
    const QStringList problems = PlainTextProblems(textFile, dataFile);
    for (const QString& problem : problems)
        std::fprintf(stderr, "tolvane-data: %s\n", problem.toLocal8Bit().constData());
    return problems.isEmpty();
}

int pack(const QString& textFile, const QString& file) {
    QByteArray bytes;
    if (!QFileInfo(textFile).isFile() || !ReadWholeFile(textFile, &bytes))
        return fail(QStringLiteral("no such file: ") + textFile);
    if (!checkPlainText(textFile, QFileInfo(file).fileName()))
        return fail(QStringLiteral("nothing written: ") + file);
    QByteArray encrypted;
    if (!bytes.isEmpty()) {
        if (!libraryPresent())
            return fail(QStringLiteral("cipher library missing: ") + cryptLibraryPath());
        CryptLibraryBinding binding(DataStore::kDataKey);
        if (!CryptBuffer(bytes, true, binding, &encrypted))
            return fail(QStringLiteral("cannot encrypt ") + textFile);
    }
    // The station writes an empty list as an empty data file.
    if (!WriteWholeFile(file, encrypted))
        return fail(QStringLiteral("cannot write ") + file);
    return 0;
}

QString roleName(int role) {
    return role == 1 ? QStringLiteral("administrator") : QStringLiteral("operator");
}

int check(const QString& folder) {
    const QString dataFolder = QDir(folder).filePath("data");
    if (!QFileInfo(dataFolder).isDir())
        return fail(QStringLiteral("no data folder in ") + folder);
    if (!libraryPresent())
        return fail(QStringLiteral("cipher library missing: ") + cryptLibraryPath());
    // The plain text goes through a temporary folder of our own: the
    // station's temporary file belongs to a station that may be saving.
    QTemporaryDir privateTemp;
    if (!privateTemp.isValid())
        return fail(QStringLiteral("cannot make a temporary folder"));
    SystemClock clock;
    DataStore store(clock, dataFolder, privateTemp.path());
    int unused = 0;
    store.onUnusedLine = [&unused](const QString& file, int number, const QString& reason) {
        out(QStringLiteral("unused line %1 in %2: %3\n")
                .arg(QString::number(number), file, reason));
        ++unused;
    };
    // Loaded as the station loads, but nothing is written back.
    store.loading = 1;
    const bool loaded[] = {store.LoadSpeechFile(), store.LoadCategoryFile(),
                           store.LoadMusicTaskFile(), store.LoadUserFile(), store.LoadCommonFile()};
    const char* names[] = {"ttsdata.sx", "mcatdata.sx", "mtskdata.sx", "usrdata.sx", "cmndata.sx"};
    for (int i = 0; i < 5; ++i) {
        const QString path = QDir(dataFolder).filePath(names[i]);
        const QString state = !QFile::exists(path)          ? QStringLiteral("missing")
                              : QFileInfo(path).size() == 0 ? QStringLiteral("empty")
                              : loaded[i]                   ? QStringLiteral("loaded")
                                                            : QStringLiteral("UNREADABLE");
        out(QStringLiteral("%1: %2\n").arg(QLatin1String(names[i]), state));
    }
    const bool hasAdmin = std::any_of(store.users.begin(), store.users.end(), [](const auto& u) {
        return u->name == QLatin1String("Admin");
    });
    out(QStringLiteral("users: %1\n").arg(store.users.size() + (hasAdmin ? 0 : 1)));
    for (const auto& u : store.users)
        out(QStringLiteral("  %1 (%2)\n").arg(u->name, roleName(u->role)));
    if (!hasAdmin)
        out(QStringLiteral("  Admin (administrator, built in: added at the next start)\n"));
    out(QStringLiteral("music categories: %1\n").arg(store.categories.size()));
    for (const auto& c : store.categories)
        out(QStringLiteral("  %1: %2 files\n").arg(c->name, QString::number(c->files.size())));
    out(QStringLiteral("music tasks: %1\n").arg(store.musicTasks.size()));
    for (const auto& t : store.musicTasks)
        out(QStringLiteral("  %1  %2  %3 items%4\n")
                .arg(FormatSchedule(t->endDate, t->startDate, t->startTime, t->endTime), t->name,
                     QString::number(t->items.size()),
                     t->disabled ? QStringLiteral("  (disabled)") : QString()));
    out(QStringLiteral("speech tasks: %1\n").arg(store.speechTasks.size()));
    for (const auto& t : store.speechTasks)
        out(QStringLiteral("  %1  %2%3\n")
                .arg(FormatSchedule(t->endDate, t->startDate, t->startTime, t->endTime), t->name,
                     t->disabled ? QStringLiteral("  (disabled)") : QString()));
    out(QStringLiteral("scripts: %1\n").arg(store.scripts.size()));
    out(QStringLiteral("speech background music: %1\n").arg(store.backgroundMusic.size()));
    out(QStringLiteral("enterprise name: %1\n").arg(store.settings.enterpriseName));
    out(QStringLiteral("unused lines: %1\n").arg(unused));
    return 0;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    // The station's name, so that both find the same user data folder.
    QCoreApplication::setApplicationName(QStringLiteral("Tolvane"));
    const QStringList args = app.arguments().mid(1);
    if (args.size() == 2 && args[0] == QLatin1String("dump"))
        return dump(args[1]);
    if (args.size() == 3 && args[0] == QLatin1String("pack"))
        return pack(args[1], args[2]);
    if (!args.isEmpty() && args.size() <= 2 && args[0] == QLatin1String("check"))
        return check(args.size() == 2 ? args[1] : GetStationFolder());
    return usage();
}
