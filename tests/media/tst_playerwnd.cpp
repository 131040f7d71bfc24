#include <QAudioDevice>
#include <QComboBox>
#include <QLabel>
#include <QMediaDevices>
#include <QProcess>
#include <QSignalSpy>
#include <QSlider>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

#include "fakemedia.h"
#include "support/clock.h"
#include "ui/media/playerwnd.h"

// QSKIP returns from the calling function, so this has to be a macro.
#define NEED_SOUND()                                                                               \
    if (QMediaDevices::audioOutputs().isEmpty())                                                   \
    QSKIP("No sound server answers: start PulseAudio with a null sink (scripts/test.sh does "      \
          "so) to play for real.")

// The visible player: black before anything is loaded, its controls while a
// file plays, what the operator's buttons do to the polled state, and the
// voice lists it fills.
class TestPlayerWnd : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void blackBeforeAnythingIsLoaded();
    void showsAPlayingFile();
    void operatorButtonsAreSeenThroughPolling();
    void voiceComboKeepsItsSelection();

private:
    QString makeTone(const QString& name, int seconds);
    static bool allBlack(const QImage& image, const QRect& area);

    QTemporaryDir folder;
    SystemClock clock;
};

void TestPlayerWnd::initTestCase() {
    QVERIFY(folder.isValid());
}

QString TestPlayerWnd::makeTone(const QString& name, int seconds) {
    const QString path = folder.filePath(name);
    QProcess sox;
    sox.start("sox", {"-n", "-r", "44100", "-c", "2", path, "synth", QString::number(seconds),
                      "sine", "440"});
    if (!sox.waitForFinished(60000) || sox.exitCode() != 0)
        return QString();
    return path;
}

bool TestPlayerWnd::allBlack(const QImage& image, const QRect& area) {
    for (int y = area.top(); y <= area.bottom(); y += 3) {
        for (int x = area.left(); x <= area.right(); x += 3) {
            if (QColor(image.pixel(x, y)).value() != 0)
                return false;
        }
    }
    return true;
}

void TestPlayerWnd::blackBeforeAnythingIsLoaded() {
    CPlayerWnd wnd(clock, nullptr);
    wnd.resize(420, 260);
    wnd.show();
    QVERIFY(QTest::qWaitForWindowExposed(&wnd));
    const QImage image = wnd.grab().toImage();
    auto* screen = wnd.findChild<QStackedWidget*>("playerScreen");
    QVERIFY(screen);
    QVERIFY(screen->height() > 150);
    QVERIFY(allBlack(image, screen->geometry()));
    QVERIFY(!wnd.findChild<QToolButton*>("playPauseButton")->isEnabled());
    QVERIFY(!wnd.findChild<QToolButton*>("stopButton")->isEnabled());
    QVERIFY(!wnd.findChild<QSlider*>("positionSlider")->isEnabled());
}

void TestPlayerWnd::showsAPlayingFile() {
    NEED_SOUND();
    const QString path = makeTone("morning-tone.wav", 6);
    QVERIFY(!path.isEmpty());
    CPlayerWnd wnd(clock, nullptr);
    wnd.resize(420, 260);
    wnd.show();
    QVERIFY(QTest::qWaitForWindowExposed(&wnd));

    wnd.SetPlayerVolume(60);
    wnd.PlayFile(path);
    auto* elapsed = wnd.findChild<QLabel*>("elapsedLabel");
    auto* total = wnd.findChild<QLabel*>("totalLabel");
    QTRY_COMPARE_WITH_TIMEOUT(total->text(), QString("0:06"), 5000);
    QTRY_COMPARE_WITH_TIMEOUT(elapsed->text(), QString("0:01"), 5000);
    QCOMPARE(wnd.findChild<QLabel*>("mediaTitle")->text(), QString("morning-tone.wav"));
    auto* slider = wnd.findChild<QSlider*>("positionSlider");
    QVERIFY(slider->isEnabled());
    QCOMPARE(slider->maximum(), 6000);
    QVERIFY(slider->value() >= 1000);
    QCOMPARE(wnd.findChild<QSlider*>("volumeSlider")->value(), 60);
    QVERIFY(wnd.findChild<QToolButton*>("playPauseButton")->isEnabled());
    QVERIFY(wnd.findChild<QToolButton*>("stopButton")->isEnabled());

    const QImage image = wnd.grab().toImage();
    QVERIFY(image.save("/tmp/tolvane-playerwnd.png"));
    auto* screen = wnd.findChild<QStackedWidget*>("playerScreen");
    // The file's name stands in the middle of the black screen.
    QVERIFY(!allBlack(image, screen->geometry()));
    const QRect corner(screen->geometry().topLeft(), QSize(60, 40));
    QVERIFY(allBlack(image, corner));
    wnd.StopPlayback();
}

void TestPlayerWnd::operatorButtonsAreSeenThroughPolling() {
    NEED_SOUND();
    const QString path = makeTone("operator.wav", 8);
    QVERIFY(!path.isEmpty());
    CPlayerWnd wnd(clock, nullptr);
    int nextMusic = 0;
    connect(&wnd.player(), &Player::nextMusicWanted, [&] { ++nextMusic; });
    wnd.show();
    wnd.PlayFile(path);
    QTRY_VERIFY_WITH_TIMEOUT(wnd.GetPlayPosition() > 30, 5000);

    auto* playPause = wnd.findChild<QToolButton*>("playPauseButton");
    QTest::mouseClick(playPause, Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(wnd.player().backend()->playState(), MediaBackend::PlayState::Paused,
                              3000);
    // Paused by the operator is not idle: the schedule waits.
    wnd.player().Tick();
    QCOMPARE(nextMusic, 0);
    QTest::mouseClick(playPause, Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(wnd.player().backend()->playState(), MediaBackend::PlayState::Playing,
                              3000);

    QTest::mouseClick(wnd.findChild<QToolButton*>("stopButton"), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(wnd.IsPlayerIdle(), 3000);
    QCOMPARE(wnd.player().playerState(), int(Player::Started));
    wnd.player().Tick();
    QCOMPARE(nextMusic, 1);
}

void TestPlayerWnd::voiceComboKeepsItsSelection() {
    FakeMediaSource source;
    auto voice = std::make_unique<FakeTtsBackend>();
    FakeTtsBackend* fake = voice.get();
    fake->installed = {{"t0", "Other Voice"}, {"t1", "VW Paul"}, {"t2", "vw hui"}};
    Player player(source.factory(), std::move(voice), clock);
    CPlayerWnd wnd(player);

    QComboBox effects;
    QVERIFY(wnd.FillVoiceList(&effects, true));
    QCOMPARE(effects.count(), 2);
    QCOMPARE(effects.itemText(0), QString("Male Voice (Paul)"));
    QCOMPARE(effects.itemText(1), QString(u"中文女声Hui"_qs));
    effects.setCurrentIndex(0);

    QSignalSpy changes(&effects, &QComboBox::currentIndexChanged);
    QVERIFY(player.speech().SpeakText(1, "hello"));
    QCOMPARE(fake->takeCalls(), (QStringList{"voice t2", "speak hello"}));
    QCOMPARE(effects.currentIndex(), 0);
    QCOMPARE(changes.count(), 0);

    // A second list fills by the same rule without becoming the effect list.
    QComboBox editor;
    QVERIFY(wnd.FillVoiceList(&editor, false));
    QCOMPARE(editor.count(), 2);
    QVERIFY(player.speech().SpeakText(-1, "again"));
    QCOMPARE(fake->takeCalls(), (QStringList{"voice t1", "speak again"}));
}

QTEST_MAIN(TestPlayerWnd)
#include "tst_playerwnd.moc"
