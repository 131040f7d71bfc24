// The music task editor and its two item dialogs, offscreen, on a station
// with the fake clock (Monday 2 March 2026, 12:00) and the fake player. The
// files are small WAV files of set lengths made here. Item dialogs opened by
// the editor are filled in by the modal answerer; boxes are answered with OK.
//
// TOLVANE_SHOTS=<folder> also saves pictures of the three dialogs, Chinese
// and English.

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTreeWidget>
#include <QtTest>

#include "../speech/modalanswerer.h"
#include "stationrig.h"
#include "ui/media/playerwnd.h"
#include "ui/music/bkmusiceditdlg.h"
#include "ui/music/musiceditdlg.h"
#include "ui/music/musictaskdlg.h"
#include "ui/music/musictaskeditdlg.h"

namespace {

template <typename T> T* child(QObject& parent, const QString& name) {
    return parent.findChild<T*>(name);
}

// Forgets the boxes shown; those to come are answered with OK.
void clearBoxes() {
    MessageBox::clearShown();
    MessageBox::setDefaultAnswer(QMessageBox::Ok);
}

QString keysOf(const QList<MessageBox::Shown>& shown) {
    QStringList keys;
    for (const MessageBox::Shown& box : shown)
        keys << (box.key.isEmpty() ? QStringLiteral("<range>") : box.key);
    return keys.join(u',');
}

// Fills the insert-play dialog: a range "HH:MM-HH:MM/interval" or time
// points "@HH:MM,HH:MM,...", and confirms.
ModalAnswerer::Answer insertPlay(const QString& files, const QString& when) {
    return [files, when](QDialog& d) {
        child<QLineEdit>(d, "fileEdit")->setText(files);
        if (when.startsWith(u'@')) {
            child<QRadioButton>(d, "pointsRadio")->click();
            const QStringList points = when.mid(1).split(u',');
            for (int i = 0; i < points.size(); ++i)
                child<QLineEdit>(d, QStringLiteral("timePoint%1Edit").arg(i + 1))
                    ->setText(points[i]);
        } else {
            child<QRadioButton>(d, "rangeRadio")->click();
            child<QLineEdit>(d, "rangeStartEdit")->setText(when.left(5));
            child<QLineEdit>(d, "rangeEndEdit")->setText(when.mid(6, 5));
            child<QSpinBox>(d, "intervalSpin")->setValue(when.mid(12).toInt());
        }
        ModalAnswerer::press(d, "okButton");
    };
}

// Answers the next modal dialog as soon as it shows; one still open
// afterwards (a refused confirm) is cancelled. Unlike the answerer, it
// leaves alone the progress dialog that may follow.
void answerNext(const ModalAnswerer::Answer& answer) {
    QTimer::singleShot(0, qApp, [answer] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        answer(*dialog);
        if (dialog->isVisible())
            dialog->reject();
    });
}

ModalAnswerer::Answer background(const QString& files) {
    return [files](QDialog& d) {
        child<QLineEdit>(d, "fileEdit")->setText(files);
        ModalAnswerer::press(d, "okButton");
    };
}

} // namespace

class TestMusicTaskEdit : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void addFiles_data();
    void addFiles();
    void deleteFixesBatch_data();
    void deleteFixesBatch();
    void edit_data();
    void edit();
    void confirm_data();
    void confirm();
    void itemTimes_data();
    void itemTimes();
    void zones_data();
    void zones();
    void playCount_data();
    void playCount();
    void preview_data();
    void preview();
    void measureProgress_data();
    void measureProgress();
    void screenshots();

private:
    void openStation(int role = 1);
    std::unique_ptr<CMusicTaskEditDlg> openDialog(const MusicTask* existing = nullptr);
    // A WAV file of that many seconds of silence, 8-bit mono at 1000 Hz.
    QString wav(const QString& name, int seconds = 60);
    // Opens the editor on 08:00-12:00 and adds the files of "a:180 b:270"
    // as one insert-play batch (a range "HH:MM-HH:MM/n" or "@points") or,
    // with an empty `when`, as background music.
    std::unique_ptr<CMusicTaskEditDlg> editorWith(const QList<QPair<QString, QString>>& batches);
    QStringList rowNames(CMusicTaskEditDlg& dlg) const;

    std::unique_ptr<StationRig> rig;
    DataStore* store = nullptr;
    std::unique_ptr<CPlayerWnd> playerWnd;
};

void TestMusicTaskEdit::init() {
    rig = std::make_unique<StationRig>();
    QVERIFY(rig->ready);
}

void TestMusicTaskEdit::cleanup() {
    playerWnd.reset();
    rig.reset();
}

void TestMusicTaskEdit::openStation(int role) {
    store = &rig->app->store();
    store->LoadAll();
    rig->app->state().currentUser = role ? QStringLiteral("Admin") : QStringLiteral("Clerk");
    rig->app->state().currentRole = role;
    rig->station = rig->app->makeStation();
    playerWnd = std::make_unique<CPlayerWnd>(rig->station->player());
    clearBoxes();
}

std::unique_ptr<CMusicTaskEditDlg> TestMusicTaskEdit::openDialog(const MusicTask* existing) {
    auto dlg = std::make_unique<CMusicTaskEditDlg>(*store, rig->app->state(), rig->clock,
                                                   *playerWnd, existing);
    dlg->show();
    return dlg;
}

QString TestMusicTaskEdit::wav(const QString& name, int seconds) {
    const QString path = rig->folder.filePath(name);
    QFile file(path);
    if (!file.exists() && file.open(QIODevice::WriteOnly)) {
        const quint32 rate = 1000;
        const quint32 size = rate * quint32(seconds);
        QByteArray head;
        QDataStream out(&head, QIODevice::WriteOnly);
        out.setByteOrder(QDataStream::LittleEndian);
        out.writeRawData("RIFF", 4);
        out << quint32(36 + size);
        out.writeRawData("WAVEfmt ", 8);
        out << quint32(16) << quint16(1) << quint16(1) << rate << rate << quint16(1) << quint16(8);
        out.writeRawData("data", 4);
        out << size;
        file.write(head);
        file.write(QByteArray(int(size), char(0x80)));
    }
    return path;
}

std::unique_ptr<CMusicTaskEditDlg>
TestMusicTaskEdit::editorWith(const QList<QPair<QString, QString>>& batches) {
    auto dlg = openDialog();
    child<QLineEdit>(*dlg, "startTimeEdit")->setText(QStringLiteral("08:00"));
    child<QLineEdit>(*dlg, "endTimeEdit")->setText(QStringLiteral("12:00"));
    for (const auto& [files, when] : batches) {
        QStringList paths;
        for (const QString& file : files.split(u' ')) {
            const QStringList parts = file.split(u':');
            paths << wav(parts[0] + QStringLiteral(".wav"), parts.value(1, "60").toInt());
        }
        answerNext(when.isEmpty() ? background(paths.join(u'|'))
                                  : insertPlay(paths.join(u'|'), when));
        child<QPushButton>(*dlg, when.isEmpty() ? "addBkButton" : "addInsertButton")->click();
    }
    return dlg;
}

QStringList TestMusicTaskEdit::rowNames(CMusicTaskEditDlg& dlg) const {
    QStringList names;
    QTreeWidget* list = dlg.itemList();
    for (int row = 0; row < list->topLevelItemCount(); ++row)
        names << list->topLevelItem(row)->text(1);
    return names;
}

void TestMusicTaskEdit::addFiles_data() {
    QTest::addColumn<QString>("files");     // "name:seconds ..."
    QTest::addColumn<QString>("when");      // see editorWith; "" background
    QTest::addColumn<QString>("added");     // names; '~' turns slashes and raises letters
    QTest::addColumn<QString>("addedWhen"); // "" background
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<QString>("rules"); // column "play rule" of the rows, ';' between
    QTest::addColumn<QList<int>>("batchIndexes");
    QTest::addColumn<QList<int>>("batchKeys");
    QTest::addColumn<QString>("keys");

    const auto rule = [](const char* text) { return QString::fromUtf8(text); };
    QTest::newRow("a batch follows itself")
        << "a:180 b:270 c:120"
        << "08:00-12:00/15"
        << ""
        << "" << QStringList{"a.wav", "b.wav", "c.wav"}
        << rule("08:00~12:00 间隔:15';08:03~12:00 间隔:15';08:07~12:00 间隔:15'")
        << QList<int>{0, 1, 2} << QList<int>{0, 0, 0} << "";
    QTest::newRow("time points follow too")
        << "a:90 b:60"
        << "@09:00,10:30"
        << ""
        << "" << QStringList{"a.wav", "b.wav"} << "09:00,10:30,;09:01,10:31," << QList<int>{0, 1}
        << QList<int>{0, 0} << "";
    QTest::newRow("background stays on top") << "a:60"
                                             << "08:00-09:00/10"
                                             << "b c"
                                             << "" << QStringList{"b.wav", "c.wav", "a.wav"}
                                             << rule("次数不限;次数不限;08:00~09:00 间隔:10'")
                                             << QList<int>{0, 1, 0} << QList<int>{1, 1, 0} << "";
    QTest::newRow("same file in other case and slashes")
        << "a:60"
        << "08:00-09:00/10"
        << "~a"
        << "" << QStringList{"a.wav"} << rule("08:00~09:00 间隔:10'") << QList<int>{0}
        << QList<int>{0} << "music_exist_rechoice";
    QTest::newRow("only the new files of a batch")
        << "a:60"
        << ""
        << "~a d"
        << "08:00-09:00/10" << QStringList{"a.wav", "d.wav"}
        << rule("次数不限;08:00~09:00 间隔:10'") << QList<int>{0, 0} << QList<int>{0, 1} << "";
}

void TestMusicTaskEdit::addFiles() {
    QFETCH(QString, files);
    QFETCH(QString, when);
    QFETCH(QString, added);
    QFETCH(QString, addedWhen);
    QFETCH(QStringList, rows);
    QFETCH(QString, rules);
    QFETCH(QList<int>, batchIndexes);
    QFETCH(QList<int>, batchKeys);
    QFETCH(QString, keys);
    openStation();
    auto dlg = editorWith({{files, when}});
    if (!added.isEmpty()) {
        QStringList paths;
        for (const QString& name : added.split(u' ')) {
            const QString path = wav(QString(name).remove(u'~') + QStringLiteral(".wav"));
            paths << (name.startsWith(u'~') ? QString(path).replace(u'/', u'\\').toUpper() : path);
        }
        clearBoxes();
        answerNext(addedWhen.isEmpty() ? background(paths.join(u'|'))
                                       : insertPlay(paths.join(u'|'), addedWhen));
        child<QPushButton>(*dlg, addedWhen.isEmpty() ? "addBkButton" : "addInsertButton")->click();
        QCOMPARE(keysOf(MessageBox::shown()), keys);
    }
    QCOMPARE(rowNames(*dlg), rows);
    QStringList shownRules;
    for (int row = 0; row < rows.size(); ++row)
        shownRules << dlg->itemList()->topLevelItem(row)->text(3);
    QCOMPARE(shownRules.join(u';'), rules);

    child<QLineEdit>(*dlg, "nameEdit")->setText(QStringLiteral("Morning"));
    child<QPushButton>(*dlg, "okButton")->click();
    QCOMPARE(dlg->result(), int(QDialog::Accepted));
    QList<int> indexes;
    QList<int> keysOfBatches;
    for (const auto& item : dlg->task().items) {
        indexes << item->batchIndex;
        keysOfBatches << item->batchKey;
    }
    QCOMPARE(indexes, batchIndexes);
    QCOMPARE(keysOfBatches, batchKeys);
    QCOMPARE(store->musicTasks.size(), size_t(0));
}

void TestMusicTaskEdit::deleteFixesBatch_data() {
    QTest::addColumn<int>("row");
    QTest::addColumn<QList<int>>("batchIndexes");
    QTest::addColumn<int>("selected");
    QTest::newRow("the second of three") << 1 << QList<int>{0, 1, 0, 1} << 0;
    QTest::newRow("the first of three") << 0 << QList<int>{0, 1, 0, 1} << 0;
    QTest::newRow("the last of three") << 2 << QList<int>{0, 1, 0, 1} << 1;
    QTest::newRow("the next batch keeps its places") << 3 << QList<int>{0, 1, 2, 0} << 2;
}

void TestMusicTaskEdit::deleteFixesBatch() {
    QFETCH(int, row);
    QFETCH(QList<int>, batchIndexes);
    QFETCH(int, selected);
    openStation();
    auto dlg = editorWith({{"a b c", "08:00-12:00/15"}, {"d e", "09:00-12:00/15"}});
    dlg->itemList()->setCurrentItem(dlg->itemList()->topLevelItem(row));
    child<QPushButton>(*dlg, "deleteButton")->click();
    QCOMPARE(dlg->itemList()->topLevelItem(selected)->isSelected(), true);
    QCOMPARE(dlg->itemList()->topLevelItem(3)->text(0), QStringLiteral("4"));
    child<QLineEdit>(*dlg, "nameEdit")->setText(QStringLiteral("Morning"));
    child<QPushButton>(*dlg, "okButton")->click();
    QList<int> indexes;
    for (const auto& item : dlg->task().items)
        indexes << item->batchIndex;
    QCOMPARE(indexes, batchIndexes);
}

void TestMusicTaskEdit::edit_data() {
    QTest::addColumn<QString>("newFile");
    QTest::addColumn<int>("opened");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("secondName");
    QTest::addColumn<QString>("secondLength");
    QTest::newRow("another file, measured") << "z.wav" << 1 << ""
                                            << "z.wav"
                                            << "00:42";
    QTest::newRow("the first row's file, asked again") << "a.wav" << 2 << "the_music_exist_rechoice"
                                                       << "b.wav"
                                                       << "01:00";
}

void TestMusicTaskEdit::edit() {
    QFETCH(QString, newFile);
    QFETCH(int, opened);
    QFETCH(QString, keys);
    QFETCH(QString, secondName);
    QFETCH(QString, secondLength);
    openStation();
    auto dlg = editorWith({{"a b", "08:00-12:00/15"}});
    wav(QStringLiteral("z.wav"), 42);
    QTreeWidget* list = dlg->itemList();
    clearBoxes();
    ModalAnswerer answer({insertPlay(wav(newFile), "09:00-10:00/20")});
    // A double-click selects the row first.
    list->setCurrentItem(list->topLevelItem(1));
    emit list->itemDoubleClicked(list->topLevelItem(1), 1);
    QCOMPARE(answer.opened, opened);
    QCOMPARE(keysOf(MessageBox::shown()), keys);
    QCOMPARE(list->topLevelItem(1)->text(1), secondName);
    QCOMPARE(list->topLevelItem(1)->text(4), secondLength);
}

void TestMusicTaskEdit::confirm_data() {
    QTest::addColumn<int>("role");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("times"); // start, end; none keeps the defaults
    QTest::addColumn<int>("answer");        // to the out-of-range question
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("focus");
    QTest::newRow("defaults end at 24:00")
        << 1 << "Day" << QStringList{} << 0 << "input_valid_end_time"
        << "endTimeEdit";
    QTest::newRow("operator") << 0 << "Day" << QStringList{"08:00", "12:00"} << 0
                              << "only_admin_role_to_exec"
                              << "";
    QTest::newRow("blank name") << 1 << "  " << QStringList{"08:00", "12:00"} << 0
                                << "entry_task_name"
                                << "nameEdit";
    QTest::newRow("minute 60") << 1 << "Day" << QStringList{"08:60", "12:00"} << 0
                               << "input_valid_start_time"
                               << "startTimeEdit";
    QTest::newRow("ends before it starts")
        << 1 << "Day" << QStringList{"12:00", "08:00"} << 0 << "end_time_smaller_err"
        << "endTimeEdit";
    QTest::newRow("items outside, kept open")
        << 1 << "Day" << QStringList{"13:00", "14:00"} << int(QMessageBox::No)
        << "fmt_music_time_range_exceed"
        << "startTimeEdit";
    QTest::newRow("items outside, saved anyway")
        << 1 << "Day" << QStringList{"13:00", "14:00"} << int(QMessageBox::Yes)
        << "fmt_music_time_range_exceed"
        << "";
    QTest::newRow("items inside") << 1 << "Day" << QStringList{"08:00", "11:00"} << 0 << ""
                                  << "";
}

void TestMusicTaskEdit::confirm() {
    QFETCH(int, role);
    QFETCH(QString, name);
    QFETCH(QStringList, times);
    QFETCH(int, answer);
    QFETCH(QString, keys);
    QFETCH(QString, focus);
    openStation(role);
    // No earlier task, no working hours: the whole day.
    auto dlg = openDialog();
    QCOMPARE(child<QLineEdit>(*dlg, "endTimeEdit")->text(), QStringLiteral("24:00"));
    // An operator fills the editor as anybody may.
    answerNext(insertPlay(wav("a.wav"), "08:00-09:00/15"));
    child<QPushButton>(*dlg, "addInsertButton")->click();
    answerNext(insertPlay(wav("b.wav"), "@08:10,11:00"));
    child<QPushButton>(*dlg, "addInsertButton")->click();
    QCOMPARE(dlg->itemList()->topLevelItemCount(), 2);
    child<QLineEdit>(*dlg, "nameEdit")->setText(name);
    if (!times.isEmpty()) {
        child<QLineEdit>(*dlg, "startTimeEdit")->setText(times[0]);
        child<QLineEdit>(*dlg, "endTimeEdit")->setText(times[1]);
    }
    clearBoxes();
    if (answer)
        MessageBox::setNextAnswer(answer);
    child<QPushButton>(*dlg, "okButton")->click();
    QCOMPARE(keysOf(MessageBox::shown()), keys);
    const bool accepted = keys.isEmpty() || answer == QMessageBox::Yes;
    QCOMPARE(dlg->result(), accepted ? int(QDialog::Accepted) : int(QDialog::Rejected));
    if (!focus.isEmpty())
        QCOMPARE(dlg->focusWidget()->objectName(), focus);
    if (keys.startsWith(QLatin1String("fmt_music")))
        QCOMPARE(MessageBox::shown().first().text.count(QStringLiteral(".wav\r\n")), 2);
    if (accepted)
        QCOMPARE(dlg->task().items.size(), size_t(2));
}

void TestMusicTaskEdit::itemTimes_data() {
    QTest::addColumn<QString>("when");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("focus");
    QTest::addColumn<QList<int>>("stored"); // range start, end, interval, points
    QTest::newRow("no time point") << "@"
                                   << "set_play_time_for_music"
                                   << "timePoint1Edit" << QList<int>{};
    QTest::newRow("24:00") << "@09:00,24:00"
                           << "fmt_time_set_err"
                           << "timePoint2Edit" << QList<int>{};
    QTest::newRow("12:60") << "@,,12:60"
                           << "fmt_time_set_err"
                           << "timePoint3Edit" << QList<int>{};
    QTest::newRow("outside the task") << "@07:59"
                                      << "fmt_time_set_range_err"
                                      << "timePoint1Edit" << QList<int>{};
    QTest::newRow("gaps closed") << "@,09:00,,10:00"
                                 << ""
                                 << "" << QList<int>{0, 0, 0, 900, 1000};
    QTest::newRow("range start 24:00") << "24:00-11:00/5"
                                       << "input_valid_start_time"
                                       << "rangeStartEdit" << QList<int>{};
    QTest::newRow("range end 10:60") << "08:00-10:60/5"
                                     << "input_valid_end_time"
                                     << "rangeEndEdit" << QList<int>{};
    QTest::newRow("range backwards") << "10:00-09:00/5"
                                     << "stime_cannt_greater_etime"
                                     << "rangeStartEdit" << QList<int>{};
    QTest::newRow("range before the task") << "07:00-09:00/5"
                                           << "stime_cannt_lesser_task_stime"
                                           << "rangeStartEdit" << QList<int>{};
    QTest::newRow("range after the task") << "09:00-12:01/5"
                                          << "etime_cannt_greater_tast_etime"
                                          << "rangeEndEdit" << QList<int>{};
    QTest::newRow("range") << "08:00-12:00/5"
                           << ""
                           << "" << QList<int>{800, 1200, 5};
}

void TestMusicTaskEdit::itemTimes() {
    QFETCH(QString, when);
    QFETCH(QString, keys);
    QFETCH(QString, focus);
    QFETCH(QList<int>, stored);
    openStation();
    // The task window is given backwards: the dialog turns it round.
    CMusicEditDlg dlg(*store, *playerWnd, 1200, 800);
    dlg.show();
    QVERIFY(child<QLabel>(dlg, "windowLabel")->text().endsWith(QStringLiteral("08:00~12:00")));
    insertPlay(QStringLiteral("/m/a.mp3"), when)(dlg);
    QCOMPARE(keysOf(MessageBox::shown()), keys);
    if (keys.startsWith(QLatin1String("fmt_time")))
        QVERIFY(MessageBox::shown().first().text.contains(focus.mid(9, 1)));
    if (!focus.isEmpty())
        QCOMPARE(dlg.focusWidget()->objectName(), focus);
    if (stored.isEmpty())
        return;
    QCOMPARE(dlg.result(), int(QDialog::Accepted));
    const PlayItem& item = dlg.item();
    QList<int> values{item.rangeStart, item.rangeEnd, item.interval};
    for (int i = 0; i < item.usedTimePoints(); ++i)
        values << item.timePoints[size_t(i)];
    QCOMPARE(values, stored);
}

void TestMusicTaskEdit::zones_data() {
    QTest::addColumn<QStringList>("clicks");
    QTest::addColumn<int>("zones2");
    QTest::addColumn<bool>("group2");
    QTest::newRow("group sets all") << QStringList{"group2Box"} << 0xFF << true;
    QTest::newRow("one zone off clears the group")
        << QStringList{"group2Box", "zone12Box"} << 0xEF << false;
    QTest::newRow("group again sets all")
        << QStringList{"group2Box", "zone9Box", "group2Box"} << 0xFF << true;
    QStringList eight;
    for (int zone = 9; zone <= 16; ++zone)
        eight << QStringLiteral("zone%1Box").arg(zone);
    QTest::newRow("eight zones are no group") << eight << 0xFF << false;
}

void TestMusicTaskEdit::zones() {
    QFETCH(QStringList, clicks);
    QFETCH(int, zones2);
    QFETCH(bool, group2);
    openStation();
    auto dlg = editorWith({});
    for (const QString& name : clicks)
        child<QCheckBox>(*dlg, name)->click();
    QCOMPARE(child<QCheckBox>(*dlg, "group2Box")->isChecked(), group2);
    child<QLineEdit>(*dlg, "nameEdit")->setText(QStringLiteral("Zones"));
    child<QPushButton>(*dlg, "okButton")->click();
    QCOMPARE(int(dlg->task().zones2), zones2);
    QCOMPARE(dlg->task().group2On, int(group2));
    QCOMPARE(int(dlg->task().zones1 | dlg->task().zones3), 0);
    // Every day, packed Monday bit 7 to Sunday bit 1.
    QCOMPARE(int(dlg->task().weekdays), 0xFE);
}

void TestMusicTaskEdit::playCount_data() {
    QTest::addColumn<int>("opened");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("typed"); // empty: the line stays
    QTest::addColumn<int>("stored");
    const QString unlimited = QString::fromUtf8("次数不限");
    QTest::newRow("no limit") << kUnlimitedPlays << unlimited << "" << kUnlimitedPlays;
    QTest::newRow("a listed count") << 7 << "7"
                                    << "" << 7;
    QTest::newRow("a count beyond the lines") << 42 << "42"
                                              << "" << 42;
    QTest::newRow("typed over no limit") << kUnlimitedPlays << unlimited << "25" << 25;
    QTest::newRow("typed text is no number") << 3 << "3"
                                             << "many" << 0;
}

void TestMusicTaskEdit::playCount() {
    QFETCH(int, opened);
    QFETCH(QString, shown);
    QFETCH(QString, typed);
    QFETCH(int, stored);
    openStation();
    PlayItem item;
    item.kind = PlayItem::Background;
    item.path = wav(QStringLiteral("a.wav"));
    item.playCount = opened;
    CBkMusicEditDlg dlg(*store, *playerWnd, &item);
    QCOMPARE(child<QComboBox>(dlg, "countCombo")->currentText(), shown);
    if (!typed.isEmpty())
        child<QComboBox>(dlg, "countCombo")->setEditText(typed);
    ModalAnswerer::press(dlg, "okButton");
    QCOMPARE(dlg.result(), int(QDialog::Accepted));
    QCOMPARE(dlg.item().playCount, stored);
}

void TestMusicTaskEdit::preview_data() {
    QTest::addColumn<QString>("end");
    QTest::addColumn<int>("hoursStart"); // Monday's working hours
    QTest::addColumn<int>("lines");
    QTest::addColumn<QStringList>("first");
    QTest::newRow("the whole window")
        << "12:00" << 0 << 49
        << QStringList{"08:00 a.wav", "08:03 b.wav", "08:07 c.wav", "08:15 a.wav"};
    QTest::newRow("an earlier end")
        << "09:00" << 0 << 13 << QStringList{"08:00 a.wav", "08:03 b.wav", "08:07 c.wav"};
    QTest::newRow("cut to working hours")
        << "12:00" << 1000 << 25 << QStringList{"10:00 a.wav", "10:03 b.wav"};
}

void TestMusicTaskEdit::preview() {
    QFETCH(QString, end);
    QFETCH(int, hoursStart);
    QFETCH(int, lines);
    QFETCH(QStringList, first);
    openStation();
    store->settings.dailyTime[0] = hoursStart;
    auto dlg = editorWith({{"bk:60", ""}, {"a:180 b:270 c:120", "08:00-12:00/15"}});
    child<QLineEdit>(*dlg, "endTimeEdit")->setText(end);
    auto* today = child<QTreeWidget>(*dlg, "todayList");
    QCOMPARE(today->topLevelItemCount(), lines);
    for (int i = 0; i < first.size(); ++i) {
        const QTreeWidgetItem* line = today->topLevelItem(i);
        QCOMPARE(line->text(0) + u' ' + line->text(1), first[i]);
    }
    QCOMPARE(store->musicTasks.size(), size_t(0));
}

void TestMusicTaskEdit::measureProgress_data() {
    QTest::addColumn<int>("files");
    QTest::addColumn<int>("cancelAt"); // 0: never
    QTest::addColumn<int>("rows");
    QTest::addColumn<bool>("progress");
    QTest::newRow("a few files") << 4 << 0 << 4 << false;
    QTest::newRow("many files") << 9 << 0 << 9 << true;
    QTest::newRow("cancelled") << 9 << 3 << 3 << true;
}

void TestMusicTaskEdit::measureProgress() {
    QFETCH(int, files);
    QFETCH(int, cancelAt);
    QFETCH(int, rows);
    QFETCH(bool, progress);
    openStation();
    QStringList names;
    for (int i = 0; i < files; ++i)
        names << QStringLiteral("f%1").arg(i);
    // Every turn of the event loop looks at the progress dialog.
    bool seen = false;
    QTimer watch;
    watch.setInterval(0);
    connect(&watch, &QTimer::timeout, this, [&] {
        auto* box = qobject_cast<QProgressDialog*>(QApplication::activeModalWidget());
        if (!box)
            return;
        seen = true;
        if (cancelAt > 0 && box->value() >= cancelAt)
            box->cancel();
    });
    watch.start();
    auto dlg = editorWith({{names.join(u' '), ""}});
    QCOMPARE(dlg->itemList()->topLevelItemCount(), rows);
    QCOMPARE(seen, progress);
    QCOMPARE(dlg->itemList()->topLevelItem(rows - 1)->text(4), QStringLiteral("01:00"));
}

void TestMusicTaskEdit::screenshots() {
    const QString folder = qEnvironmentVariable("TOLVANE_SHOTS");
    if (folder.isEmpty())
        QSKIP("set TOLVANE_SHOTS to a folder to save pictures of the dialogs");
    QDir().mkpath(folder);
    for (int lang : {0, 1}) {
        SetUiLanguage(lang);
        UseLanguageResources(lang);
        openStation();
        const QString suffix = lang ? QStringLiteral("_en.png") : QStringLiteral("_zh.png");
        auto dlg = editorWith({{"bk:200", ""}, {"a:180 b:270 c:120", "08:00-12:00/15"}});
        answerNext(insertPlay(wav("d.wav"), "@09:00,10:30"));
        child<QPushButton>(*dlg, "addInsertButton")->click();
        dlg->itemList()->setCurrentItem(dlg->itemList()->topLevelItem(1));
        child<QCheckBox>(*dlg, "group1Box")->click();
        QVERIFY(dlg->grab().save(folder + QStringLiteral("/musictaskedit") + suffix));
        CMusicEditDlg insert(*store, *playerWnd, 800, 1200);
        insert.show();
        child<QLineEdit>(insert, "fileEdit")->setText(wav("a.wav") + u'|' + wav("b.wav"));
        child<QPushButton>(insert, "lengthButton")->click();
        insert.layout()->activate();
        QVERIFY(insert.grab().save(folder + QStringLiteral("/musicedit") + suffix));
        CBkMusicEditDlg bk(*store, *playerWnd);
        bk.show();
        QVERIFY(bk.grab().save(folder + QStringLiteral("/bkmusicedit") + suffix));
        // The task page: an ended, a current, a disabled and a future task.
        store->musicTasks.clear();
        const struct {
            const char* name;
            YmdDate from, to;
            int disabled;
        } tasks[] = {{"Exams", 20250601, 20250610, 0},
                     {"Mornings", 20260101, 20261231, 0},
                     {"Lunch", 20260101, 20261231, 1},
                     {"Spring fair", 20260401, 20260410, 0}};
        for (const auto& t : tasks) {
            MusicTask task;
            task.name = QString::fromLatin1(t.name);
            task.startDate = t.from;
            task.endDate = t.to;
            task.startTime = 800;
            task.endTime = 1730;
            task.disabled = t.disabled;
            store->AddMusicTask(std::move(task));
        }
        CMusicTaskDlg page(*store, rig->app->state(), *rig->station, *playerWnd);
        page.resize(460, 400);
        page.show();
        QVERIFY(page.grab().save(folder + QStringLiteral("/musictasks") + suffix));
    }
    SetUiLanguage(0);
    UseLanguageResources(0);
}

QTEST_MAIN(TestMusicTaskEdit)
#include "tst_musictaskedit.moc"
