// The instant speech panel and the script selection dialog, offscreen: the
// play button and its guard, importing a script, and the rows of today's
// speech list and how they are painted. The painted panel and dialog are
// saved as /tmp/ttslistdlg.png and /tmp/ttsstockseldlg.png for a look by eye.

#include <QApplication>
#include <QHeaderView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QTreeView>
#include <QTreeWidget>
#include <QtTest>

#include <functional>

#include "controls/messagebox.h"
#include "speechrig.h"
#include "ui/schedule/ttslistdlg.h"
#include "ui/schedule/ttsstockseldlg.h"

namespace {

QStringList rowTexts(const QTreeView* list, int row) {
    QStringList texts;
    const QAbstractItemModel* model = list->model();
    for (int c = 0; row < model->rowCount() && c < model->columnCount(); ++c)
        texts << model->index(row, c).data().toString();
    return texts;
}

// The row across all its columns, as the list shows it.
QRect rowRect(const QTreeView* list, int row) {
    const QAbstractItemModel* model = list->model();
    return list->visualRect(model->index(row, 0)) |
           list->visualRect(model->index(row, model->columnCount() - 1));
}

int countPixels(const QImage& image, const QRect& rect, const std::function<bool(QColor)>& test) {
    int n = 0;
    const QRect r = rect.intersected(image.rect());
    for (int y = r.top(); y <= r.bottom(); ++y) {
        for (int x = r.left(); x <= r.right(); ++x)
            n += test(image.pixelColor(x, y)) ? 1 : 0;
    }
    return n;
}

bool isRed(QColor c) {
    return c.red() > 200 && c.green() < 80 && c.blue() < 80;
}
bool isDark(QColor c) {
    return c.red() < 90 && c.green() < 90 && c.blue() < 90;
}
bool isBlue(QColor c) {
    return c.blue() > 120 && c.blue() > c.red() + 60;
}
bool isPink(QColor c) {
    return c.red() > 150 && c.red() > c.green() + 80 && c.blue() > 60;
}
bool isGreen(QColor c) {
    return c.green() > 80 && c.green() > c.red() + 40 && c.green() > c.blue();
}
bool isColoured(QColor c) {
    return isRed(c) || isBlue(c) || isPink(c) || isGreen(c);
}

// Runs `answer` on the modal dialog as soon as it is open.
void whenDialogOpens(const std::function<void(CTTSStockSelDlg*)>& answer) {
    auto* poll = new QTimer;
    poll->setInterval(10);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, answer] {
        if (auto* dialog = qobject_cast<CTTSStockSelDlg*>(QApplication::activeModalWidget())) {
            poll->deleteLater();
            poll->stop();
            answer(dialog);
        }
    });
    poll->start();
}

} // namespace

class TestTtsListDlg : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void playButtonFollowsTheText();
    void playNowSpeaksAndKeepsTheText();
    void playWhileSpeakingShowsTheWaitNotice();
    void importScript_data();
    void importScript();
    void selectionDialog();
    void rowsOfTodaysList();
    void paintedRows();

private:
    QPushButton* button(const char* name) const {
        return panel->findChild<QPushButton*>(QLatin1String(name));
    }

    std::unique_ptr<SpeechRig> rig;
    std::unique_ptr<CTTSListDlg> panel;
    QPlainTextEdit* text = nullptr;
    QTreeView* list = nullptr;
};

void TestTtsListDlg::init() {
    MessageBox::clearShown();
    rig = std::make_unique<SpeechRig>(QDateTime(QDate(2026, 3, 2), QTime(9, 0)));
    // The panel's texts come from the program folder, as in the program.
    for (const char* name : {"string_chs.conf", "string_eng.conf"})
        QFile::copy(QStringLiteral(TOLVANE_SOURCE_DIR "/resources/") + name,
                    rig->folder.filePath(name));
    rig->store->scripts.push_back(std::make_unique<SpeechScript>(
        SpeechScript{"Fire drill", "A fire drill starts at %Time%."}));
    rig->store->scripts.push_back(std::make_unique<SpeechScript>(
        SpeechScript{"Lunch", "Lunch is served in the canteen.\nEnjoy your meal."}));
    panel = std::make_unique<CTTSListDlg>(*rig->schedule, *rig->job, *rig->store);
    panel->resize(520, 460);
    panel->show();
    QVERIFY(QTest::qWaitForWindowExposed(panel.get()));
    text = panel->findChild<QPlainTextEdit*>("instantText");
    list = panel->findChild<QTreeView*>("todayList");
    QVERIFY(text && list && button("playButton") && button("importButton"));
}

void TestTtsListDlg::cleanup() {
    panel.reset();
    rig.reset();
}

void TestTtsListDlg::playButtonFollowsTheText() {
    QPushButton* play = button("playButton");
    QVERIFY(!play->isEnabled());
    QTest::keyClicks(text, "Hi");
    QVERIFY(play->isEnabled());
    text->clear();
    QVERIFY(!play->isEnabled());
    text->setPlainText(" ");
    QVERIFY(play->isEnabled());
}

void TestTtsListDlg::playNowSpeaksAndKeepsTheText() {
    rig->store->settings.speakDelay = 0;
    text->setPlainText("Please move your car.");
    QTest::mouseClick(button("playButton"), Qt::LeftButton);
    QCOMPARE(rig->takeSpoken(), QStringList{"Please move your car."});
    QCOMPARE(rig->player->speechJob.voiceIndex, -1);
    QVERIFY(rig->events.contains("wake"));
    QCOMPARE(text->toPlainText(), QString("Please move your car."));
    QVERIFY(MessageBox::shown().isEmpty());
}

void TestTtsListDlg::playWhileSpeakingShowsTheWaitNotice() {
    SpeechRequest running;
    running.preDelay = 7;
    running.text = "running";
    rig->job->StartSpeechJob(&running, false);
    MessageBox::setNextAnswer(QMessageBox::Ok);
    text->setPlainText("Please move your car.");
    QTest::mouseClick(button("playButton"), Qt::LeftButton);

    QCOMPARE(MessageBox::shown().size(), 1);
    QCOMPARE(MessageBox::shown().first().key, QString("wait_for_speaking"));
    QCOMPARE(MessageBox::shown().first().icon, MessageBox::Icon::Exclamation);
    QCOMPARE(rig->player->speechJob.text, QString("running"));
    QCOMPARE(rig->player->speechJob.preDelay, 7);
    QVERIFY(rig->takeSpoken().isEmpty());
}

void TestTtsListDlg::importScript_data() {
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("expected");
    QTest::newRow("confirm") << "confirm"
                             << "Lunch is served in the canteen.\nEnjoy your meal.";
    QTest::newRow("double-click") << "double-click"
                                  << "Lunch is served in the canteen.\nEnjoy your meal.";
    QTest::newRow("cancel") << "cancel"
                            << "draft";
    QTest::newRow("confirm without a row") << "confirm without a row"
                                           << "draft";
}

void TestTtsListDlg::importScript() {
    QFETCH(QString, action);
    QFETCH(QString, expected);
    text->setPlainText("draft");
    bool answered = false;
    whenDialogOpens([&](CTTSStockSelDlg* dialog) {
        auto* rows = dialog->findChild<QTreeWidget*>("scriptList");
        auto* ok = dialog->findChild<QPushButton*>("okButton");
        if (action == "confirm without a row") {
            QTest::mouseClick(ok, Qt::LeftButton);
            QVERIFY(dialog->isVisible());
            dialog->reject();
        } else if (action == "cancel") {
            rows->setCurrentItem(rows->topLevelItem(1));
            QTest::mouseClick(dialog->findChild<QPushButton*>("cancelButton"), Qt::LeftButton);
        } else if (action == "double-click") {
            QTreeWidgetItem* row = rows->topLevelItem(1);
            rows->setCurrentItem(row);
            emit rows->itemDoubleClicked(row, 1);
        } else {
            rows->setCurrentItem(rows->topLevelItem(1));
            QTest::mouseClick(ok, Qt::LeftButton);
        }
        answered = true;
    });
    QTest::mouseClick(button("importButton"), Qt::LeftButton);
    QVERIFY(answered);
    QCOMPARE(text->toPlainText(), expected);
    QVERIFY(button("playButton")->isEnabled());
}

void TestTtsListDlg::selectionDialog() {
    CTTSStockSelDlg dialog(*rig->store);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QCOMPARE(dialog.windowTitle(), QString("选择播音文稿"));
    auto* rows = dialog.findChild<QTreeWidget*>("scriptList");
    auto* ok = dialog.findChild<QPushButton*>("okButton");
    QCOMPARE(rows->headerItem()->text(1), QString("文稿标题"));
    QCOMPARE(rows->headerItem()->text(2), QString("文稿内容"));
    QCOMPARE(rows->topLevelItemCount(), 2);
    QCOMPARE(rowTexts(rows, 0), (QStringList{"1", "Fire drill", "A fire drill starts at %Time%."}));
    QCOMPARE(rowTexts(rows, 1),
             (QStringList{"2", "Lunch", "Lunch is served in the canteen. Enjoy your meal."}));
    QCOMPARE(rows->columnWidth(1), 200);
    QVERIFY(!ok->isEnabled());

    rows->setCurrentItem(rows->topLevelItem(0));
    QVERIFY(ok->isEnabled());
    dialog.grab().save("/tmp/ttsstockseldlg.png");
    rows->clearSelection();
    QVERIFY(!ok->isEnabled());

    rows->setCurrentItem(rows->topLevelItem(0));
    QTest::mouseClick(ok, Qt::LeftButton);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(dialog.selectedScript(), rig->store->scripts[0].get());
}

void TestTtsListDlg::rowsOfTodaysList() {
    QAbstractItemModel* model = list->model();
    QCOMPARE(model->headerData(0, Qt::Horizontal).toString(), QString("序号"));
    QCOMPARE(model->headerData(1, Qt::Horizontal).toString(), QString("时间"));
    QCOMPARE(model->headerData(2, Qt::Horizontal).toString(), QString("播音任务"));
    QCOMPARE(model->rowCount(), 0);

    rig->addTask("Morning news", 930, 1030, 30);
    rig->addTask("Safety notice", 1000, 1000);
    rig->schedule->BuildTodaySpeechList();
    QCOMPARE(model->rowCount(), 4);
    QCOMPARE(rowTexts(list, 0), (QStringList{"1", "09:30", "Morning news"}));
    QCOMPARE(rowTexts(list, 1), (QStringList{"2", "10:00", "Safety notice"}));
    QCOMPARE(rowTexts(list, 2), (QStringList{"3", "10:00", "Morning news"}));
    QCOMPARE(rowTexts(list, 3), (QStringList{"4", "10:30", "Morning news"}));
    QCOMPARE(list->columnWidth(2), panel->width() - 125);

    // Clicking a row starts nothing.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rowRect(list, 0).center());
    QCOMPARE(rig->schedule->currentEntryIndex(), -1);
    QVERIFY(!rig->job->speaking());

    rig->state.workingNow = false;
    rig->schedule->BuildTodaySpeechList();
    QCOMPARE(model->rowCount(), 0);
}

void TestTtsListDlg::paintedRows() {
    rig->store->settings.speakDelay = 0;
    rig->clock.set(QDateTime(QDate(2026, 3, 2), QTime(10, 5)));
    SpeechTask* news = rig->addTask("Morning news", 1000, 1000);
    news->effect = 0;
    news->bkMusic = rig->file("bed.wav");
    rig->addTask("Safety notice", 1005, 1005)->effect = 1;
    rig->addTask("Lunch break", 1130, 1130)->effect = 2;
    rig->schedule->BuildTodaySpeechList();
    rig->second();
    QCOMPARE(rig->schedule->currentEntryIndex(), 1);
    panel->repaint();
    panel->grab().save("/tmp/ttslistdlg.png");

    const QImage image = list->viewport()->grab().toImage();
    const int titleLeft = list->header()->sectionViewportPosition(2);
    auto cell = [&](int row, int from, int to) {
        const QRect r = rowRect(list, row);
        return QRect(titleLeft + from, r.top() + 1, to - from, r.height() - 3);
    };
    auto textArea = [&](int row) { return cell(row, CTTSListDlg::kTitleIndent, 200); };

    // The current entry red, the done one without dark text, the one still to
    // come in the normal text colour.
    QVERIFY(countPixels(image, textArea(1), isRed) > 10);
    QCOMPARE(countPixels(image, textArea(0), isRed), 0);
    QCOMPARE(countPixels(image, textArea(0), isDark), 0);
    QVERIFY(countPixels(image, textArea(2), isDark) > 10);
    QCOMPARE(countPixels(image, textArea(2), isRed), 0);

    // The figure by voice, then the note for background music; nothing in
    // front of the name for other voices.
    QVERIFY(countPixels(image, cell(0, 0, 18), isBlue) > 5);
    QVERIFY(countPixels(image, cell(0, 17, 36), isGreen) > 5);
    QVERIFY(countPixels(image, cell(1, 0, 18), isPink) > 5);
    QCOMPARE(countPixels(image, cell(1, 17, 36), isGreen), 0);
    QCOMPARE(countPixels(image, cell(2, 0, 36), isColoured), 0);

    // The entry's job ends: its row is no longer red.
    rig->voice->finish();
    rig->run(5);
    QCOMPARE(rig->schedule->currentEntryIndex(), -1);
    panel->repaint();
    const QImage after = list->viewport()->grab().toImage();
    QCOMPARE(countPixels(after, textArea(1), isRed), 0);
}

QTEST_MAIN(TestTtsListDlg)
#include "tst_ttslistdlg.moc"
