// The scripts page and the script editor, offscreen, on a station with the
// fake clock, player and voice: adding, editing, deleting and listening as an
// administrator and as an operator. Every change is checked in the store and
// in the speech file as a second store reads it back.

#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTreeView>
#include <QtTest>

#include "media/player.h"
#include "modalanswerer.h"
#include "schedule/speechjob.h"
#include "station/scriptmodel.h"
#include "stationrig.h"
#include "ui/speech/ttsstockdlg.h"
#include "ui/speech/ttstextdlg.h"

namespace {

using Script = QPair<QString, QString>; // title, text

QString keysOf(const QList<MessageBox::Shown>& shown) {
    QStringList keys;
    for (const MessageBox::Shown& box : shown)
        keys << box.key;
    return keys.join(QLatin1Char(','));
}

template <typename T> T* child(QObject& parent, const char* name) {
    return parent.findChild<T*>(QLatin1String(name));
}

QList<Script> scriptsOf(const DataStore& store) {
    QList<Script> list;
    for (const auto& s : store.scripts)
        list << Script(s->title, s->text);
    return list;
}

const QList<Script> kThree{
    {"Morning", "Good morning"}, {"Noon", "Lunch at %Time%"}, {"Evening", "Good night"}};

} // namespace

class TestScripts : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void addAndEdit_data();
    void addAndEdit();
    void appendVariable_data();
    void appendVariable();
    void deleteScript_data();
    void deleteScript();
    void listen_data();
    void listen();
    void importReplacesText();

private:
    void openPage(int role, const QList<Script>& scripts);
    void selectRow(int row) { page->list()->setCurrentIndex(page->model()->index(row, 0)); }
    int selectedRow() const {
        const QModelIndexList rows = page->list()->selectionModel()->selectedRows();
        return rows.isEmpty() ? -1 : rows.first().row();
    }
    QList<Script> reloaded() const {
        DataStore second(rig->clock);
        second.LoadSpeechFile();
        return scriptsOf(second);
    }
    // What the voice was given to say over a few seconds of the player.
    QStringList spokenAfterTicks() {
        for (int i = 0; i < 6; ++i)
            rig->station->player().Tick();
        return rig->voice->takeCalls().filter(QRegularExpression(QStringLiteral("^speak ")));
    }

    std::unique_ptr<StationRig> rig;
    DataStore* store = nullptr;
    std::unique_ptr<CTTSStockDlg> page;
};

void TestScripts::init() {
    rig = std::make_unique<StationRig>();
    QVERIFY(rig->ready);
}

void TestScripts::cleanup() {
    page.reset();
    rig.reset();
}

void TestScripts::openPage(int role, const QList<Script>& scripts) {
    DataStore& s = rig->app->store();
    s.LoadAll();
    for (const Script& script : scripts)
        s.scripts.push_back(
            std::make_unique<SpeechScript>(SpeechScript{script.first, script.second}));
    s.settings.enterpriseName = QStringLiteral("River FM");
    QVERIFY(s.SaveSpeechFile());
    store = &s;
    rig->app->state().currentUser = role ? QStringLiteral("Admin") : QStringLiteral("Clerk");
    rig->app->state().currentRole = role;
    rig->station = rig->app->makeStation();
    QVERIFY(rig->voice);
    Station& station = *rig->station;
    page =
        std::make_unique<CTTSStockDlg>(s, rig->app->state(), station.player(), station.speechJob());
    page->resize(460, 400);
    MessageBox::clearShown();
    MessageBox::setDefaultAnswer(QMessageBox::Ok);
}

void TestScripts::addAndEdit_data() {
    QTest::addColumn<int>("role");
    QTest::addColumn<int>("row"); // -1: add
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("focus"); // where a refusal leaves the caret
    QTest::addColumn<bool>("listens");
    QTest::addColumn<QList<Script>>("after");

    QList<Script> added = kThree;
    added << Script("Weather", "Sunny\nwarm");
    QTest::newRow("admin adds") << 1 << -1 << "Weather"
                                << "Sunny\nwarm"
                                << ""
                                << "" << false << added;
    QTest::newRow("operator cannot add") << 0 << -1 << "Weather"
                                         << "Sunny"
                                         << "only_admin_role_to_exec"
                                         << "" << false << kThree;
    QList<Script> edited = kThree;
    edited[1] = Script("  Noon  news ", "Lunch at 12 \n now");
    QTest::newRow("bars become spaces, spaces stay") << 1 << 1 << "  Noon| news "
                                                     << "Lunch|at 12 \n now"
                                                     << ""
                                                     << "" << false << edited;
    QTest::newRow("operator listens, cannot confirm") << 0 << 1 << "Noon!"
                                                      << "Lunch!"
                                                      << "only_admin_role_to_exec"
                                                      << "" << true << kThree;
    QTest::newRow("no title") << 1 << 0 << ""
                              << "Hello"
                              << "entry_tts_title"
                              << "titleEdit" << false << kThree;
    QTest::newRow("no text") << 1 << 2 << "Bye"
                             << ""
                             << "entry_tts_content"
                             << "textEdit" << false << kThree;
}

void TestScripts::addAndEdit() {
    QFETCH(int, role);
    QFETCH(int, row);
    QFETCH(QString, title);
    QFETCH(QString, text);
    QFETCH(QString, keys);
    QFETCH(QString, focus);
    QFETCH(bool, listens);
    QFETCH(QList<Script>, after);
    openPage(role, kThree);

    QString shownTitle, shownText, focused;
    ModalAnswerer answerer({[&](QDialog& dialog) {
        auto* titleEdit = child<QLineEdit>(dialog, "titleEdit");
        auto* textEdit = child<QPlainTextEdit>(dialog, "textEdit");
        shownTitle = titleEdit->text();
        shownText = textEdit->toPlainText();
        titleEdit->setText(title);
        textEdit->setPlainText(text);
        if (listens)
            ModalAnswerer::press(dialog, "listenButton");
        ModalAnswerer::press(dialog, "okButton");
        if (dialog.isVisible() && dialog.focusWidget())
            focused = dialog.focusWidget()->objectName();
    }});
    if (row < 0) {
        page->OnAdd();
    } else {
        selectRow(row);
        page->OnEdit();
    }

    const bool refusedAtOnce = row < 0 && role == 0;
    QCOMPARE(answerer.opened, refusedAtOnce ? 0 : 1);
    QCOMPARE(keysOf(MessageBox::shown()), keys);
    if (!focus.isEmpty())
        QCOMPARE(focused, focus);
    if (!refusedAtOnce) {
        QCOMPARE(shownTitle, row < 0 ? QString() : kThree[row].first);
        QCOMPARE(shownText, row < 0 ? QString() : kThree[row].second);
    }
    QCOMPARE(scriptsOf(*store), after);
    QCOMPARE(reloaded(), after);
    QCOMPARE(rig->station->speechJob().speaking(), listens);

    // The rows show the titles, numbered from 1; the changed or new row is
    // selected and its text shown below the list.
    QCOMPARE(page->model()->rowCount(), after.size());
    for (int r = 0; r < after.size(); ++r) {
        QCOMPARE(page->model()->index(r, ScriptModel::NumberColumn).data().toString(),
                 QString::number(r + 1));
        QCOMPARE(page->model()->index(r, ScriptModel::TitleColumn).data().toString(),
                 after[r].first);
    }
    const int selected = row < 0 ? (keys.isEmpty() ? after.size() - 1 : -1) : row;
    QCOMPARE(selectedRow(), selected);
    QCOMPARE(page->textBox()->toPlainText(), selected < 0 ? QString() : after[selected].second);
}

void TestScripts::appendVariable_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("caret");
    QTest::addColumn<QString>("variable");
    QTest::addColumn<QString>("spoken"); // on the fake clock's Monday noon

    QTest::newRow("date, caret in the middle")
        << "Today is " << 3 << "%Date%" << QString::fromUtf8("Today is 2026年3月2日");
    QTest::newRow("week into an empty text") << "" << 0 << "%Week%" << QString::fromUtf8("星期一");
    QTest::newRow("name, caret at the start") << "<b>This is</b> " << 0 << "%Name%"
                                              << "<b>This is</b> River FM";
    QTest::newRow("time after a date")
        << "%Date% " << 2 << "%Time%" << QString::fromUtf8("2026年3月2日 上午12时0分");
}

void TestScripts::appendVariable() {
    QFETCH(QString, text);
    QFETCH(int, caret);
    QFETCH(QString, variable);
    QFETCH(QString, spoken);
    openPage(0, {});
    Station& station = *rig->station;
    CTTSTextDlg dlg(*store, rig->app->state(), station.player(), station.speechJob(),
                    QStringLiteral("t"), text);
    auto* edit = child<QPlainTextEdit>(dlg, "textEdit");
    auto* listen = child<QPushButton>(dlg, "listenButton");
    QCOMPARE(listen->isEnabled(), !text.isEmpty());
    QTextCursor cursor = edit->textCursor();
    cursor.setPosition(caret);
    edit->setTextCursor(cursor);

    auto* menu = child<QMenu>(dlg, "VarList");
    QVERIFY(menu);
    QCOMPARE(child<QPushButton>(dlg, "variableButton")->menu(), menu);
    for (QAction* action : menu->actions()) {
        if (action->text() == variable)
            action->trigger();
    }
    QCOMPARE(edit->toPlainText(), text + variable);
    QVERIFY(listen->isEnabled());
    // The tooltip shows what will be spoken, markup as typed, and the voice
    // says exactly that.
    QCOMPARE(dlg.spokenText(), spoken);
    QCOMPARE(listen->toolTip(), Qt::convertFromPlainText(spoken));
    rig->voice->takeCalls();
    listen->click();
    QCOMPARE(spokenAfterTicks(), QStringList{QStringLiteral("speak ") + spoken});

    edit->clear();
    QVERIFY(!listen->isEnabled());
    QVERIFY(listen->toolTip().isEmpty());
}

void TestScripts::deleteScript_data() {
    QTest::addColumn<int>("role");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QStringList>("after"); // titles
    QTest::addColumn<int>("selected");

    const int yes = QMessageBox::Yes;
    QTest::newRow("the middle") << 1 << 3 << 1 << yes << "ensure_del_tts"
                                << QStringList{"Morning", "Evening"} << 0;
    QTest::newRow("the first") << 1 << 3 << 0 << yes << "ensure_del_tts"
                               << QStringList{"Noon", "Evening"} << 0;
    QTest::newRow("the last") << 1 << 3 << 2 << yes << "ensure_del_tts"
                              << QStringList{"Morning", "Noon"} << 1;
    QTest::newRow("no") << 1 << 3 << 1 << int(QMessageBox::No) << "ensure_del_tts"
                        << QStringList{"Morning", "Noon", "Evening"} << 1;
    QTest::newRow("cancel") << 1 << 3 << 2 << int(QMessageBox::Cancel) << "ensure_del_tts"
                            << QStringList{"Morning", "Noon", "Evening"} << 2;
    QTest::newRow("operator") << 0 << 3 << 1 << yes << "only_admin_role_to_exec"
                              << QStringList{"Morning", "Noon", "Evening"} << 1;
    QTest::newRow("the only script")
        << 1 << 1 << 0 << yes << "ensure_del_tts" << QStringList{} << -1;
}

void TestScripts::deleteScript() {
    QFETCH(int, role);
    QFETCH(int, count);
    QFETCH(int, row);
    QFETCH(int, answer);
    QFETCH(QString, keys);
    QFETCH(QStringList, after);
    QFETCH(int, selected);
    openPage(role, kThree.mid(0, count));
    selectRow(row);

    MessageBox::setNextAnswer(answer);
    page->OnDelete();
    QCOMPARE(keysOf(MessageBox::shown()), keys);
    if (role == 1)
        QCOMPARE(MessageBox::shown().value(0).icon, MessageBox::Icon::Warning);
    QStringList titles;
    for (const Script& s : scriptsOf(*store))
        titles << s.first;
    QCOMPARE(titles, after);
    QCOMPARE(scriptsOf(*store), reloaded());
    QCOMPARE(selectedRow(), selected);
    QCOMPARE(page->model()->index(after.size() - 1, 0).data().toString(),
             after.isEmpty() ? QString() : QString::number(after.size()));
    const SpeechScript* shown = page->model()->scriptAt(selected);
    QCOMPARE(page->textBox()->toPlainText(), shown ? shown->text : QString());
    for (const char* button : {"editButton", "deleteButton", "listenButton"})
        QCOMPARE(child<QPushButton>(*page, button)->isEnabled(), selected >= 0);

    if (selected >= 0)
        return;
    // Nothing is selected: the commands find no row and do nothing.
    MessageBox::clearShown();
    MessageBox::setDefaultAnswer(QMessageBox::Yes);
    ModalAnswerer answerer;
    page->OnEdit();
    page->OnDelete();
    page->OnListen();
    QCOMPARE(answerer.opened, 0);
    QVERIFY(MessageBox::shown().isEmpty());
    QVERIFY(!rig->station->speechJob().speaking());
}

void TestScripts::listen_data() {
    QTest::addColumn<bool>("inEditor");
    QTest::addColumn<bool>("busy");
    QTest::addColumn<int>("role");

    QTest::newRow("page") << false << false << 1;
    QTest::newRow("page, operator") << false << false << 0;
    QTest::newRow("page while speaking") << false << true << 1;
    QTest::newRow("editor, operator") << true << false << 0;
    QTest::newRow("editor while speaking") << true << true << 1;
}

void TestScripts::listen() {
    QFETCH(bool, inEditor);
    QFETCH(bool, busy);
    QFETCH(int, role);
    openPage(role, kThree);
    SpeechJob& job = rig->station->speechJob();
    // In working hours an instant speech would wake the transmitter; a
    // preview must not.
    rig->app->state().workingNow = true;
    QSignalSpy wakes(&job, &SpeechJob::wakeRequested);
    if (busy)
        job.SpeakInstantText(QStringLiteral("busy"), false);
    rig->voice->takeCalls();
    selectRow(1);

    ModalAnswerer answerer({[&](QDialog& dialog) {
        ModalAnswerer::press(dialog, "listenButton");
        ModalAnswerer::press(dialog, "cancelButton");
    }});
    if (inEditor)
        page->OnEdit();
    else
        page->OnListen();

    QCOMPARE(answerer.opened, inEditor ? 1 : 0);
    QCOMPARE(keysOf(MessageBox::shown()), busy ? QStringLiteral("wait_for_speaking") : QString());
    QCOMPARE(wakes.count(), 0);
    const QStringList spoken = spokenAfterTicks();
    QCOMPARE(spoken, busy ? QStringList{QStringLiteral("speak busy")}
                          : QStringList{QString::fromUtf8("speak Lunch at 上午12时0分")});
    // Listening changes nothing that is stored.
    QCOMPARE(scriptsOf(*store), kThree);
}

void TestScripts::importReplacesText() {
    openPage(1, kThree);
    Station& station = *rig->station;
    CTTSTextDlg dlg(*store, rig->app->state(), station.player(), station.speechJob());
    ModalAnswerer answerer({[](QDialog& chooser) {
        auto* list = child<QTreeView>(chooser, "scriptList");
        list->setCurrentIndex(list->model()->index(2, 0));
        ModalAnswerer::press(chooser, "okButton");
    }});
    child<QPushButton>(dlg, "importButton")->click();
    QCOMPARE(answerer.opened, 1);
    QCOMPARE(child<QPlainTextEdit>(dlg, "textEdit")->toPlainText(), kThree[2].second);
    QVERIFY(child<QPushButton>(dlg, "listenButton")->isEnabled());
}

QTEST_MAIN(TestScripts)
#include "tst_scripts.moc"
