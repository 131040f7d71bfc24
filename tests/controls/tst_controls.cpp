#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFontDatabase>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>

#include "controls/filedialog.h"
#include "controls/fonts.h"
#include "controls/listutils.h"
#include "controls/messagebox.h"
#include "controls/mybutton.h"
#include "controls/mytabctrl.h"
#include "controls/skin.h"
#include "controls/waitcursor.h"
#include "support/apppaths.h"

namespace {

QRgb rgb(const QColor& colour) {
    return colour.rgb();
}

bool isWhitish(QRgb pixel) {
    return qRed(pixel) > 230 && qGreen(pixel) > 230 && qBlue(pixel) > 230;
}

QImage grabbed(QWidget& widget) {
    return widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// A picture whose every pixel tells where it came from, so a drawn copy
// shows whether it was copied or stretched.
QImage coordinatePicture(const QSize& size) {
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x)
            image.setPixel(x, y, qRgb(x * 2 % 256, y * 8 % 256, 77));
    }
    return image;
}

QImage solidPicture(const QSize& size, const QColor& colour) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

QTreeWidgetItem* addRow(QTreeWidget* list, const QString& name, int record) {
    auto* item = new QTreeWidgetItem(list, {QString(), name, name + QStringLiteral("-info")});
    item->setData(0, Qt::UserRole, record);
    return item;
}

QStringList columnTexts(QTreeWidget* list, int column) {
    QStringList texts;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        texts << list->topLevelItem(i)->text(column);
    return texts;
}

QList<int> records(QTreeWidget* list) {
    QList<int> values;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        values << list->topLevelItem(i)->data(0, Qt::UserRole).toInt();
    return values;
}

QList<int> selectedRows(QTreeWidget* list) {
    QList<int> rows;
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        if (list->topLevelItem(i)->isSelected())
            rows << i;
    }
    return rows;
}

} // namespace

class TestControls : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void buttonWithoutPictureShowsCaption();
    void buttonStatePicksPicture_data();
    void buttonStatePicksPicture();
    void buttonPictureCopiedOrStretched_data();
    void buttonPictureCopiedOrStretched();
    void drawBitmapInRectSkipsNothingToDraw();
    void disabledCaptionIsEmbossed();
    void multiLineCaption();
    void selectedTabUsesItsPicture_data();
    void selectedTabUsesItsPicture();
    void tabsWithoutPicturesShowText();
    void shippedPicturesFitTheControls();

    void numberListRows_data();
    void numberListRows();
    void selectAfterDelete_data();
    void selectAfterDelete();
    void swapListRows();
    void swapListRowsIgnoresBadRows_data();
    void swapListRowsIgnoresBadRows();

    void messageBoxAnswersInAdvance();
    void fileDialogAnswersInAdvance();
    void fileFilter_data();
    void fileFilter();
    void sharedFonts();
    void waitCursorHoldsAndRestores();

private:
    void writePicture(const QString& name, const QImage& image);

    QTemporaryDir* folder_ = nullptr;
};

void TestControls::init() {
    folder_ = new QTemporaryDir;
    QVERIFY(folder_->isValid());
    QVERIFY(QDir(folder_->path()).mkdir(QStringLiteral("imgs")));
    SetAppFolderForTests(folder_->path());
}

void TestControls::cleanup() {
    SetAppFolderForTests(QString());
    delete folder_;
    folder_ = nullptr;
}

void TestControls::writePicture(const QString& name, const QImage& image) {
    QVERIFY(image.save(folder_->path() + QStringLiteral("/imgs/") + name, "BMP"));
}

void TestControls::buttonWithoutPictureShowsCaption() {
    CMyButton button(1109, QStringLiteral("连接设备"));
    button.resize(100, 30);
    const QImage shot = grabbed(button);

    int textPixels = 0;
    for (int y = 0; y < shot.height(); ++y) {
        for (int x = 0; x < shot.width(); ++x) {
            const QRgb pixel = shot.pixel(x, y);
            if (isWhitish(pixel)) {
                ++textPixels;
                // The caption keeps out of the left part of the face.
                QVERIFY2(x >= shot.height() / 2, qPrintable(QString::number(x)));
            }
        }
    }
    QVERIFY(textPixels > 20);
    QCOMPARE(shot.pixel(0, 0), rgb(SkinBackgroundColor()));
    QCOMPARE(shot.pixel(99, 29), rgb(SkinBackgroundColor()));
    QCOMPARE(shot.pixel(5, 15), rgb(SkinBackgroundColor()));
}

void TestControls::buttonStatePicksPicture_data() {
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<bool>("down");
    QTest::addColumn<QColor>("expected");
    QTest::newRow("normal") << true << false << QColor(Qt::red);
    QTest::newRow("pressed") << true << true << QColor(Qt::green);
    QTest::newRow("disabled") << false << false << QColor(Qt::blue);
    QTest::newRow("disabled wins over pressed") << false << true << QColor(Qt::blue);
}

void TestControls::buttonStatePicksPicture() {
    QFETCH(bool, enabled);
    QFETCH(bool, down);
    QFETCH(QColor, expected);
    writePicture(QStringLiteral("btn_1107_0.bmp"), solidPicture(QSize(80, 30), Qt::red));
    writePicture(QStringLiteral("btn_1107_1.bmp"), solidPicture(QSize(80, 30), Qt::green));
    writePicture(QStringLiteral("btn_1107_2.bmp"), solidPicture(QSize(80, 30), Qt::blue));
    // Pictures of another button must not be taken.
    writePicture(QStringLiteral("btn_1109_2.bmp"), solidPicture(QSize(80, 30), Qt::yellow));

    CMyButton button(1107, QStringLiteral("关机"));
    button.resize(80, 30);
    button.setEnabled(enabled);
    button.setDown(down);
    const QImage shot = grabbed(button);
    QCOMPARE(shot.pixel(2, 2), rgb(expected));
    QCOMPARE(shot.pixel(2, 27), rgb(expected));
    QCOMPARE(shot.pixel(78, 27), rgb(expected));
}

void TestControls::buttonPictureCopiedOrStretched_data() {
    QTest::addColumn<QSize>("pictureSize");
    QTest::newRow("exact size is copied") << QSize(100, 30);
    QTest::newRow("half size is stretched") << QSize(50, 15);
    QTest::newRow("larger is shrunk") << QSize(200, 60);
}

void TestControls::buttonPictureCopiedOrStretched() {
    QFETCH(QSize, pictureSize);
    const QImage picture = coordinatePicture(pictureSize);
    writePicture(QStringLiteral("btn_1006_0.bmp"), picture);

    CMyButton button(1006, QString());
    button.resize(100, 30);
    const QImage shot = grabbed(button);
    // Every pixel of the face comes from the nearest picture pixel; no
    // blending between neighbours.
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 100; ++x) {
            const int px = x * pictureSize.width() / 100;
            const int py = y * pictureSize.height() / 30;
            if (shot.pixel(x, y) != picture.pixel(px, py))
                QFAIL(qPrintable(
                    QStringLiteral("pixel %1,%2").arg(QString::number(x), QString::number(y))));
        }
    }
}

void TestControls::drawBitmapInRectSkipsNothingToDraw() {
    QImage target(20, 20, QImage::Format_RGB32);
    target.fill(Qt::white);
    QPainter painter(&target);
    DrawBitmapInRect(painter, QImage(), QRect(0, 0, 20, 20));
    DrawBitmapInRect(painter, solidPicture(QSize(5, 5), Qt::red), QRect(3, 3, 0, 10));
    DrawBitmapInRect(painter, solidPicture(QSize(5, 5), Qt::red), QRect());
    DrawBitmapInRect(painter, LoadSkinPicture(QStringLiteral("/no/such/picture.bmp")),
                     QRect(0, 0, 20, 20));
    painter.end();
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 20; ++x)
            QCOMPARE(target.pixel(x, y), qRgb(255, 255, 255));
    }
}

void TestControls::disabledCaptionIsEmbossed() {
    CMyButton button(1107, QStringLiteral("关机"));
    button.resize(80, 30);
    // Colours that stand out from the background and from each other.
    QPalette palette = button.palette();
    palette.setColor(QPalette::Light, QColor(255, 0, 0));
    palette.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(255, 255, 0));
    button.setPalette(palette);
    auto isLight = [](QRgb p) { return qRed(p) > 150 && qGreen(p) < 90; };
    auto isGrey = [](QRgb p) { return qRed(p) > 150 && qGreen(p) > 150 && qBlue(p) < 120; };
    // The right-most and lowest pixel of each colour.
    auto extent = [](const QImage& shot, auto match) {
        QPoint far(-1, -1);
        for (int y = 0; y < shot.height(); ++y) {
            for (int x = 0; x < shot.width(); ++x) {
                if (match(shot.pixel(x, y)))
                    far = QPoint(qMax(far.x(), x), qMax(far.y(), y));
            }
        }
        return far;
    };

    QImage shot = grabbed(button);
    QCOMPARE(extent(shot, isLight), QPoint(-1, -1));
    QCOMPARE(extent(shot, isGrey), QPoint(-1, -1));

    button.setEnabled(false);
    shot = grabbed(button);
    const QPoint light = extent(shot, isLight);
    const QPoint grey = extent(shot, isGrey);
    QVERIFY(grey.x() >= 0);
    // The light copy lies one pixel further right and down.
    QVERIFY(light.x() > grey.x());
    QVERIFY(light.y() > grey.y());
}

void TestControls::multiLineCaption() {
    CMyButton button(1110, QStringLiteral("暂停\n播音"));
    button.resize(100, 44);
    const QImage shot = grabbed(button);
    QList<bool> rowHasText;
    for (int y = 0; y < shot.height(); ++y) {
        bool text = false;
        for (int x = 0; x < shot.width() && !text; ++x)
            text = isWhitish(shot.pixel(x, y));
        rowHasText << text;
    }
    const qsizetype first = rowHasText.indexOf(true);
    const qsizetype last = rowHasText.lastIndexOf(true);
    QVERIFY(first >= 2);
    QVERIFY(last > first);
    // Two lines: an empty pixel row lies between the first and the last row of text.
    QVERIFY(rowHasText.mid(first, last - first + 1).contains(false));
}

void TestControls::selectedTabUsesItsPicture_data() {
    QTest::addColumn<int>("current");
    QTest::newRow("first") << 0;
    QTest::newRow("middle") << 1;
    QTest::newRow("last") << 2;
}

void TestControls::selectedTabUsesItsPicture() {
    QFETCH(int, current);
    auto colour = [](int index, bool selected) {
        return QColor(40 + index * 60, selected ? 200 : 20, 90);
    };
    for (int i = 0; i < 3; ++i) {
        writePicture(QStringLiteral("tab1_%1_0.bmp").arg(i),
                     solidPicture(QSize(60, 30), colour(i, false)));
        writePicture(QStringLiteral("tab1_%1_1.bmp").arg(i),
                     solidPicture(QSize(60, 32), colour(i, true)));
        // Another skin's pictures must not be taken.
        writePicture(QStringLiteral("tab2_%1_1.bmp").arg(i),
                     solidPicture(QSize(60, 32), Qt::black));
    }

    QWidget parent;
    parent.resize(200, 40);
    CMyTabCtrl tabs(1014, QStringLiteral("tab1"), &parent);
    for (const char* text : {"今日曲目", "曲目任务", "歌库"})
        tabs.addTab(QString::fromUtf8(text));
    tabs.setItemSize(QSize(60, 30));
    tabs.resize(180, 30 + CMyTabCtrl::kTopMargin);
    tabs.setCurrentIndex(current);
    const QImage shot = grabbed(tabs);

    for (int i = 0; i < 3; ++i) {
        const QRect area = tabs.itemRect(i);
        QCOMPARE(area.width(), 60);
        const bool selected = i == current;
        QCOMPARE(shot.pixel(area.left() + 2, area.bottom() - 1), rgb(colour(i, selected)));
        // Only the selected tab reaches the top of the row.
        QCOMPARE(area.top(), selected ? 0 : CMyTabCtrl::kTopMargin);
        if (selected)
            QCOMPARE(shot.pixel(area.left() + 2, 0), rgb(colour(i, true)));
        else
            QVERIFY(shot.pixel(area.left() + 2, 0) != rgb(colour(i, false)));
    }
}

void TestControls::tabsWithoutPicturesShowText() {
    CMyTabCtrl tabs(1015, QStringLiteral("tab2"));
    tabs.addTab(QStringLiteral("即时播音"));
    tabs.addTab(QStringLiteral("播音任务"));
    tabs.setItemSize(QSize(100, 30));
    tabs.resize(200, 32);
    const QImage shot = grabbed(tabs);
    for (int i = 0; i < 2; ++i) {
        const QRect area = tabs.itemRect(i);
        int textPixels = 0;
        for (int y = area.top(); y <= area.bottom(); ++y) {
            for (int x = area.left(); x <= area.right(); ++x) {
                // Brighter than the grabbed background of the bar.
                if (qGray(shot.pixel(x, y)) > 250) {
                    ++textPixels;
                    QVERIFY(x >= area.left() + 25);
                }
            }
        }
        QVERIFY(textPixels > 20);
    }
}

// The shipped pictures: every button and tab has all its states; the states
// of one control share a size, and a selected tab is taller by the rows it
// reaches up, so each state fills the same place without being distorted.
void TestControls::shippedPicturesFitTheControls() {
    const QString folder = QStringLiteral(TOLVANE_SOURCE_DIR "/resources/imgs/");
    const QSize buttonSize = QImage(folder + QStringLiteral("btn_1109_0.bmp")).size();
    QVERIFY(buttonSize.height() >= 24 && buttonSize.width() > 2 * buttonSize.height());
    for (int id : {1109, 1107, 1110, 1007, 1006, 1106, 1108}) {
        for (int state = 0; state < 3; ++state) {
            const QString name =
                QStringLiteral("btn_%1_%2.bmp").arg(QString::number(id), QString::number(state));
            QCOMPARE(QImage(folder + name).size(), buttonSize);
        }
    }
    const struct {
        const char* skin;
        int count;
    } rows[] = {{"tab1", 3}, {"tab2", 4}};
    for (const auto& row : rows) {
        const QString skin = QLatin1String(row.skin);
        const QSize tabSize = QImage(folder + skin + QStringLiteral("_0_0.bmp")).size();
        QCOMPARE(tabSize.height(), 30);
        for (int i = 0; i < row.count; ++i) {
            QCOMPARE(
                QImage(folder + QStringLiteral("%1_%2_0.bmp").arg(skin, QString::number(i))).size(),
                tabSize);
            QCOMPARE(
                QImage(folder + QStringLiteral("%1_%2_1.bmp").arg(skin, QString::number(i))).size(),
                tabSize + QSize(0, CMyTabCtrl::kTopMargin));
        }
    }
}

void TestControls::numberListRows_data() {
    QTest::addColumn<int>("rows");
    QTest::newRow("empty") << 0;
    QTest::newRow("one") << 1;
    QTest::newRow("twelve") << 12;
    QTest::newRow("hundred") << 100;
}

void TestControls::numberListRows() {
    QFETCH(int, rows);
    QTreeWidget list;
    list.setColumnCount(3);
    QStringList expected;
    for (int i = 0; i < rows; ++i) {
        addRow(&list, QStringLiteral("r%1").arg(i), i)->setText(0, QStringLiteral("stale"));
        expected << QString::number(i + 1);
    }
    NumberListRows(&list);
    QCOMPARE(columnTexts(&list, 0), expected);
    // Wider than the largest number.
    const QFontMetrics metrics(QApplication::font());
    QVERIFY(list.columnWidth(0) > metrics.horizontalAdvance(QString::number(qMax(rows, 1))));
}

void TestControls::selectAfterDelete_data() {
    QTest::addColumn<int>("rowsBefore");
    QTest::addColumn<int>("deleted");
    QTest::addColumn<int>("selected");
    QTest::newRow("first row: the new first row") << 5 << 0 << 0;
    QTest::newRow("middle row: the row above") << 5 << 2 << 1;
    QTest::newRow("last row: the new last row") << 5 << 4 << 3;
    QTest::newRow("the only row: none") << 1 << 0 << -1;
    QTest::newRow("index past the end: none") << 3 << 7 << -1;
    QTest::newRow("negative index: none") << 3 << -1 << -1;
}

void TestControls::selectAfterDelete() {
    QFETCH(int, rowsBefore);
    QFETCH(int, deleted);
    QFETCH(int, selected);
    QTreeWidget list;
    list.setColumnCount(2);
    for (int i = 0; i < rowsBefore; ++i)
        addRow(&list, QStringLiteral("r%1").arg(i), i);
    if (deleted >= 0 && deleted < rowsBefore)
        delete list.takeTopLevelItem(deleted);
    list.clearSelection();

    QCOMPARE(SelectAfterDelete(&list, deleted), selected);
    if (selected >= 0) {
        QCOMPARE(selectedRows(&list), QList<int>{selected});
        QCOMPARE(list.indexOfTopLevelItem(list.currentItem()), selected);
    } else {
        QVERIFY(selectedRows(&list).isEmpty());
    }
}

void TestControls::swapListRows() {
    QTreeWidget list;
    list.setColumnCount(3);
    for (int i = 0; i < 4; ++i)
        addRow(&list, QStringLiteral("r%1").arg(i), 100 + i);
    list.topLevelItem(1)->setForeground(1, Qt::red);
    list.topLevelItem(3)->setData(2, Qt::UserRole + 1, QStringLiteral("only in r3"));
    NumberListRows(&list);
    list.setCurrentItem(list.topLevelItem(1));

    QSignalSpy selectionChanges(&list, &QTreeWidget::itemSelectionChanged);
    SwapListRows(&list, 1, 3);

    QCOMPARE(columnTexts(&list, 0), QStringList({"1", "2", "3", "4"}));
    QCOMPARE(columnTexts(&list, 1), QStringList({"r0", "r3", "r2", "r1"}));
    QCOMPARE(columnTexts(&list, 2), QStringList({"r0-info", "r3-info", "r2-info", "r1-info"}));
    QCOMPARE(records(&list), QList<int>({100, 103, 102, 101}));
    QCOMPARE(list.topLevelItem(3)->foreground(1).color(), QColor(Qt::red));
    QVERIFY(list.topLevelItem(1)->foreground(1).style() == Qt::NoBrush);
    QCOMPARE(list.topLevelItem(1)->data(2, Qt::UserRole + 1).toString(),
             QStringLiteral("only in r3"));
    QVERIFY(!list.topLevelItem(3)->data(2, Qt::UserRole + 1).isValid());
    // The selection and the current row follow the moved record.
    QCOMPARE(selectedRows(&list), QList<int>{3});
    QCOMPARE(list.indexOfTopLevelItem(list.currentItem()), 3);
    QVERIFY(selectionChanges.count() > 0);
    QVERIFY(list.updatesEnabled());

    // Moving back restores the list.
    SwapListRows(&list, 3, 1);
    QCOMPARE(columnTexts(&list, 1), QStringList({"r0", "r1", "r2", "r3"}));
    QCOMPARE(records(&list), QList<int>({100, 101, 102, 103}));
    QCOMPARE(selectedRows(&list), QList<int>{1});
}

void TestControls::swapListRowsIgnoresBadRows_data() {
    QTest::addColumn<int>("a");
    QTest::addColumn<int>("b");
    QTest::newRow("same row") << 1 << 1;
    QTest::newRow("negative") << -1 << 2;
    QTest::newRow("past the end") << 0 << 3;
}

void TestControls::swapListRowsIgnoresBadRows() {
    QFETCH(int, a);
    QFETCH(int, b);
    QTreeWidget list;
    list.setColumnCount(2);
    for (int i = 0; i < 3; ++i)
        addRow(&list, QStringLiteral("r%1").arg(i), i);
    list.setCurrentItem(list.topLevelItem(1));
    SwapListRows(&list, a, b);
    QCOMPARE(columnTexts(&list, 1), QStringList({"r0", "r1", "r2"}));
    QCOMPARE(records(&list), QList<int>({0, 1, 2}));
    QCOMPARE(selectedRows(&list), QList<int>{1});
}

void TestControls::messageBoxAnswersInAdvance() {
    MessageBox::clearShown();
    MessageBox::setNextAnswer(QMessageBox::No);
    MessageBox::setNextAnswer(QMessageBox::Ok);
    QCOMPARE(MessageBox::askDelete(nullptr, QStringLiteral("ask_delete"), QStringLiteral("删除?")),
             int(QMessageBox::No));
    QCOMPARE(MessageBox::showNotice(nullptr, QStringLiteral("only_admin_role_to_exec"),
                                    QStringLiteral("只有管理员才能执行")),
             int(QMessageBox::Ok));
    // With nothing queued, the default answer keeps tests from blocking.
    MessageBox::setDefaultAnswer(QMessageBox::Cancel);
    QCOMPARE(MessageBox::askOkCancel(nullptr, QStringLiteral("ask_exit_app"), QStringLiteral("?")),
             int(QMessageBox::Cancel));
    QVERIFY(QApplication::activeModalWidget() == nullptr);

    const QList<MessageBox::Shown>& shown = MessageBox::shown();
    QCOMPARE(shown.size(), 3);
    QCOMPARE(shown[0].key, QStringLiteral("ask_delete"));
    QVERIFY(shown[0].icon == MessageBox::Icon::Warning);
    QVERIFY(shown[0].buttons == (QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel));
    QCOMPARE(shown[1].key, QStringLiteral("only_admin_role_to_exec"));
    QCOMPARE(shown[1].text, QStringLiteral("只有管理员才能执行"));
    QVERIFY(shown[1].icon == MessageBox::Icon::Exclamation);
    QVERIFY(shown[1].buttons == QMessageBox::Ok);
    QVERIFY(shown[2].buttons == (QMessageBox::Ok | QMessageBox::Cancel));

    MessageBox::clearShown();
    QVERIFY(MessageBox::shown().isEmpty());
}

void TestControls::fileDialogAnswersInAdvance() {
    FileDialog::clearAsked();
    FileDialog::setNextFileNames({QStringLiteral("/m/a.mp3"), QStringLiteral("/m/b.wav")});
    FileDialog::setNextFileNames({QStringLiteral("/m/c.mp3"), QStringLiteral("/m/d.mp3")});
    FileDialog::setNextFileNames({});
    QCOMPARE(
        FileDialog::getOpenFileNames(nullptr, QString(), QString(), QStringLiteral("x|*.mp3||")),
        QStringList({"/m/a.mp3", "/m/b.wav"}));
    QCOMPARE(FileDialog::getOpenFileName(nullptr, QString(), QStringLiteral("/m"), QString()),
             QStringLiteral("/m/c.mp3"));
    QVERIFY(FileDialog::getOpenFileName(nullptr, QString(), QString(), QString()).isEmpty());

    const QList<FileDialog::Asked>& asked = FileDialog::asked();
    QCOMPARE(asked.size(), 3);
    QVERIFY(asked[0].multiple);
    QCOMPARE(asked[0].filter, QStringLiteral("x|*.mp3||"));
    QVERIFY(!asked[1].multiple);
    QCOMPARE(asked[1].dir, QStringLiteral("/m"));
    FileDialog::clearAsked();
}

void TestControls::fileFilter_data() {
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("expected");
    QTest::newRow("default patterns")
        << QStringLiteral("音乐文件(*.mp3; *.wmv; *.wav)|*.mp3; *.wmv; *.wav||")
        << QStringLiteral("音乐文件 (*.mp3 *.wmv *.wav)");
    QTest::newRow("one pattern") << QStringLiteral("Music files(*.mp3)|*.mp3||")
                                 << QStringLiteral("Music files (*.mp3)");
    QTest::newRow("no pattern shows all files")
        << QStringLiteral("Music files()|||") << QStringLiteral("Music files (*)");
    QTest::newRow("two filters") << QStringLiteral("A(*.a)|*.a|B|*.b;*.c||")
                                 << QStringLiteral("A (*.a);;B (*.b *.c)");
    QTest::newRow("Qt form unchanged")
        << QStringLiteral("Music (*.mp3 *.wav)") << QStringLiteral("Music (*.mp3 *.wav)");
}

void TestControls::fileFilter() {
    QFETCH(QString, filter);
    QFETCH(QString, expected);
    QCOMPARE(FileDialog::ToQtFilter(filter), expected);
}

void TestControls::sharedFonts() {
    const QFont& normal = NormalFont();
    QCOMPARE(&NormalFont(), &normal);
    QCOMPARE(BoldFont().family(), normal.family());
    QCOMPARE(BoldFont().weight(), QFont::Bold);
    QCOMPARE(SmallFont().family(), normal.family());
    QVERIFY(QFontMetrics(SmallFont()).height() < QFontMetrics(normal).height());
    if (!QFontDatabase::hasFamily(QStringLiteral("Tahoma")))
        QCOMPARE(normal.family(), QApplication::font("QMessageBox").family());
}

void TestControls::waitCursorHoldsAndRestores() {
    QVERIFY(QGuiApplication::overrideCursor() == nullptr);
    QElapsedTimer timer;
    timer.start();
    {
        WaitCursor busy;
        QVERIFY(QGuiApplication::overrideCursor() != nullptr);
        QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
    }
    QVERIFY(timer.elapsed() >= 100);
    QVERIFY(QGuiApplication::overrideCursor() == nullptr);
}

QTEST_MAIN(TestControls)
#include "tst_controls.moc"
