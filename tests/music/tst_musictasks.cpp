// The music task page, offscreen, on a station with the fake clock and the
// fake media player at 12:00 on a working Monday while a task plays: what an
// edit, a delete or a switch-off does to the playing file and to the next
// tick, the store and the task file read back, the rows' order and looks, the
// roles and the search.

#include <QCheckBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QSpinBox>
#include <QTreeView>
#include <QtTest>

#include "../speech/modalanswerer.h"
#include "media/player.h"
#include "schedule/musicschedule.h"
#include "station/musictaskmodel.h"
#include "stationrig.h"
#include "store/clocktext.h"
#include "ui/media/playerwnd.h"
#include "ui/music/musictaskdlg.h"

namespace {

MusicTask makeTask(const char* name, HhmmTime start, HhmmTime end, const QString& file,
                   YmdDate from = 20260101) {
    MusicTask task;
    task.name = QString::fromUtf8(name);
    task.startDate = from;
    task.endDate = 20261231;
    task.startTime = start;
    task.endTime = end;
    task.weekdays = 0xFE;
    task.volume = 80;
    auto item = std::make_unique<PlayItem>();
    item->kind = PlayItem::Background;
    item->path = file;
    item->playCount = 65535;
    item->volume = 0; // the task's
    task.items.push_back(std::move(item));
    return task;
}

QStringList namesOf(const DataStore& store) {
    QStringList names;
    for (const auto& task : store.musicTasks)
        names << task->name;
    return names;
}

} // namespace

class TestMusicTasks : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void changePlayingTask_data();
    void changePlayingTask();
    void order_data();
    void order();
    void rolesAndSearch();

private:
    void openPage(int role);
    QString file(const char* name) const { return rig->folder.filePath(QLatin1String(name)); }
    void selectRow(int row) { page->list()->setCurrentIndex(page->model()->index(row, 0)); }
    int selectedRow() const { return page->list()->currentIndex().row(); }
    QStringList reloaded() const {
        DataStore second(rig->clock);
        second.LoadMusicTaskFile();
        return namesOf(second);
    }
    MusicSchedule& music() const { return rig->station->musicSchedule(); }
    FakeMediaBackend& backend() const { return *rig->media.last; }
    // Edits the selected task through the editor.
    void edit(const std::function<void(QDialog&)>& change) {
        ModalAnswerer answerer({[&](QDialog& dialog) {
            change(dialog);
            ModalAnswerer::press(dialog, "okButton");
        }});
        page->OnEdit();
        QCOMPARE(answerer.opened, 1);
    }

    std::unique_ptr<StationRig> rig;
    DataStore* store = nullptr;
    std::unique_ptr<CPlayerWnd> playerWnd;
    std::unique_ptr<CMusicTaskDlg> page;
};

void TestMusicTasks::init() {
    rig = std::make_unique<StationRig>();
    QVERIFY(rig->ready);
}

void TestMusicTasks::cleanup() {
    page.reset();
    playerWnd.reset();
    rig.reset();
}

// "Morning" (10:00-14:00) plays a.mp3; "Afternoon" (11:00-18:00) is next.
void TestMusicTasks::openPage(int role) {
    DataStore& s = rig->app->store();
    s.LoadAll();
    for (const char* name : {"a.mp3", "b.mp3"}) {
        QFile f(file(name));
        QVERIFY(f.open(QIODevice::WriteOnly));
    }
    s.AddMusicTask(makeTask("Morning", 1000, 1400, file("a.mp3")));
    s.AddMusicTask(makeTask("Afternoon", 1100, 1800, file("b.mp3")));
    store = &s;
    AppState& state = rig->app->state();
    state.currentUser = role ? QStringLiteral("Admin") : QStringLiteral("Clerk");
    state.currentRole = role;
    rig->station = rig->app->makeStation();
    rig->station->CheckWorkingTime();
    QVERIFY(state.workingNow);
    music().StartMusicTask(s.musicTasks[0].get());
    music().PlayNextMusic();
    QCOMPARE(rig->station->player().loadedPath(), file("a.mp3"));
    playerWnd = std::make_unique<CPlayerWnd>(rig->station->player());
    page = std::make_unique<CMusicTaskDlg>(s, state, *rig->station, *playerWnd);
    page->resize(460, 400);
    backend().takeCalls();
    MessageBox::clearShown();
    MessageBox::setDefaultAnswer(QMessageBox::Ok);
}

void TestMusicTasks::changePlayingTask_data() {
    QTest::addColumn<QString>("change");
    QTest::addColumn<QStringList>("calls"); // of the player, at once
    QTest::addColumn<QString>("current");   // the schedule's task then
    QTest::addColumn<QString>("next");      // the file the next tick plays
    QTest::newRow("volume only") << "volume" << QStringList{"volume 40"} << "Morning"
                                 << "";
    QTest::newRow("out of its window") << "end time" << QStringList{"stop"} << ""
                                       << "b.mp3";
    QTest::newRow("disabled") << "toggle" << QStringList{"stop"} << ""
                              << "b.mp3";
    QTest::newRow("deleted") << "delete" << QStringList{"stop"} << ""
                             << "b.mp3";
}

void TestMusicTasks::changePlayingTask() {
    QFETCH(QString, change);
    QFETCH(QStringList, calls);
    QFETCH(QString, current);
    QFETCH(QString, next);
    openPage(1);
    selectRow(0);
    QCOMPARE(page->model()->taskAt(0)->name, QString("Morning"));

    if (change == "volume") {
        edit([](QDialog& d) { d.findChild<QSpinBox*>("volumeSpin")->setValue(40); });
    } else if (change == "end time") {
        edit([](QDialog& d) { d.findChild<QLineEdit*>("endTimeEdit")->setText("11:00"); });
    } else if (change == "toggle") {
        page->OnToggle();
    } else {
        MessageBox::setNextAnswer(QMessageBox::Yes);
        page->OnDelete();
    }

    // The playing file plays on, or stops, before anything else happens.
    QCOMPARE(backend().takeCalls(), calls);
    QCOMPARE(music().currentTask() ? music().currentTask()->name : QString(), current);
    rig->station->Tick();
    const QStringList loads = backend().takeCalls().filter(QRegularExpression("^load "));
    QCOMPARE(loads, next.isEmpty() ? QStringList() : QStringList{"load " + file("b.mp3")});
    QCOMPARE(reloaded(), namesOf(*store));
}

void TestMusicTasks::order_data() {
    QTest::addColumn<YmdDate>("startDate");
    QTest::addColumn<QStringList>("order");
    QTest::addColumn<QColor>("colour");
    QTest::addColumn<bool>("italic");
    // Equal keys: the edited task goes after those already there.
    QTest::newRow("same start as the next")
        << YmdDate(20260101) << QStringList{"Afternoon", "Morning"} << QColor() << false;
    QTest::newRow("starts tomorrow")
        << YmdDate(20260303) << QStringList{"Afternoon", "Morning"} << QColor(224, 98, 13) << true;
}

void TestMusicTasks::order() {
    QFETCH(YmdDate, startDate);
    QFETCH(QStringList, order);
    QFETCH(QColor, colour);
    QFETCH(bool, italic);
    openPage(1);
    // The second task's key is the one the first is given.
    store->musicTasks[1]->startTime = 1100;
    store->musicTasks[1]->endTime = 1400;
    selectRow(0);
    edit([&](QDialog& d) {
        d.findChild<QDateEdit*>("startDateEdit")->setDate(YmdToDate(startDate));
        d.findChild<QLineEdit*>("startTimeEdit")->setText("11:00");
    });
    QCOMPARE(namesOf(*store), order);
    QCOMPARE(reloaded(), order);
    const int row = order.indexOf("Morning");
    QCOMPARE(selectedRow(), row);
    const QModelIndex name = page->model()->index(row, MusicTaskModel::NameColumn);
    QCOMPARE(name.data(Qt::ForegroundRole).value<QColor>(), colour);
    QCOMPARE(name.data(Qt::FontRole).value<QFont>().italic(), italic);
}

void TestMusicTasks::rolesAndSearch() {
    openPage(0);
    // An operator may switch tasks off and on, but not add or delete them.
    page->OnAdd();
    selectRow(1);
    page->OnDelete();
    page->OnToggle();
    QCOMPARE(store->musicTasks[1]->disabled, 1);
    page->OnToggle();
    QStringList keys;
    for (const MessageBox::Shown& box : MessageBox::shown())
        keys << box.key;
    QCOMPARE(keys, QStringList({"only_admin_role_to_exec", "only_admin_role_to_exec"}));
    QCOMPARE(reloaded(), QStringList({"Morning", "Afternoon"}));

    // The name, case-sensitive, from the top; then a date outside them all.
    MessageBox::clearShown();
    MessageBox::setDefaultAnswer(QMessageBox::Ok);
    page->findChild<QLineEdit*>("searchName")->setText("noon");
    page->OnSearch();
    QCOMPARE(selectedRow(), 1);
    page->findChild<QLineEdit*>("searchName")->setText("morning");
    page->OnSearch();
    QCOMPARE(MessageBox::shown().value(0).key, QString("without_matched_music_task"));
    page->findChild<QLineEdit*>("searchName")->clear();
    page->findChild<QCheckBox*>("anyDateBox")->setChecked(false);
    page->findChild<QDateEdit*>("searchDate")->setDate(QDate(2027, 1, 1));
    page->OnSearch();
    QCOMPARE(MessageBox::shown().size(), 2);
}

QTEST_MAIN(TestMusicTasks)
#include "tst_musictasks.moc"
