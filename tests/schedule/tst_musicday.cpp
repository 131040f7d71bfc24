// A whole working day of the station, second by second from before work to
// after it, against the timeline the station must keep. The timeline lives in
// musicday.timeline beside this test: every log entry, every setting sent to
// the transmitter, every stop of the player and every row whose time moved.

#include <QtTest>

#include "musicbench.h"
#include "store/clocktext.h"

namespace {

// Remembers the due time each row shows and reports the rows whose time moved.
class TimelineView {
public:
    TimelineView(MusicBench& bench, QStringList& timeline) : bench(bench), timeline(timeline) {
        QObject::connect(bench.schedule, &MusicSchedule::listRebuilt, [this] { listRebuilt(); });
        QObject::connect(bench.schedule, &MusicSchedule::entryChanged,
                         [this](int index) { entryChanged(index); });
    }

    void listRebuilt() {
        shown.clear();
        for (const TodayMusicEntry& e : bench.schedule->TodayMusicList())
            shown.push_back(e.dueTime);
    }
    void entryChanged(int index) {
        const TodayMusicEntry& e = bench.schedule->TodayMusicList()[size_t(index)];
        if (size_t(index) < shown.size() && shown[size_t(index)] != e.dueTime) {
            timeline << bench.timeStamp() + QStringLiteral(" row %1 moved to %2")
                                                .arg(FileNamePartOf(e.item->path))
                                                .arg(FormatClock(e.dueTime));
            shown[size_t(index)] = e.dueTime;
        }
    }

private:
    static QString FileNamePartOf(const QString& path) { return QFileInfo(path).fileName(); }

    MusicBench& bench;
    QStringList& timeline;
    std::vector<HhmmTime> shown;
};

QStringList readTimeline(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QStringList lines;
    for (const QByteArray& raw : f.readAll().split('\n')) {
        const QString line = QString::fromUtf8(raw).trimmed();
        if (!line.isEmpty() && !line.startsWith(u'#'))
            lines << line;
    }
    return lines;
}

} // namespace

class TestMusicDay : public QObject {
    Q_OBJECT

private slots:
    void wholeWorkingDay();
};

void TestMusicDay::wholeWorkingDay() {
    MusicBench bench(QDateTime(QDate(2026, 3, 2), QTime(7, 59, 50))); // a Monday
    bench.setWorkingHours(800, 1800);
    bench.connectTransmitter(true);

    // Begins before work: taken up when work begins. Background rotation in
    // order with limited counts, a bell at three moments, and a batch of
    // three news files twice a day whose first file is longer than measured.
    MusicTask* morning = bench.addTask(QStringLiteral("Morning"), 730, 1200);
    morning->zones1 = 0x80;
    bench.addBackground(morning, bench.file(QStringLiteral("m1.mp3"), 200));
    bench.addBackground(morning, bench.file(QStringLiteral("m2.mp3"), 150), 3);
    bench.addBackground(morning, bench.file(QStringLiteral("m3.mp3"), 240), 2);
    bench.addTimePoints(morning, bench.file(QStringLiteral("bell.mp3"), 30), {830, 1000, 1145});
    const QList<QPair<QString, int>> news{{"news1.mp3", 200}, {"news2.mp3", 90}, {"news3.mp3", 60}};
    const QList<QList<HhmmTime>> newsTimes{{900, 1100}, {902, 1102}, {903, 1103}};
    for (int i = 0; i < 3; ++i) {
        PlayItem* item =
            bench.addTimePoints(morning, bench.file(news[i].first, news[i].second), newsTimes[i]);
        item->batchKey = 4;
        item->batchIndex = i;
    }

    // Starts in the minute the morning still runs: takes over. Random
    // rotation and a chime every half hour.
    MusicTask* midday = bench.addTask(QStringLiteral("Midday"), 1200, 1329);
    midday->playOrder = 1;
    midday->zones1 = 0x40;
    midday->zones2 = 0x01;
    bench.addBackground(midday, bench.file(QStringLiteral("r1.mp3"), 170));
    bench.addBackground(midday, bench.file(QStringLiteral("r2.mp3"), 130));
    bench.addBackground(midday, bench.file(QStringLiteral("r3.mp3"), 190));
    bench.addInterval(midday, bench.file(QStringLiteral("chime.mp3"), 20), 1200, 1330, 30);

    // The afternoon, interrupted by a short special whose only item runs
    // out; when the special ends the afternoon is taken up again.
    MusicTask* afternoon = bench.addTask(QStringLiteral("Afternoon"), 1330, 1800);
    afternoon->zones1 = 0x20;
    bench.addBackground(afternoon, bench.file(QStringLiteral("a1.mp3"), 300), 5);
    bench.addBackground(afternoon, bench.file(QStringLiteral("a2.mp3"), 240));
    bench.addTimePoints(afternoon, bench.file(QStringLiteral("gong.mp3"), 45), {1500, 1759});
    bench.addInterval(afternoon, bench.file(QStringLiteral("tip.mp3"), 25), 1415, 1630, 45);
    MusicTask* special = bench.addTask(QStringLiteral("Special"), 1400, 1430);
    special->zones3 = 0x01;
    bench.addBackground(special, bench.file(QStringLiteral("s1.mp3"), 400), 2);

    QStringList timeline;
    TimelineView view(bench, timeline);

    QStringList loads;
    while (bench.clock.now().time() < QTime(18, 2)) {
        bench.second();
        for (const QString& command : bench.takeCommands()) {
            if (command.contains(u'='))
                timeline << command.left(9) + QStringLiteral("sent ") + command.mid(9);
        }
        // A stop that makes way for the next file in the same second is
        // part of starting that file; only a stop that leaves silence counts.
        const QStringList calls = bench.takeMediaCalls();
        if (!calls.isEmpty() && calls.filter(QStringLiteral(" load ")).isEmpty() &&
            !calls.filter(QStringLiteral(" stop")).isEmpty())
            timeline << calls.filter(QStringLiteral(" stop")).last();
        loads << bench.takeLoads();
    }

    // Log entries and the other events of one second keep their own order;
    // log entries of a second come first.
    QStringList merged = bench.logLines();
    for (const QString& event : timeline) {
        qsizetype at = merged.size();
        while (at > 0 && merged[at - 1].left(8) > event.left(8))
            --at;
        merged.insert(at, event);
    }

    // What the log says was played is what the player was given.
    QStringList playing;
    for (const QString& line : merged.filter(QStringLiteral(" Playing: ")))
        playing << line.left(9) + line.mid(18);
    QCOMPARE(playing, loads);

    const QString expectedPath =
        QStringLiteral(TOLVANE_SOURCE_DIR "/tests/schedule/musicday.timeline");
    const QStringList expected = readTimeline(expectedPath);
    if (merged != expected) {
        const QString actualPath = QDir::temp().filePath(QStringLiteral("musicday.actual"));
        QFile out(actualPath);
        if (out.open(QIODevice::WriteOnly))
            out.write(merged.join(u'\n').toUtf8() + '\n');
        qsizetype i = 0;
        while (i < merged.size() && i < expected.size() && merged[i] == expected[i])
            ++i;
        QFAIL(qPrintable(
            QStringLiteral("timeline differs at line %1: got \"%2\", expected \"%3\" "
                           "(whole run in %4)")
                .arg(QString::number(i + 1), merged.value(i), expected.value(i), actualPath)));
    }
}

QTEST_GUILESS_MAIN(TestMusicDay)
#include "tst_musicday.moc"
