// The speech task page, offscreen, on a station with the fake clock, player
// and voice at 12:00 on a working Monday: how its rows look, what each change
// does to today's speech list, the store and the speech file read back, a
// speech that keeps speaking while its task is edited or deleted, the roles
// and the search.

#include <QCheckBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTreeView>
#include <QtTest>

#include "modalanswerer.h"
#include "schedule/speechjob.h"
#include "schedule/speechschedule.h"
#include "station/speechtaskmodel.h"
#include "stationrig.h"
#include "store/clocktext.h"
#include "ui/media/playerwnd.h"
#include "ui/speech/ttstaskdlg.h"

namespace {

SpeechTask makeTask(const char* name, HhmmTime start, const char* text, YmdDate from = 20260101,
                    YmdDate to = 20261231) {
    SpeechTask task;
    task.name = QString::fromUtf8(name);
    task.startDate = from;
    task.endDate = to;
    task.startTime = start;
    task.endTime = 1800;
    task.weekdays = 0xFE; // Monday to Sunday
    task.text = QString::fromUtf8(text);
    return task;
}

QStringList namesOf(const DataStore& store) {
    QStringList names;
    for (const auto& task : store.speechTasks)
        names << task->name;
    return names;
}

QStringList todaysList(const SpeechSchedule& schedule) {
    QStringList entries;
    for (const TodaySpeechEntry& entry : schedule.TodaySpeechList())
        entries << FormatClock(entry.dueTime) + u' ' + entry.task->name;
    return entries;
}

} // namespace

class TestSpeechTasks : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void rowLooks_data();
    void rowLooks();
    void changes_data();
    void changes();
    void speechOutlivesItsTask_data();
    void speechOutlivesItsTask();
    void roles_data();
    void roles();
    void search_data();
    void search();
    void pictures();

private:
    void openPage(int role, const QList<SpeechTask>& tasks);
    QPushButton* button(const char* name) const {
        return page->findChild<QPushButton*>(QLatin1String(name));
    }
    void selectRow(int row) { page->list()->setCurrentIndex(page->model()->index(row, 0)); }
    int selectedRow() const { return page->list()->currentIndex().row(); }
    QStringList reloaded() const {
        DataStore second(rig->clock);
        second.LoadSpeechFile();
        return namesOf(second);
    }
    // Runs the station at the clock's time: the schedules, then the player.
    QStringList spokenAfterTicks(int seconds) {
        for (int i = 0; i < seconds; ++i) {
            rig->station->speechSchedule().Tick();
            rig->station->player().Tick();
        }
        return rig->voice->takeCalls().filter(QRegularExpression(QStringLiteral("^speak ")));
    }

    std::unique_ptr<StationRig> rig;
    DataStore* store = nullptr;
    std::unique_ptr<CPlayerWnd> playerWnd;
    std::unique_ptr<CTTSTaskDlg> page;
};

void TestSpeechTasks::init() {
    rig = std::make_unique<StationRig>(QDateTime(QDate(2026, 3, 2), QTime(12, 0)));
    QVERIFY(rig->ready);
}

void TestSpeechTasks::cleanup() {
    page.reset();
    playerWnd.reset();
    rig.reset();
}

void TestSpeechTasks::openPage(int role, const QList<SpeechTask>& tasks) {
    DataStore& s = rig->app->store();
    s.LoadAll();
    for (const SpeechTask& task : tasks)
        s.AddSpeechTask(task);
    store = &s;
    AppState& state = rig->app->state();
    state.currentUser = role ? QStringLiteral("Admin") : QStringLiteral("Clerk");
    state.currentRole = role;
    rig->station = rig->app->makeStation();
    rig->station->CheckWorkingTime();
    QVERIFY(state.workingNow);
    rig->station->RebuildTodaySpeechList();
    playerWnd = std::make_unique<CPlayerWnd>(rig->station->player());
    page = std::make_unique<CTTSTaskDlg>(s, state, rig->clock, *playerWnd,
                                         rig->station->speechJob(), rig->station->speechSchedule());
    page->resize(560, 420);
    MessageBox::clearShown();
    MessageBox::setDefaultAnswer(QMessageBox::Ok);
}

void TestSpeechTasks::rowLooks_data() {
    QTest::addColumn<SpeechTask>("task");
    QTest::addColumn<QString>("when");
    QTest::addColumn<QColor>("colour"); // invalid: the list's own
    QTest::addColumn<bool>("italic");

    const QColor grey(180, 180, 180);
    SpeechTask march = makeTask("Bell", 800, "Ring", 20160315, 20161231);
    march.endTime = 1730;
    QTest::newRow("ended") << march << "16/03/15/~12/31 08:00~17:30" << grey << true;
    QTest::newRow("starts tomorrow")
        << makeTask("Bell", 900, "Ring", 20260303, 20260310) << "26/03/03/~03/10 09:00~18:00"
        << QColor(224, 98, 13) << true;
    SpeechTask off = makeTask("Bell", 0, "Ring", 20260302, 20260302);
    off.endTime = 0;
    off.disabled = 1;
    QTest::newRow("disabled today") << off << "26/03/02/~03/02" << grey << false;
    SpeechTask noDates = makeTask("Bell", 700, "Ring", 0, 0);
    QTest::newRow("times only") << noDates << "07:00~18:00" << grey << true;
    QTest::newRow("current") << makeTask("Bell", 1300, "Ring") << "26/01/01/~12/31 13:00~18:00"
                             << QColor() << false;
}

void TestSpeechTasks::rowLooks() {
    QFETCH(SpeechTask, task);
    QFETCH(QString, when);
    QFETCH(QColor, colour);
    QFETCH(bool, italic);
    task.interval = 10;
    openPage(1, {task});

    const SpeechTaskModel& model = *page->model();
    QCOMPARE(model.index(0, SpeechTaskModel::DateTimeColumn).data().toString(), when);
    QCOMPARE(model.index(0, SpeechTaskModel::IntervalColumn).data().toString(), QString("10'"));
    const QModelIndex name = model.index(0, SpeechTaskModel::NameColumn);
    QCOMPARE(name.data(Qt::ForegroundRole).value<QColor>(), colour);
    QCOMPARE(name.data(Qt::FontRole).value<QFont>().italic(), italic);
    // The male voice of a task with no music has its figure alone.
    QVERIFY(name.data(Qt::DecorationRole).canConvert<QImage>());
}

void TestSpeechTasks::changes_data() {
    QTest::addColumn<QString>("change");
    QTest::addColumn<int>("rebuilds");
    QTest::addColumn<int>("redrawnEntries");
    QTest::addColumn<QStringList>("order");
    QTest::addColumn<QStringList>("today");

    const QStringList order{"Alpha", "Bravo", "Charlie"};
    const QStringList today{"13:00 Alpha", "14:00 Bravo", "15:00 Charlie"};
    QTest::newRow("text only") << "text" << 0 << 0 << order << today;
    QTest::newRow("name only") << "name" << 0 << 1 << QStringList{"Alpha", "Bingo", "Charlie"}
                               << QStringList{"13:00 Alpha", "14:00 Bingo", "15:00 Charlie"};
    QTest::newRow("interval") << "interval" << 1 << 0 << order
                              << QStringList{"13:00 Alpha", "14:00 Bravo", "15:00 Charlie",
                                             "15:00 Bravo", "16:00 Bravo", "17:00 Bravo",
                                             "18:00 Bravo"};
    // Equal keys: the moved task goes after those already there; of two
    // entries due together, the later task speaks first.
    QTest::newRow("start time moves it")
        << "time" << 1 << 0 << QStringList{"Alpha", "Charlie", "Bravo"}
        << QStringList{"13:00 Alpha", "15:00 Bravo", "15:00 Charlie"};
    QTest::newRow("disabled") << "toggle" << 1 << 0 << order
                              << QStringList{"13:00 Alpha", "15:00 Charlie"};
    QTest::newRow("deleted") << "delete" << 1 << 0 << QStringList{"Alpha", "Charlie"}
                             << QStringList{"13:00 Alpha", "15:00 Charlie"};
}

void TestSpeechTasks::changes() {
    QFETCH(QString, change);
    QFETCH(int, rebuilds);
    QFETCH(int, redrawnEntries);
    QFETCH(QStringList, order);
    QFETCH(QStringList, today);
    openPage(1, {makeTask("Alpha", 1300, "One"), makeTask("Bravo", 1400, "Two"),
                 makeTask("Charlie", 1500, "Three")});
    SpeechSchedule& schedule = rig->station->speechSchedule();
    QSignalSpy rebuilt(&schedule, &SpeechSchedule::listRebuilt);
    QSignalSpy redrawn(&schedule, &SpeechSchedule::entryChanged);
    selectRow(1);

    if (change == "toggle") {
        QCOMPARE(button("toggleButton")->text(), GetUiText("disable"));
        page->OnToggle();
        QCOMPARE(button("toggleButton")->text(), GetUiText("enable"));
    } else if (change == "delete") {
        MessageBox::setNextAnswer(QMessageBox::Yes);
        page->OnDelete();
        QCOMPARE(MessageBox::shown().value(0).key, QString("ensure_del_speak_task"));
    } else {
        ModalAnswerer answerer({[&](QDialog& dialog) {
            if (change == "text")
                dialog.findChild<QPlainTextEdit*>("textEdit")->setPlainText("Two, again");
            else if (change == "name")
                dialog.findChild<QLineEdit*>("nameEdit")->setText("Bingo");
            else if (change == "interval")
                dialog.findChild<QSpinBox*>("intervalSpin")->setValue(60);
            else
                dialog.findChild<QLineEdit*>("startTimeEdit")->setText("15:00");
            ModalAnswerer::press(dialog, "okButton");
        }});
        page->OnEdit();
        QCOMPARE(answerer.opened, 1);
    }

    QCOMPARE(rebuilt.count(), rebuilds);
    QCOMPARE(redrawn.count(), redrawnEntries);
    QCOMPARE(namesOf(*store), order);
    QCOMPARE(reloaded(), order);
    QCOMPARE(todaysList(schedule), today);
    // The changed task stays selected, its text under the list.
    const int row = order.indexOf(change == "name" ? "Bingo" : "Bravo");
    QCOMPARE(selectedRow(), row < 0 ? 0 : row);
    QCOMPARE(page->findChild<QPlainTextEdit*>("taskText")->toPlainText(),
             store->speechTasks[size_t(selectedRow())]->text);
    if (change == "text") {
        rig->clock.set(2026, 3, 2, 14, 0);
        QCOMPARE(spokenAfterTicks(5), QStringList{"speak Two, again"});
    }
}

void TestSpeechTasks::speechOutlivesItsTask_data() {
    QTest::addColumn<QString>("change");
    QTest::newRow("deleted") << "delete";
    QTest::newRow("interval changed") << "interval";
}

void TestSpeechTasks::speechOutlivesItsTask() {
    QFETCH(QString, change);
    openPage(1, {makeTask("Alpha", 1300, "Lunch is served"), makeTask("Bravo", 1301, "Back")});
    SpeechJob& job = rig->station->speechJob();
    rig->clock.set(2026, 3, 2, 13, 0, 10);
    rig->voice->complete = false; // the voice is still at it
    QCOMPARE(spokenAfterTicks(5), QStringList{"speak Lunch is served"});
    QVERIFY(job.speaking());

    selectRow(0);
    if (change == "delete") {
        MessageBox::setNextAnswer(QMessageBox::Yes);
        page->OnDelete();
    } else {
        ModalAnswerer answerer({[](QDialog& dialog) {
            dialog.findChild<QSpinBox*>("intervalSpin")->setValue(30);
            ModalAnswerer::press(dialog, "okButton");
        }});
        page->OnEdit();
    }
    // Neither stopped nor started over in its own minute.
    QVERIFY(job.speaking());
    QCOMPARE(spokenAfterTicks(5), QStringList());
    rig->voice->finish();
    QCOMPARE(spokenAfterTicks(10), QStringList());
    QVERIFY(!job.speaking());
    rig->clock.set(2026, 3, 2, 13, 1, 0);
    QCOMPARE(spokenAfterTicks(5), QStringList{"speak Back"});
}

void TestSpeechTasks::roles_data() {
    QTest::addColumn<int>("role");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QStringList>("names");
    QTest::newRow("administrator") << 1 << "" << QStringList{"Alpha", "Noon", "Bravo"};
    QTest::newRow("operator") << 0 << "only_admin_role_to_exec,only_admin_role_to_exec"
                              << QStringList{"Alpha", "Bravo"};
}

void TestSpeechTasks::roles() {
    QFETCH(int, role);
    QFETCH(QString, keys);
    QFETCH(QStringList, names);
    openPage(role, {makeTask("Alpha", 1300, "One"), makeTask("Bravo", 1400, "Two")});
    ModalAnswerer answerer({[](QDialog& dialog) {
        dialog.findChild<QLineEdit*>("nameEdit")->setText("Noon");
        dialog.findChild<QLineEdit*>("startTimeEdit")->setText("13:30");
        dialog.findChild<QPlainTextEdit*>("textEdit")->setPlainText("Half past");
        ModalAnswerer::press(dialog, "okButton");
    }});
    page->OnAdd();
    QCOMPARE(answerer.opened, role);
    MessageBox::setNextAnswer(QMessageBox::No);
    selectRow(0);
    page->OnDelete();
    // Anybody may switch a task off and on.
    page->OnToggle();
    page->OnToggle();

    QStringList shown;
    for (const MessageBox::Shown& box : MessageBox::shown())
        shown << box.key;
    QCOMPARE(shown.join(u','), role ? QString("ensure_del_speak_task") : keys);
    QCOMPARE(namesOf(*store), names);
    QCOMPARE(reloaded(), names);
    QCOMPARE(store->speechTasks[0]->disabled, 0);
    if (role)
        QVERIFY(todaysList(rig->station->speechSchedule()).contains("13:30 Noon"));
}

void TestSpeechTasks::search_data() {
    QTest::addColumn<bool>("anyDate");
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("found"); // -1: the "no match" message
    QTest::newRow("anything") << true << QDate() << "" << 0;
    QTest::newRow("text, any date") << true << QDate() << "Lunch" << 1;
    QTest::newRow("case counts") << true << QDate() << "lunch" << -1;
    QTest::newRow("date outside the first") << false << QDate(2026, 7, 1) << "" << 1;
    QTest::newRow("date outside all") << false << QDate(2027, 1, 1) << "" << -1;
}

void TestSpeechTasks::search() {
    QFETCH(bool, anyDate);
    QFETCH(QDate, date);
    QFETCH(QString, text);
    QFETCH(int, found);
    openPage(1, {makeTask("Alpha", 1300, "Good morning", 20260101, 20260630),
                 makeTask("Bravo", 1400, "Lunch is served"),
                 makeTask("Charlie", 1500, "Lunch again")});
    page->findChild<QCheckBox*>("anyDateBox")->setChecked(anyDate);
    if (date.isValid())
        page->findChild<QDateEdit*>("searchDate")->setDate(date);
    page->findChild<QLineEdit*>("searchText")->setText(text);
    // Each search starts from the top, whatever is selected.
    selectRow(2);
    page->OnSearch();
    QCOMPARE(MessageBox::shown().isEmpty(), found >= 0);
    if (found >= 0)
        QCOMPARE(selectedRow(), found);
    else
        QCOMPARE(MessageBox::shown().value(0).key, QString("without_match_speak_task"));
}

// Pictures of the page and its editor in both languages, for a person to
// look at after changing them: TOLVANE_SHOTS=<folder> test_speechtasks pictures
void TestSpeechTasks::pictures() {
    const QString folder = qEnvironmentVariable("TOLVANE_SHOTS");
    if (folder.isEmpty())
        QSKIP("TOLVANE_SHOTS names no folder");
    for (int lang : {0, 1}) {
        if (lang) {
            // A rig's temporary folder holds the next one's: one at a time.
            cleanup();
            rig = std::make_unique<StationRig>();
            QVERIFY(
                QFile::copy(TOLVANE_BIN_DIR "/libResENG.so", rig->folder.filePath("libResENG.so")));
        }
        SetUiLanguage(lang);
        QVERIFY(UseLanguageResources(lang) || lang == 0); // Chinese is built in
        SpeechTask female = makeTask("Fire drill", 1000, "Please leave the building.");
        female.effect = 1;
        female.bkMusic = "/music/calm.mp3";
        SpeechTask ended = makeTask("Exam week", 800, "Quiet, please.", 20250601, 20250610);
        SpeechTask off = makeTask("Lunch", 1200, "Lunch is served.");
        off.disabled = 1;
        off.interval = 30;
        openPage(1, {female, ended, off, makeTask("Spring fair", 900, "Fair", 20260401)});
        selectRow(0);
        page->show();
        const QString suffix = lang ? "_en.png" : "_zh.png";
        QVERIFY(page->grab().save(folder + "/speechtasks" + suffix));
        ModalAnswerer answerer({[&](QDialog& dialog) {
            QVERIFY(dialog.grab().save(folder + "/speechtaskedit" + suffix));
        }});
        page->OnEdit();
        page.reset();
    }
}

QTEST_MAIN(TestSpeechTasks)
#include "tst_speechtasks.moc"
