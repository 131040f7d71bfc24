// The speech task editor, offscreen, on a station with the fake clock (a
// Monday), player and voice: the defaults of a new task, what confirm refuses
// and what it gives back, the background music and zone controls, the
// variables and listening.

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QtTest>

#include "media/player.h"
#include "schedule/speechjob.h"
#include "stationrig.h"
#include "store/clocktext.h"
#include "ui/media/playerwnd.h"
#include "ui/speech/ttstaskeditdlg.h"

namespace {

const QList<TtsVoice> kFiveVoices = {
    {"tok-hui", "VW Hui"},     {"tok-liang", "VW Liang"}, {"tok-lily", "VW Lily"},
    {"tok-julie", "VW Julie"}, {"tok-paul", "VW Paul"},
};

constexpr YmdDate kToday = 20260302;

QString keysOf(const QList<MessageBox::Shown>& shown) {
    QStringList keys;
    for (const MessageBox::Shown& box : shown)
        keys << (box.key.isEmpty() ? QStringLiteral("<range>") : box.key);
    return keys.join(QLatin1Char(','));
}

template <typename T> T* child(QObject& parent, const char* name) {
    return parent.findChild<T*>(QLatin1String(name));
}

SpeechTask namedTask(const QString& name) {
    SpeechTask task;
    task.name = name;
    task.startDate = 20260301;
    task.endDate = 20260310;
    task.startTime = 700;
    task.endTime = 900;
    task.interval = 30;
    task.weekdays = 0x0A;
    task.effect = 3;
    task.bkMusic = QStringLiteral("/m/b.mp3");
    task.text = QStringLiteral("Hello");
    return task;
}

} // namespace

class TestTaskEdit : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void defaults_data();
    void defaults();
    void confirm_data();
    void confirm();
    void backgroundMusic_data();
    void backgroundMusic();
    void zonesAndWeekdays_data();
    void zonesAndWeekdays();
    void variables_data();
    void variables();
    void listen_data();
    void listen();

private:
    void openStation(int role, const QStringList& music = {});
    std::unique_ptr<CTTSTaskEditDlg> openDialog(const SpeechTask* existing = nullptr);
    // What the voice was told over a few seconds of the player.
    QStringList voiceCallsAfterTicks() {
        for (int i = 0; i < 6; ++i)
            rig->station->player().Tick();
        return rig->voice->takeCalls().filter(
            QRegularExpression(QStringLiteral("^(speak|voice) ")));
    }

    std::unique_ptr<StationRig> rig;
    DataStore* store = nullptr;
    std::unique_ptr<CPlayerWnd> playerWnd;
    std::unique_ptr<QComboBox> effects;
};

void TestTaskEdit::init() {
    rig = std::make_unique<StationRig>();
    QVERIFY(rig->ready);
}

void TestTaskEdit::cleanup() {
    effects.reset();
    playerWnd.reset();
    rig.reset();
}

void TestTaskEdit::openStation(int role, const QStringList& music) {
    DataStore& s = rig->app->store();
    s.LoadAll();
    for (const QString& path : music)
        s.backgroundMusic.push_back(
            std::make_unique<SpeechBackgroundMusic>(SpeechBackgroundMusic{path, 50}));
    s.settings.enterpriseName = QStringLiteral("River FM");
    store = &s;
    rig->app->state().currentUser = role ? QStringLiteral("Admin") : QStringLiteral("Clerk");
    rig->app->state().currentRole = role;
    rig->station = rig->app->makeStation();
    QVERIFY(rig->voice);
    rig->voice->installed = kFiveVoices;
    playerWnd = std::make_unique<CPlayerWnd>(rig->station->player());
    // As the effect page does at start-up: the list voice indexes point into.
    effects = std::make_unique<QComboBox>();
    QVERIFY(playerWnd->FillVoiceList(effects.get(), true));
    MessageBox::clearShown();
    MessageBox::setDefaultAnswer(QMessageBox::Ok);
}

std::unique_ptr<CTTSTaskEditDlg> TestTaskEdit::openDialog(const SpeechTask* existing) {
    auto dlg = std::make_unique<CTTSTaskEditDlg>(*store, rig->app->state(), rig->clock, *playerWnd,
                                                 rig->station->speechJob(), existing);
    dlg->show();
    return dlg;
}

void TestTaskEdit::defaults_data() {
    QTest::addColumn<int>("hoursStart"); // Monday's working hours
    QTest::addColumn<int>("hoursEnd");
    QTest::addColumn<bool>("earlierTask");
    QTest::addColumn<bool>("edit");
    QTest::addColumn<QStringList>("shown");  // start, end, music
    QTest::addColumn<QList<int>>("numbers"); // interval, effect, start date, end date
    QTest::addColumn<QString>("keys");       // on confirm with a name and a text

    const QString none = QString::fromUtf8("（无背景音乐）");
    const QList<int> fresh{10, 0, kToday, kToday};
    QTest::newRow("working hours")
        << 800 << 1730 << false << false << QStringList{"08:00", "17:30", none} << fresh << "";
    QTest::newRow("a day without working hours")
        << 0 << 0 << false << false << QStringList{"00:00", "24:00", none} << fresh
        << "input_valid_end_time";
    QTest::newRow("an end of 24:00 is no end")
        << 900 << 2400 << false << false << QStringList{"09:00", "24:00", none} << fresh
        << "input_valid_end_time";
    QTest::newRow("after the last task")
        << 800 << 1730 << true << false << QStringList{"07:00", "09:00", "b.mp3"}
        << QList<int>{30, 3, 20260301, 20260310} << "";
    QTest::newRow("an edited task keeps its own")
        << 800 << 1730 << true << true << QStringList{"11:00", "12:00", "a.mp3"}
        << QList<int>{5, 1, 20260401, 20260402} << "";
}

void TestTaskEdit::defaults() {
    QFETCH(int, hoursStart);
    QFETCH(int, hoursEnd);
    QFETCH(bool, earlierTask);
    QFETCH(bool, edit);
    QFETCH(QStringList, shown);
    QFETCH(QList<int>, numbers);
    QFETCH(QString, keys);
    openStation(1, {QStringLiteral("/m/a.mp3"), QStringLiteral("/m/b.mp3")});
    store->settings.dailyTime[0] = hoursStart;
    store->settings.dailyTime[1] = hoursEnd;
    // Tuesday's hours must not count on a Monday.
    store->settings.dailyTime[2] = 1000;
    store->settings.dailyTime[3] = 1100;
    if (earlierTask) {
        SpeechTask first = namedTask(QStringLiteral("First"));
        first.startTime = 600;
        first.effect = 4;
        store->speechTasks.push_back(std::make_unique<SpeechTask>(first));
        store->speechTasks.push_back(std::make_unique<SpeechTask>(namedTask("Last")));
    }
    SpeechTask edited;
    edited.name = QStringLiteral("Edited");
    edited.startDate = 20260401;
    edited.endDate = 20260402;
    edited.startTime = 1100;
    edited.endTime = 1200;
    edited.interval = 5;
    edited.weekdays = 0x80;
    edited.effect = 1;
    edited.bkMusic = QStringLiteral("/m/a.mp3");
    edited.text = QStringLiteral("Bye");
    auto dlg = openDialog(edit ? &edited : nullptr);

    QCOMPARE(dlg->windowTitle(), QString::fromUtf8("播音任务"));
    QCOMPARE(child<QLineEdit>(*dlg, "startTimeEdit")->text(), shown[0]);
    QCOMPARE(child<QLineEdit>(*dlg, "endTimeEdit")->text(), shown[1]);
    QCOMPARE(child<QComboBox>(*dlg, "bkMusicCombo")->currentText(), shown[2]);
    QCOMPARE(child<QSpinBox>(*dlg, "intervalSpin")->value(), numbers[0]);
    QCOMPARE(child<QComboBox>(*dlg, "effectCombo")->currentIndex(), numbers[1]);
    QCOMPARE(child<QDateEdit>(*dlg, "startDateEdit")->date(), YmdToDate(numbers[2]));
    QCOMPARE(child<QDateEdit>(*dlg, "endDateEdit")->date(), YmdToDate(numbers[3]));
    // Only the schedule and the sound follow the last task.
    QCOMPARE(child<QLineEdit>(*dlg, "nameEdit")->text(), edit ? edited.name : QString());
    QCOMPARE(child<QPlainTextEdit>(*dlg, "textEdit")->toPlainText(),
             edit ? edited.text : QString());
    QCOMPARE(child<QCheckBox>(*dlg, "mondayBox")->isChecked(), true);
    QCOMPARE(child<QCheckBox>(*dlg, "sundayBox")->isChecked(), !edit);

    child<QLineEdit>(*dlg, "nameEdit")->setText(QStringLiteral("Task"));
    child<QPlainTextEdit>(*dlg, "textEdit")->setPlainText(QStringLiteral("Text"));
    child<QPushButton>(*dlg, "okButton")->click();
    QCOMPARE(keysOf(MessageBox::shown()), keys);
    QCOMPARE(dlg->result(), keys.isEmpty() ? QDialog::Accepted : QDialog::Rejected);
    // The dialog leaves the store alone.
    QCOMPARE(store->speechTasks.size(), size_t(earlierTask ? 2 : 0));
}

void TestTaskEdit::confirm_data() {
    for (const char* column :
         {"name", "start", "end", "text", "keys", "focus", "storedName", "storedText"})
        QTest::addColumn<QString>(column);
    QTest::addColumn<int>("role");
    QTest::addColumn<int>("endDays"); // the end date after the start date
    QTest::addColumn<int>("storedStart");
    QTest::addColumn<int>("storedEnd");
    // Accepted rows give the stored name and text; refused ones the message
    // and where the caret is left.
    const auto row = [](const char* tag, const QStringList& texts, int endDays = 0,
                        int storedStart = 800, int storedEnd = 900, int role = 1) {
        QTest::newRow(tag) << texts.value(0) << texts.value(1) << texts.value(2) << texts.value(3)
                           << texts.value(4) << texts.value(5) << texts.value(6) << texts.value(7)
                           << role << endDays << storedStart << storedEnd;
    };
    row("equal times", {"News", "08:30", "08:30", "Hi", "", "", "News", "Hi"}, 0, 830, 830);
    row("end a minute early",
        {"News", "08:30", "08:29", "Hi", "end_time_smaller_err", "endTimeEdit"});
    row("blank times read as 00:00", {"News", "", "", "Hi", "", "", "News", "Hi"}, 3, 0, 0);
    row("a blank digit is 0", {"News", "08:3", "2", "Hi", "", "", "News", "Hi"}, 0, 830, 2000);
    row("start at 24:00",
        {"News", "24:00", "24:00", "Hi", "input_valid_start_time", "startTimeEdit"});
    row("end minute 60", {"News", "08:00", "12:60", "Hi", "input_valid_end_time", "endTimeEdit"});
    row("only spaces", {"   ", "08:00", "09:00", "Hi", "entry_task_name", "nameEdit"});
    row("spaces cut", {"  word  ", "08:00", "09:00", " Hi ", "", "", "word", " Hi "});
    row("a tab is no space", {"\tword ", "08:00", "09:00", "Hi", "", "", "\tword", "Hi"});
    row("bars become spaces", {"a|b", "08:00", "09:00", "x|y\nz", "", "", "a b", "x y\nz"});
    row("end date a day early",
        {"News", "08:00", "07:00", "Hi", "end_date_smaller_err", "endDateEdit"}, -1);
    row("the name before the dates", {"", "08:00", "09:00", "Hi", "entry_task_name", "nameEdit"},
        -1);
    row("no text", {"News", "08:00", "09:00", "", "entry_speak_content", "textEdit"});
    row("operator", {"News", "08:00", "09:00", "Hi", "only_admin_role_to_exec"}, 0, 0, 0, 0);
}

void TestTaskEdit::confirm() {
    QFETCH(int, role);
    QFETCH(QString, name);
    QFETCH(QString, start);
    QFETCH(QString, end);
    QFETCH(int, endDays);
    QFETCH(QString, text);
    QFETCH(QString, keys);
    QFETCH(QString, focus);
    QFETCH(QString, storedName);
    QFETCH(QString, storedText);
    QFETCH(int, storedStart);
    QFETCH(int, storedEnd);
    openStation(role);
    SpeechTask task = namedTask(QStringLiteral("Old"));
    task.preDelay = task.postDelay = 5;
    auto dlg = openDialog(&task);
    child<QLineEdit>(*dlg, "nameEdit")->setText(name);
    child<QLineEdit>(*dlg, "startTimeEdit")->setText(start);
    child<QLineEdit>(*dlg, "endTimeEdit")->setText(end);
    const QDate first(2026, 5, 1);
    child<QDateEdit>(*dlg, "startDateEdit")->setDate(first);
    child<QDateEdit>(*dlg, "endDateEdit")->setDate(first.addDays(endDays));
    child<QPlainTextEdit>(*dlg, "textEdit")->setPlainText(text);
    QApplication::setActiveWindow(dlg.get());
    child<QPushButton>(*dlg, "okButton")->click();

    QCOMPARE(keysOf(MessageBox::shown()), keys);
    for (const MessageBox::Shown& box : MessageBox::shown())
        QCOMPARE(box.icon, MessageBox::Icon::Exclamation);
    if (!focus.isEmpty())
        QCOMPARE(dlg->focusWidget()->objectName(), focus);
    QCOMPARE(dlg->isVisible(), !keys.isEmpty());
    if (!keys.isEmpty()) {
        QCOMPARE(dlg->task().name, QStringLiteral("Old"));
        return;
    }
    const SpeechTask& out = dlg->task();
    QCOMPARE(out.name, storedName);
    QCOMPARE(out.text, storedText);
    QCOMPARE(out.startTime, storedStart);
    QCOMPARE(out.endTime, storedEnd);
    QCOMPARE(out.startDate, 20260501);
    QCOMPARE(out.endDate, DateToYmd(first.addDays(endDays)));
    QCOMPARE(out.preDelay, 0);
    QCOMPARE(out.postDelay, 0);
    QCOMPARE(out.interval, 30);
    QCOMPARE(out.effect, 3);
}

void TestTaskEdit::backgroundMusic_data() {
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QString>("bkMusic");
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("stored");

    const QStringList two{"C:\\Music\\a.mp3", "/m/b.mp3"};
    QTest::newRow("none") << two << "" << 0 << "（无背景音乐）"
                          << "";
    QTest::newRow("case and slashes") << two << "c:/music/A.MP3" << 1 << "a.mp3"
                                      << "C:\\Music\\a.mp3";
    QTest::newRow("the last of equal paths")
        << QStringList{"/m/a.mp3", "/m/b.mp3", "/M/A.mp3", "/m/c.mp3"} << "/m/a.mp3" << 3 << "A.mp3"
        << "/M/A.mp3";
    QTest::newRow("a deleted entry") << two << "/m/gone.mp3" << 0 << "（无背景音乐）"
                                     << "";
}

void TestTaskEdit::backgroundMusic() {
    QFETCH(QStringList, entries);
    QFETCH(QString, bkMusic);
    QFETCH(int, line);
    QFETCH(QString, shown);
    QFETCH(QString, stored);
    openStation(1, entries);
    SpeechTask task = namedTask(QStringLiteral("Music"));
    task.bkMusic = bkMusic;
    auto dlg = openDialog(&task);
    auto* combo = child<QComboBox>(*dlg, "bkMusicCombo");
    QCOMPARE(combo->count(), entries.size() + 1);
    QCOMPARE(combo->currentIndex(), line);
    QCOMPARE(combo->currentText(), shown);
    QCOMPARE(dlg->listenRequest().backgroundMusic, stored);
    child<QPushButton>(*dlg, "okButton")->click();
    QCOMPARE(keysOf(MessageBox::shown()), QString());
    QCOMPARE(dlg->task().bkMusic, stored);
}

void TestTaskEdit::zonesAndWeekdays_data() {
    QTest::addColumn<int>("groupOn"); // group 2 as the task holds it
    QTest::addColumn<int>("zones");
    QTest::addColumn<QStringList>("clicks");
    QTest::addColumn<int>("storedGroupOn");
    QTest::addColumn<int>("storedZones");

    QTest::newRow("unchanged") << 1 << 0xA5 << QStringList{} << 1 << 0xA5;
    QTest::newRow("a zone off switches the group off")
        << 1 << 0xFF << QStringList{"zone9Button"} << 0 << 0x7F;
    QTest::newRow("the group on again switches all on")
        << 1 << 0xFF << QStringList{"zone12Button", "group2Box"} << 1 << 0xFF;
    QTest::newRow("the group off switches all off")
        << 1 << 0xFF << QStringList{"group2Box"} << 0 << 0x00;
    QTest::newRow("a zone on leaves the group off")
        << 0 << 0x00 << QStringList{"zone16Button"} << 0 << 0x01;
    QTest::newRow("a zone on leaves the group on")
        << 1 << 0x00 << QStringList{"zone16Button"} << 1 << 0x01;
}

void TestTaskEdit::zonesAndWeekdays() {
    QFETCH(int, groupOn);
    QFETCH(int, zones);
    QFETCH(QStringList, clicks);
    QFETCH(int, storedGroupOn);
    QFETCH(int, storedZones);
    openStation(1);
    SpeechTask task = namedTask(QStringLiteral("Zones"));
    // Saturday and Sunday; bit 0 belongs to no day and is not kept.
    task.weekdays = 0x07;
    task.group1On = 1;
    task.zones1 = 0x81;
    task.group2On = groupOn;
    task.zones2 = ZoneMask(zones);
    task.zones3 = 0x10;
    auto dlg = openDialog(&task);
    QVERIFY(child<QPushButton>(*dlg, "zone1Button")->isChecked());
    QVERIFY(!child<QPushButton>(*dlg, "zone2Button")->isChecked());
    QVERIFY(child<QPushButton>(*dlg, "zone8Button")->isChecked());
    QVERIFY(child<QPushButton>(*dlg, "zone20Button")->isChecked());
    QVERIFY(!child<QCheckBox>(*dlg, "fridayBox")->isChecked());
    QVERIFY(child<QCheckBox>(*dlg, "saturdayBox")->isChecked());
    QCOMPARE(child<QCheckBox>(*dlg, "sundayBox")->palette().color(QPalette::WindowText),
             QColor(255, 0, 0));
    for (const QString& name : clicks) {
        auto* button = dlg->findChild<QAbstractButton*>(name);
        QVERIFY2(button, qPrintable(name));
        button->click();
    }
    child<QPushButton>(*dlg, "okButton")->click();
    QCOMPARE(keysOf(MessageBox::shown()), QString());
    const SpeechTask& out = dlg->task();
    QCOMPARE(out.group2On, storedGroupOn);
    QCOMPARE(int(out.zones2), storedZones);
    QCOMPARE(out.group1On, 1);
    QCOMPARE(int(out.zones1), 0x81);
    QCOMPARE(out.group3On, 0);
    QCOMPARE(int(out.zones3), 0x10);
    QCOMPARE(int(out.weekdays), 0x06);
}

void TestTaskEdit::variables_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("anchor");
    QTest::addColumn<int>("caret");
    QTest::addColumn<QString>("variable");
    QTest::addColumn<QString>("after");
    QTest::addColumn<QString>("spoken"); // on the fake clock's Monday noon

    QTest::newRow("date at the caret")
        << "Today is  now" << 9 << 9 << "%Date%"
        << "Today is %Date% now" << QString::fromUtf8("Today is 2026年3月2日 now");
    QTest::newRow("over the selection") << "Hello XX" << 6 << 8 << "%Name%"
                                        << "Hello %Name%"
                                        << "Hello River FM";
    QTest::newRow("at the start") << " is the day" << 0 << 0 << "%Week%"
                                  << "%Week% is the day" << QString::fromUtf8("星期一 is the day");
    QTest::newRow("into an empty text") << "" << 0 << 0 << "%Time%"
                                        << "%Time%" << QString::fromUtf8("上午12时0分");
}

void TestTaskEdit::variables() {
    QFETCH(QString, text);
    QFETCH(int, anchor);
    QFETCH(int, caret);
    QFETCH(QString, variable);
    QFETCH(QString, after);
    QFETCH(QString, spoken);
    openStation(0);
    SpeechTask task = namedTask(QStringLiteral("Vars"));
    task.text = text;
    auto dlg = openDialog(&task);
    auto* edit = child<QPlainTextEdit>(*dlg, "textEdit");
    QTextCursor cursor = edit->textCursor();
    cursor.setPosition(anchor);
    cursor.setPosition(caret, QTextCursor::KeepAnchor);
    edit->setTextCursor(cursor);

    auto* menu = child<QMenu>(*dlg, "VarList");
    QVERIFY(menu);
    QCOMPARE(child<QPushButton>(*dlg, "variableButton")->menu(), menu);
    QCOMPARE(menu->actions().size(), 4);
    for (QAction* action : menu->actions()) {
        if (action->text().contains(variable))
            action->trigger();
    }
    QCOMPARE(edit->toPlainText(), after);
    auto* listen = child<QPushButton>(*dlg, "listenButton");
    QCOMPARE(dlg->spokenText(), spoken);
    QCOMPARE(listen->toolTip(), Qt::convertFromPlainText(spoken));
}

void TestTaskEdit::listen_data() {
    QTest::addColumn<int>("role");
    QTest::addColumn<bool>("busy");
    QTest::addColumn<int>("musicLine");
    QTest::addColumn<QStringList>("spoken");
    QTest::addColumn<QString>("loaded"); // the background music the player took
    QTest::addColumn<QString>("keys");   // listening, then confirming

    QTest::newRow("operator listens, cannot confirm")
        << 0 << false << 0 << QStringList{"voice tok-lily", "speak Now at 上午12时0分"} << ""
        << "only_admin_role_to_exec";
    QTest::newRow("with background music")
        << 1 << false << 2 << QStringList{"voice tok-lily", "speak Now at 上午12时0分"} << "b.mp3"
        << "";
    QTest::newRow("while speaking")
        << 1 << true << 0 << QStringList{"voice tok-hui", "speak busy"} << ""
        << "wait_for_speaking";
}

void TestTaskEdit::listen() {
    QFETCH(int, role);
    QFETCH(bool, busy);
    QFETCH(int, musicLine);
    QFETCH(QStringList, spoken);
    QFETCH(QString, loaded);
    QFETCH(QString, keys);
    // The job plays only background music that is there.
    QStringList music;
    for (const char* name : {"a.mp3", "b.mp3"}) {
        music << rig->folder.filePath(QLatin1String(name));
        QFile file(music.last());
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    openStation(role, music);
    SpeechJob& job = rig->station->speechJob();
    // In working hours a scheduled speech would wake the transmitter; a
    // preview must not.
    rig->app->state().workingNow = true;
    QSignalSpy wakes(&job, &SpeechJob::wakeRequested);
    if (busy)
        job.SpeakInstantText(QStringLiteral("busy"), false);

    SpeechTask task = namedTask(QStringLiteral("Listen"));
    task.bkMusic.clear();
    auto dlg = openDialog(&task);
    // What the dialog shows counts, not what the task held.
    child<QPlainTextEdit>(*dlg, "textEdit")->setPlainText(QStringLiteral("Now at %Time%"));
    child<QComboBox>(*dlg, "effectCombo")->setCurrentIndex(2);
    child<QComboBox>(*dlg, "bkMusicCombo")->setCurrentIndex(musicLine);
    child<QLineEdit>(*dlg, "endTimeEdit")->setText(QStringLiteral("99:99"));
    rig->voice->takeCalls();
    if (rig->media.last)
        rig->media.last->takeCalls();
    child<QPushButton>(*dlg, "listenButton")->click();
    if (!busy)
        child<QPushButton>(*dlg, "okButton")->click();

    QCOMPARE(keysOf(MessageBox::shown()),
             role == 1 && !busy ? QStringLiteral("input_valid_end_time") : keys);
    QCOMPARE(wakes.count(), 0);
    const QStringList told = voiceCallsAfterTicks();
    QCOMPARE(told, spoken);
    QStringList media = rig->media.last ? rig->media.last->takeCalls() : QStringList();
    QCOMPARE(media.filter(QStringLiteral("load ")),
             loaded.isEmpty() ? QStringList()
                              : QStringList{"load " + rig->folder.filePath(loaded)});
    QVERIFY(store->speechTasks.empty());
}

QTEST_MAIN(TestTaskEdit)
#include "tst_taskedit.moc"
