// A station killed at random moments while it saves: after every kill each
// data file loads and holds exactly what one whole save wrote, the one before
// the kill or the one it was writing, never a cut or empty file.
//   TOLVANE_KILLS    how many kills (50 by default)
//   TOLVANE_SEED     the random moments (the time by default; printed)

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <array>
#include <map>

#include "fakeclock.h"
#include "stationgen.h"
#include "store/datastore.h"
#include "support/apppaths.h"
#include "support/cryptfile.h"

namespace {

using Generations = std::array<int, StationFiles>;

QString listed(const Generations& g) {
    QStringList parts;
    for (int v : g)
        parts << QString::number(v);
    return parts.join(u' ');
}

} // namespace

class TestKillSaves : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void killsDuringSaves();

private:
    QString saveloop() const { return QStringLiteral(SAVELOOP_PATH); }
    // Loads each file as the station does and compares it with the whole
    // save of the generation it names. Empty when every file is whole.
    QString checkFiles(Generations* found);
    const std::array<QString, StationFiles>& expectedTexts(int generation);

    QTemporaryDir folder;
    QTemporaryDir privateTemp;
    FakeClock clock;
    std::map<int, std::array<QString, StationFiles>> expected;
};

void TestKillSaves::initTestCase() {
    QVERIFY(folder.isValid() && privateTemp.isValid());
    QVERIFY2(QFile::exists(saveloop()), qPrintable(saveloop()));
    QVERIFY(QFile::copy(QStringLiteral(TOLVANE_BIN_DIR "/") + CryptLibraryFileName(),
                        folder.filePath(CryptLibraryFileName())));
    QVERIFY(QDir(folder.path()).mkpath(QStringLiteral("data")));
    QVERIFY(QDir(folder.path()).mkpath(QStringLiteral("log")));
    SetAppFolderForTests(folder.path());
}

const std::array<QString, StationFiles>& TestKillSaves::expectedTexts(int generation) {
    auto found = expected.find(generation);
    if (found == expected.end()) {
        // A few generations are kept; the one asked for stays until the next call.
        if (expected.size() >= 8)
            expected.erase(expected.begin());
        DataStore store(clock, privateTemp.filePath(QStringLiteral("unused")));
        store.loading = 1;
        FillStation(store, generation);
        std::array<QString, StationFiles> texts;
        for (int file = 0; file < StationFiles; ++file)
            texts[size_t(file)] = StationFileText(store, file);
        found = expected.emplace(generation, texts).first;
    }
    return found->second;
}

QString TestKillSaves::checkFiles(Generations* found) {
    for (int file = 0; file < StationFiles; ++file) {
        // The plain text goes through a temporary folder of the test's own.
        DataStore store(clock, folder.filePath(QStringLiteral("data")), privateTemp.path());
        store.loading = 1;
        const QString name = QLatin1String(StationFileName(file));
        if (!LoadStationFile(store, file))
            return name + QStringLiteral(" does not load");
        const int generation = GenerationOf(store, file);
        if (generation < 0)
            return name + QStringLiteral(" names no generation");
        const QString text = StationFileText(store, file);
        const QString& whole = expectedTexts(generation)[size_t(file)];
        if (text != whole) {
            qsizetype at = 0;
            while (at < text.size() && at < whole.size() && text[at] == whole[at])
                ++at;
            return name + QStringLiteral(" is not the whole save of generation ") +
                   QString::number(generation) + QStringLiteral(": it loads as ") +
                   QString::number(text.size()) + QStringLiteral(" characters, not ") +
                   QString::number(whole.size()) + QStringLiteral(", from character ") +
                   QString::number(at) + QStringLiteral(" on");
        }
        (*found)[size_t(file)] = generation;
    }
    return QString();
}

void TestKillSaves::killsDuringSaves() {
    const int kills = qEnvironmentVariableIsSet("TOLVANE_KILLS")
                          ? qEnvironmentVariableIntValue("TOLVANE_KILLS")
                          : 50;
    const quint32 seed = qEnvironmentVariableIsSet("TOLVANE_SEED")
                             ? quint32(qEnvironmentVariableIntValue("TOLVANE_SEED"))
                             : quint32(QDateTime::currentMSecsSinceEpoch());
    QRandomGenerator random(seed);

    // One whole save first; its time, start-up included, sets the span in
    // which the kills fall.
    QElapsedTimer timer;
    timer.start();
    QProcess first;
    first.start(saveloop(), {folder.path(), QStringLiteral("0"), QStringLiteral("--once")});
    QVERIFY(first.waitForFinished(60000));
    QCOMPARE(first.exitCode(), 0);
    const qint64 span = 2 * timer.elapsed();
    Generations previous;
    QCOMPARE(checkFiles(&previous), QString());
    QCOMPARE(previous, (Generations{0, 0, 0, 0, 0}));

    int next = 1;
    int insideSave = 0;
    int plainTextLeft = 0;
    QStringList strays;
    QString kFiles[StationFiles];
    for (int file = 0; file < StationFiles; ++file)
        kFiles[file] = QLatin1String(StationFileName(file));
    static const QRegularExpression copyOfDataFile(
        QStringLiteral("^(ttsdata|mcatdata|mtskdata|usrdata|cmndata)\\.sx\\.[A-Za-z0-9]{6}$"));
    for (int kill = 1; kill <= kills; ++kill) {
        QProcess saver;
        saver.start(saveloop(), {folder.path(), QString::number(next)});
        QVERIFY(saver.waitForStarted());
        QThread::usleep(random.bounded(quint64(span) * 1000));
        saver.kill();
        QVERIFY(saver.waitForFinished());
        const QList<QByteArray> said = saver.readAllStandardOutput().trimmed().split('\n');
        if (said.last().startsWith('s'))
            ++insideSave;

        Generations now;
        const QString problem = checkFiles(&now);
        if (!problem.isEmpty())
            folder.setAutoRemove(false); // for a look at what the kill left
        QVERIFY2(problem.isEmpty(), qPrintable(QStringLiteral("kill ") + QString::number(kill) +
                                               QStringLiteral(" (seed ") + QString::number(seed) +
                                               QStringLiteral("): ") + problem +
                                               QStringLiteral("; left in ") + folder.path()));

        // The files are saved in order: those before the one being written
        // hold the newest generation c, those after it the one before c, or
        // what they held when this saver started if c was its first.
        const int newest = *std::max_element(now.begin(), now.end());
        const bool progressed = newest >= next;
        size_t file = 0;
        while (progressed && file < now.size() && now[file] == newest)
            ++file;
        for (; file < now.size(); ++file) {
            const int older = newest > next ? newest - 1 : previous[file];
            QVERIFY2(now[file] == (progressed ? older : previous[file]),
                     qPrintable(QStringLiteral("kill ") + QString::number(kill) +
                                QStringLiteral(": generations ") + listed(now) +
                                QStringLiteral(" after ") + listed(previous) +
                                QStringLiteral(", saving from ") + QString::number(next)));
        }
        previous = now;
        if (progressed)
            next = newest + 1;

        // Besides the data files and the temporary file, a kill may leave
        // only the encrypted copy a save was about to rename into place.
        QDir data(folder.filePath(QStringLiteral("data")));
        for (const QString& name : data.entryList(QDir::Files)) {
            if (name == QLatin1String("inttemp.sx") || strays.contains(name) ||
                std::any_of(std::begin(kFiles), std::end(kFiles),
                            [&name](const QString& file) { return name == file; }))
                continue;
            QVERIFY2(copyOfDataFile.match(name).hasMatch(),
                     qPrintable(QStringLiteral("kill ") + QString::number(kill) +
                                QStringLiteral(" left ") + name));
            strays << name;
        }
        if (QFileInfo(data.filePath(QStringLiteral("inttemp.sx"))).size() > 0)
            ++plainTextLeft;
    }
    qInfo("%d kills (seed %u), %d of them inside a save; %d data files checked, 0 lost; "
          "%d generations saved; left behind: %d copies about to be renamed, and plain text "
          "in the temporary file after %d kills",
          kills, seed, insideSave, (kills + 1) * int(StationFiles), next, int(strays.size()),
          plainTextLeft);
}

QTEST_GUILESS_MAIN(TestKillSaves)
#include "tst_killsaves.moc"
