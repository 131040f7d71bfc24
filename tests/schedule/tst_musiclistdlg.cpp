// Today's music list panel, offscreen: what its rows, label and drop-down
// show for a running task, what a double-click and a choice in the drop-down
// do, and how the rows are painted. The painted panel is saved as
// /tmp/musiclistdlg.png for a look by eye.

#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QTreeView>
#include <QtTest>

#include "musicbench.h"
#include "store/uitext.h"
#include "ui/schedule/musiclistdlg.h"

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

// Pixels of the row in the painted list that satisfy `test`.
template <typename Test> int countPixels(const QImage& image, const QRect& rect, Test test) {
    int n = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
        for (int x = rect.left(); x <= rect.right(); ++x)
            n += test(image.pixelColor(x, y)) ? 1 : 0;
    }
    return n;
}

bool isRed(const QColor& c) {
    return c.red() > 200 && c.green() < 80 && c.blue() < 80;
}

} // namespace

class TestMusicListDlg : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void rowsLabelAndChooser();
    void doubleClickStartsTheRow();
    void choosingAnotherTaskSwitches();
    void paintedRows();

private:
    std::unique_ptr<MusicBench> bench;
    std::unique_ptr<CMusicListDlg> dialog;
    MusicTask* morning = nullptr;
    MusicTask* second = nullptr;
    QTreeView* list = nullptr;
    QLabel* label = nullptr;
    QComboBox* chooser = nullptr;
};

void TestMusicListDlg::init() {
    bench = std::make_unique<MusicBench>(QDateTime(QDate(2026, 3, 2), QTime(9, 0)));
    QFile::copy(QStringLiteral(TOLVANE_SOURCE_DIR "/resources/string_chs.conf"),
                bench->folder.filePath(QStringLiteral("string_chs.conf")));
    SetUiLanguage(0);

    morning = bench->addTask(QString::fromUtf16(u"晨间音乐"), 800, 1200);
    PlayItem* soft =
        bench->addBackground(morning, bench->file(QString::fromUtf16(u"轻音乐.mp3"), 200));
    soft->duration = 320;
    soft->volume = 80;
    PlayItem* b = bench->addBackground(morning, bench->file(QStringLiteral("b.mp3"), 45), 2);
    b->duration = 45;
    PlayItem* bell = bench->addTimePoints(morning, bench->file(QStringLiteral("bell.mp3"), 3900),
                                          {830, 900, 1000});
    bell->duration = 10500;
    second = bench->addTask(QStringLiteral("Second"), 830, 1100);
    bench->addBackground(second, bench->file(QStringLiteral("s.mp3")));

    dialog = std::make_unique<CMusicListDlg>(*bench->schedule);
    dialog->resize(640, 320);
    dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
    list = dialog->findChild<QTreeView*>(QStringLiteral("musicList"));
    label = dialog->findChild<QLabel*>(QStringLiteral("taskLabel"));
    chooser = dialog->findChild<QComboBox*>(QStringLiteral("taskChooser"));
    QVERIFY(list && label && chooser);
}

void TestMusicListDlg::cleanup() {
    dialog.reset();
    bench.reset();
}

void TestMusicListDlg::rowsLabelAndChooser() {
    QCOMPARE(label->text(), QString::fromUtf16(u"当前没有播放任务"));
    QVERIFY(chooser->isHidden());
    QCOMPARE(list->model()->rowCount(), 0);
    QStringList titles;
    for (int c = 0; c < list->model()->columnCount(); ++c)
        titles << list->model()->headerData(c, Qt::Horizontal).toString();
    QCOMPARE(titles, QStringList({"", "时间", "曲目", "时长", "音量", "播放次数"}));

    bench->second(); // 09:00:00: the task starts and the bell plays
    QCOMPARE(label->text(), QString::fromUtf16(u"当前任务："));
    QVERIFY(chooser->isVisible());
    QCOMPARE(chooser->count(), 2);
    QCOMPARE(chooser->currentText(), morning->name);

    QCOMPARE(list->model()->rowCount(), 5);
    QCOMPARE(rowTexts(list, 0), QStringList({"1", "背景", "轻音乐", "03:20", "80", "0/*"}));
    QCOMPARE(rowTexts(list, 1), QStringList({"2", "背景", "b", "00:45", "100", "0/2"}));
    QCOMPARE(rowTexts(list, 2), QStringList({"3", "08:30", "bell", "01:05:00", "100", "1"}));
    QCOMPARE(rowTexts(list, 3), QStringList({"4", "09:00", "bell", "01:05:00", "100", "1"}));

    const int widths[] = {50, 0, 60, 50, 60};
    for (int c = 1; c < 6; ++c) {
        if (widths[c - 1] > 0)
            QCOMPARE(list->columnWidth(c), widths[c - 1]);
    }
    QCOMPARE(list->columnWidth(2),
             list->width() - 2 * list->frameWidth() - CMusicListDlg::kFixedColumnsWidth);
}

void TestMusicListDlg::doubleClickStartsTheRow() {
    bench->second();
    bench->takeLoads();
    const auto doubleClick = [this](int row) {
        const QRect rect = rowRect(list, row);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, rect.center());
    };
    doubleClick(3); // the row playing now: nothing
    doubleClick(2); // 08:30, passed before the list was built
    doubleClick(0); // background
    QCOMPARE(bench->takeLoads(), QStringList({"09:00:01 bell.mp3", "09:00:01 轻音乐.mp3"}));
    QCOMPARE(rowTexts(list, 0)[5], QStringLiteral("1/*"));
    QCOMPARE(rowTexts(list, 2)[5], QStringLiteral("2"));
    QCOMPARE(bench->schedule->TodayMusicList()[2].startCount, 1);
    QCOMPARE(bench->schedule->currentEntryIndex(), 0);
}

void TestMusicListDlg::choosingAnotherTaskSwitches() {
    bench->second();
    chooser->setFocus();
    QTest::keyClick(chooser, Qt::Key_Down);
    QCOMPARE(second->runState, kTaskSwitchRequested);
    bench->second();
    QCOMPARE(bench->schedule->currentTask(), second);
    QCOMPARE(chooser->currentText(), QStringLiteral("Second"));
    QCOMPARE(list->model()->rowCount(), 1);
    QCOMPARE(rowTexts(list, 0)[2], QStringLiteral("s"));
    QCOMPARE(bench->logLines(QStringLiteral("Start play task")).last(),
             QStringLiteral("09:00:01 Start play task: Second"));
}

void TestMusicListDlg::paintedRows() {
    bench->second();                    // the bell at 09:00 plays (row 3)
    morning->items[1]->playedCount = 3; // b: 3 of 2, more than it was meant to
    list->viewport()->update();
    list->setCurrentIndex(list->model()->index(4, 0));
    list->clearFocus(); // the list without focus: selection in button colours
    QApplication::processEvents();

    const QImage image = dialog->grab().toImage();
    image.save(QStringLiteral("/tmp/musiclistdlg.png"));
    const QPoint origin = list->viewport()->mapTo(dialog.get(), QPoint(0, 0));
    const auto shownRow = [&](int row) { return rowRect(list, row).translated(origin); };
    const auto cell = [&](int row, int column) {
        const QRect r = shownRow(row);
        return QRect(origin.x() + list->header()->sectionViewportPosition(column), r.top(),
                     list->header()->sectionSize(column), r.height());
    };

    // Background rows in their colour, timed rows on the window colour.
    QCOMPARE(image.pixelColor(cell(0, 4).topLeft() + QPoint(2, 2)), QColor(253, 238, 166));
    QCOMPARE(image.pixelColor(cell(2, 4).topLeft() + QPoint(2, 2)),
             list->palette().color(QPalette::Base));
    QCOMPARE(image.pixelColor(cell(4, 4).topLeft() + QPoint(2, 2)),
             list->palette().color(QPalette::Button));
    // The picture, not the text, in the time cell of a background row.
    QVERIFY(countPixels(image, cell(0, 1),
                        [](const QColor& c) { return c.blue() > 120 && c.red() < 100; }) > 10);
    // The playing row in red; the other rows without red.
    QVERIFY(countPixels(image, shownRow(3), isRed) > 20);
    for (int row : {0, 1, 2, 4})
        QCOMPARE(countPixels(image, shownRow(row), isRed), 0);
    // Done timed rows and overplayed background rows in grey, no black text.
    const auto isGrey = [](const QColor& c) {
        return qAbs(c.red() - 128) < 24 && qAbs(c.green() - 128) < 24 && qAbs(c.blue() - 128) < 24;
    };
    const auto isBlack = [](const QColor& c) { return c.lightness() < 40; };
    for (int row : {1, 2}) {
        QVERIFY(countPixels(image, cell(row, 2), isGrey) > 5);
        QCOMPARE(countPixels(image, cell(row, 2), isBlack), 0);
    }
    QVERIFY(countPixels(image, cell(0, 2), isBlack) > 5);

    const QLabel* hint = dialog->findChild<QLabel*>(QStringLiteral("playHint"));
    QCOMPARE(hint->text(), QString::fromUtf16(u"(双击直接播放)"));
    QVERIFY(countPixels(image, hint->geometry(), [](const QColor& c) {
                return c.red() > 150 && c.green() < 90 && c.blue() < 90;
            }) > 10);
}

QTEST_MAIN(TestMusicListDlg)
#include "tst_musiclistdlg.moc"
