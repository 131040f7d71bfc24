// The music library's windows offscreen, on a store that saves for real:
// naming, adding, renaming, removing and moving categories; adding files,
// folders and drops to a category, removing and playing them; choosing files
// in the selection dialog. Every change is checked in the store and in the
// category file read back by a second store.

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMimeData>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>
#include <QUrl>
#include <QtTest>

#include <functional>

#include "controls/filedialog.h"
#include "controls/messagebox.h"
#include "musictestfolder.h"
#include "station/musiccategorymodel.h"
#include "store/uitext.h"
#include "ui/music/musicfoldermanagedlg.h"
#include "ui/music/musicfoldernamedlg.h"
#include "ui/music/musicseldlg.h"
#include "ui/music/musicstockdlg.h"

namespace {

// Typed into a name dialog to cancel it instead.
const QString kCancel = QStringLiteral("<cancel>");

// Answers the modal dialogs of one class as they open, in order, one answer
// each; a dialog beyond the answers is cancelled and counted. A dialog class
// of its own keeps its own timer: a timer does not fire again while its
// answer runs a nested dialog.
template <typename Dialog> class DialogAnswerer : public QObject {
public:
    using Answer = std::function<void(Dialog*)>;

    DialogAnswerer() {
        timer_.setInterval(10);
        connect(&timer_, &QTimer::timeout, this, [this] { poll(); });
        timer_.start();
    }
    void add(Answer answer) { answers_ << std::move(answer); }
    int pending() const { return int(answers_.size()); }
    int unexpected = 0;

private:
    void poll() {
        auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
        // Dialogs on the stack may come back at the same address.
        if (!dialog || dialog->property("answered").toBool())
            return;
        dialog->setProperty("answered", true);
        if (answers_.isEmpty()) {
            ++unexpected;
            dialog->reject();
            return;
        }
        answers_.takeFirst()(dialog);
    }

    QTimer timer_;
    QList<Answer> answers_;
};

// Answers name dialogs with the texts given (kCancel cancels) and records
// the text each one opened with.
struct NameAnswers : DialogAnswerer<CMusicFolderNameDlg> {
    explicit NameAnswers(const QStringList& texts) {
        for (const QString& text : texts) {
            add([this, text](CMusicFolderNameDlg* dialog) {
                auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("nameEdit"));
                opened << edit->text();
                if (text == kCancel) {
                    dialog->reject();
                    return;
                }
                edit->setText(text);
                dialog->findChild<QPushButton*>(QStringLiteral("okButton"))->click();
                if (dialog->isVisible())
                    dialog->reject();
            });
        }
    }
    QStringList opened;
};

QStringList shownKeys() {
    QStringList keys;
    for (const MessageBox::Shown& box : MessageBox::shown())
        keys << box.key;
    return keys;
}

QStringList names(const DataStore& store) {
    QStringList out;
    for (const auto& category : store.categories)
        out << category->name;
    return out;
}

// Column `column` of every row of the list, as shown.
QStringList columnTexts(const QTreeView* list, int column) {
    QStringList texts;
    const QAbstractItemModel* model = list->model();
    for (int row = 0; row < model->rowCount(); ++row)
        texts << model->index(row, column).data().toString();
    return texts;
}

QStringList numbersUpTo(int count) {
    QStringList numbers;
    for (int i = 1; i <= count; ++i)
        numbers << QString::number(i);
    return numbers;
}

int selectedRow(const QTreeView* list) {
    const QModelIndexList rows = list->selectionModel()->selectedRows();
    return rows.size() == 1 ? rows.first().row() : -1;
}

void selectRow(QTreeView* list, int row) {
    list->selectionModel()->setCurrentIndex(list->model()->index(row, 0),
                                            QItemSelectionModel::ClearAndSelect |
                                                QItemSelectionModel::Rows);
}

void clickRow(QTreeView* list, int row, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    const QRect cell = list->visualRect(list->model()->index(row, 1));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, modifiers, cell.center());
}

void addCategory(DataStore& store, const QString& name, const QStringList& files) {
    store.categories.push_back(std::make_unique<MusicCategory>(MusicCategory{name, files}));
}

bool writeFile(const QString& path) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write("x") == 1;
}

QStringList under(const QString& root, const QStringList& relative) {
    QStringList paths;
    for (const QString& name : relative)
        paths << root + u'/' + name;
    return paths;
}

void dropOn(QTreeView* list, const QStringList& paths) {
    QMimeData data;
    QList<QUrl> urls;
    for (const QString& path : paths)
        urls << QUrl::fromLocalFile(path);
    data.setUrls(urls);
    const QPointF at = list->viewport()->rect().center();
    QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(list->viewport(), &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(list->viewport(), &drop);
    QVERIFY(drop.isAccepted());
    // The files are added once the drop is over.
    QTest::qWait(20);
}

} // namespace

class TestMusicLibrary : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void nameDialog_data();
    void nameDialog();
    void addAndRenameCategories_data();
    void addAndRenameCategories();
    void removeAndMoveCategories_data();
    void removeAndMoveCategories();
    void chooserAfterManagement_data();
    void chooserAfterManagement();
    void addFiles_data();
    void addFiles();
    void addFoldersAndDrops_data();
    void addFoldersAndDrops();
    void removeAndPlayFiles();
    void missingFilesShowGrey();
    void selectionDialog_data();
    void selectionDialog();

private:
    std::unique_ptr<CMusicStockDlg> openPanel(int line = 0) {
        auto panel = std::make_unique<CMusicStockDlg>(*folder->store, *folder->player);
        panel->resize(460, 500);
        panel->show();
        auto* chooser = panel->findChild<QComboBox*>(QStringLiteral("categoryChooser"));
        chooser->setCurrentIndex(line);
        return panel;
    }

    std::unique_ptr<MusicTestFolder> folder;
};

void TestMusicLibrary::init() {
    folder = std::make_unique<MusicTestFolder>();
    QVERIFY(folder->ok);
    MessageBox::clearShown();
    // Notices are answered with OK rather than waiting for a click.
    MessageBox::setDefaultAnswer(QMessageBox::Ok);
    FileDialog::clearAsked();
}

void TestMusicLibrary::cleanup() {
    MessageBox::clearShown();
    FileDialog::clearAsked();
    folder.reset();
}

void TestMusicLibrary::nameDialog_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("boxes");

    const QString sixty = QString(60, u'歌');
    QTest::newRow("plain") << "Jazz" << true << "Jazz" << QStringList();
    QTest::newRow("bars become blanks") << "Rock|Pop|" << true << "Rock Pop " << QStringList();
    QTest::newRow("blanks are a name") << "  " << true << "  " << QStringList();
    QTest::newRow("61 characters keep 60") << sixty + u'x' << true << sixty << QStringList();
    QTest::newRow("empty refused")
        << "" << false << "old" << QStringList{QStringLiteral("entry_category_name")};
}

void TestMusicLibrary::nameDialog() {
    QFETCH(QString, typed);
    QFETCH(bool, accepted);
    QFETCH(QString, name);
    QFETCH(QStringList, boxes);

    CMusicFolderNameDlg dialog(QStringLiteral("old"));
    dialog.show();
    auto* edit = dialog.findChild<QLineEdit*>(QStringLiteral("nameEdit"));
    QCOMPARE(edit->text(), QStringLiteral("old"));
    edit->setText(typed);
    dialog.findChild<QPushButton*>(QStringLiteral("okButton"))->click();
    QCOMPARE(dialog.result() == QDialog::Accepted, accepted);
    QCOMPARE(dialog.isVisible(), !accepted);
    QCOMPARE(dialog.name(), name);
    QCOMPARE(shownKeys(), boxes);
}

void TestMusicLibrary::addAndRenameCategories_data() {
    QTest::addColumn<QString>("action");
    QTest::addColumn<QStringList>("typed");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<QStringList>("opened");
    QTest::addColumn<QStringList>("boxes");
    QTest::addColumn<int>("selected");

    const QString taken = QStringLiteral("the_category_exist_reentry");
    // Row 0 "Jazz" is selected before a rename.
    QTest::newRow("add") << "add" << QStringList{"Pop"} << QStringList{"Jazz", "Rock", "Pop"}
                         << QStringList{""} << QStringList() << 2;
    QTest::newRow("add a name that differs in case")
        << "add" << QStringList{"jazz"} << QStringList{"Jazz", "Rock", "jazz"} << QStringList{""}
        << QStringList() << 2;
    QTest::newRow("add a taken name, asked again with it")
        << "add" << QStringList{"Rock", "Blues"} << QStringList{"Jazz", "Rock", "Blues"}
        << QStringList{"", "Rock"} << QStringList{taken} << 2;
    QTest::newRow("add a taken name, then cancel")
        << "add" << QStringList{"Jazz", kCancel} << QStringList{"Jazz", "Rock"}
        << QStringList{"", "Jazz"} << QStringList{taken} << -1;
    QTest::newRow("add with a bar")
        << "add" << QStringList{"A|B"} << QStringList{"Jazz", "Rock", "A B"} << QStringList{""}
        << QStringList() << 2;
    QTest::newRow("rename") << "rename" << QStringList{"Swing"} << QStringList{"Swing", "Rock"}
                            << QStringList{"Jazz"} << QStringList() << 0;
    QTest::newRow("rename to its own name")
        << "rename" << QStringList{"Jazz"} << QStringList{"Jazz", "Rock"} << QStringList{"Jazz"}
        << QStringList() << 0;
    QTest::newRow("rename in case only")
        << "rename" << QStringList{"JAZZ"} << QStringList{"JAZZ", "Rock"} << QStringList{"Jazz"}
        << QStringList() << 0;
    QTest::newRow("rename to a taken name, asked again with the stored one")
        << "rename" << QStringList{"Rock", "Swing"} << QStringList{"Swing", "Rock"}
        << QStringList{"Jazz", "Jazz"} << QStringList{taken} << 0;
    QTest::newRow("rename cancelled")
        << "rename" << QStringList{kCancel} << QStringList{"Jazz", "Rock"} << QStringList{"Jazz"}
        << QStringList() << 0;
}

void TestMusicLibrary::addAndRenameCategories() {
    QFETCH(QString, action);
    QFETCH(QStringList, typed);
    QFETCH(QStringList, expected);
    QFETCH(QStringList, opened);
    QFETCH(QStringList, boxes);
    QFETCH(int, selected);

    DataStore& store = *folder->store;
    addCategory(store, QStringLiteral("Jazz"), {QStringLiteral("/music/jazz.mp3")});
    addCategory(store, QStringLiteral("Rock"), {});
    store.SaveCategoryFile();
    CMusicFolderManageDlg dialog(store);
    dialog.show();
    auto* list = dialog.findChild<QTreeView*>(QStringLiteral("categoryList"));
    auto* rename = dialog.findChild<QPushButton*>(QStringLiteral("editButton"));
    QVERIFY(!rename->isEnabled());
    if (action == QLatin1String("rename")) {
        selectRow(list, 0);
        QVERIFY(rename->isEnabled());
    }

    NameAnswers answers(typed);
    dialog
        .findChild<QPushButton*>(action == QLatin1String("add") ? QStringLiteral("addButton")
                                                                : QStringLiteral("editButton"))
        ->click();
    QCOMPARE(answers.pending(), 0);
    QCOMPARE(answers.unexpected, 0);
    QCOMPARE(answers.opened, opened);
    QCOMPARE(shownKeys(), boxes);
    QCOMPARE(names(store), expected);
    QCOMPARE(columnTexts(list, 1), expected);
    QCOMPARE(columnTexts(list, 0), numbersUpTo(int(expected.size())));
    QCOMPARE(selectedRow(list), selected);
    // The category keeps its files under a new name.
    QCOMPARE(store.categories[0]->files, QStringList{QStringLiteral("/music/jazz.mp3")});
    const auto again = folder->reloaded();
    QCOMPARE(names(*again), expected);
    QCOMPARE(again->categories[0]->files, QStringList{QStringLiteral("/music/jazz.mp3")});
}

void TestMusicLibrary::removeAndMoveCategories_data() {
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("answer");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<int>("selected");

    const int yes = QMessageBox::Yes;
    QTest::newRow("remove the middle") << 1 << "deleteButton" << yes << QStringList{"A", "C"} << 0;
    QTest::newRow("remove the first") << 0 << "deleteButton" << yes << QStringList{"B", "C"} << 0;
    QTest::newRow("remove the last") << 2 << "deleteButton" << yes << QStringList{"A", "B"} << 1;
    QTest::newRow("remove answered No")
        << 1 << "deleteButton" << int(QMessageBox::No) << QStringList{"A", "B", "C"} << 1;
    QTest::newRow("remove cancelled")
        << 1 << "deleteButton" << int(QMessageBox::Cancel) << QStringList{"A", "B", "C"} << 1;
    QTest::newRow("up") << 1 << "upButton" << 0 << QStringList{"B", "A", "C"} << 0;
    QTest::newRow("up at the top") << 0 << "upButton" << 0 << QStringList{"A", "B", "C"} << 0;
    QTest::newRow("down") << 1 << "downButton" << 0 << QStringList{"A", "C", "B"} << 2;
    QTest::newRow("down at the bottom")
        << 2 << "downButton" << 0 << QStringList{"A", "B", "C"} << 2;
}

void TestMusicLibrary::removeAndMoveCategories() {
    QFETCH(int, row);
    QFETCH(QString, button);
    QFETCH(int, answer);
    QFETCH(QStringList, expected);
    QFETCH(int, selected);

    DataStore& store = *folder->store;
    for (const QString name : {"A", "B", "C"})
        addCategory(store, name, {QStringLiteral("/music/") + name + QStringLiteral(".mp3")});
    store.SaveCategoryFile();
    CMusicFolderManageDlg dialog(store);
    dialog.show();
    auto* list = dialog.findChild<QTreeView*>(QStringLiteral("categoryList"));
    selectRow(list, row);
    if (answer)
        MessageBox::setNextAnswer(answer);
    dialog.findChild<QPushButton*>(button)->click();

    if (button == QLatin1String("deleteButton")) {
        QCOMPARE(shownKeys(), QStringList{QStringLiteral("ensure_del_category")});
        QCOMPARE(MessageBox::shown().first().icon, MessageBox::Icon::Warning);
    } else {
        QVERIFY(MessageBox::shown().isEmpty());
    }
    QCOMPARE(names(store), expected);
    QCOMPARE(columnTexts(list, 1), expected);
    QCOMPARE(columnTexts(list, 0), numbersUpTo(int(expected.size())));
    QCOMPARE(selectedRow(list), selected);
    // Each category keeps its own files wherever it goes.
    const auto again = folder->reloaded();
    QCOMPARE(names(*again), expected);
    for (const auto& category : again->categories)
        QCOMPARE(category->files,
                 QStringList{QStringLiteral("/music/") + category->name + QStringLiteral(".mp3")});
}

void TestMusicLibrary::chooserAfterManagement_data() {
    QTest::addColumn<int>("line");
    QTest::addColumn<QList<int>>("removedRows");
    QTest::addColumn<QStringList>("added");
    QTest::addColumn<int>("expectedLine");
    QTest::addColumn<QString>("shown");

    QTest::newRow("current last line removed: the new last")
        << 2 << QList<int>{2} << QStringList() << 1 << "B";
    QTest::newRow("a line before the current removed: the same line")
        << 1 << QList<int>{0} << QStringList() << 1 << "C";
    QTest::newRow("all removed: nothing") << 1 << QList<int>{2, 1, 0} << QStringList() << -1 << "";
    QTest::newRow("one added: the same line") << 1 << QList<int>() << QStringList{"D"} << 1 << "B";
    QTest::newRow("all removed and one added: line 0")
        << 2 << QList<int>{2, 1, 0} << QStringList{"D"} << 0 << "D";
}

void TestMusicLibrary::chooserAfterManagement() {
    QFETCH(int, line);
    QFETCH(QList<int>, removedRows);
    QFETCH(QStringList, added);
    QFETCH(int, expectedLine);
    QFETCH(QString, shown);

    DataStore& store = *folder->store;
    for (const QString name : {"A", "B", "C"})
        addCategory(store, name, {QStringLiteral("/music/") + name + QStringLiteral(".mp3")});
    auto panel = openPanel(line);
    auto* chooser = panel->findChild<QComboBox*>(QStringLiteral("categoryChooser"));

    bool managed = false;
    QStringList shownMeanwhile{QStringLiteral("not read")};
    DialogAnswerer<CMusicFolderManageDlg> manage;
    NameAnswers typedNames(added);
    manage.add([&](CMusicFolderManageDlg* dialog) {
        auto* list = dialog->findChild<QTreeView*>(QStringLiteral("categoryList"));
        for (int row : removedRows) {
            selectRow(list, row);
            MessageBox::setNextAnswer(QMessageBox::Yes);
            dialog->findChild<QPushButton*>(QStringLiteral("deleteButton"))->click();
        }
        for (int i = 0; i < added.size(); ++i)
            dialog->findChild<QPushButton*>(QStringLiteral("addButton"))->click();
        // The page behind the dialog may paint meanwhile: it must not show a
        // category that is gone.
        shownMeanwhile = columnTexts(panel->list(), 1);
        dialog->findChild<QPushButton*>(QStringLiteral("closeButton"))->click();
        managed = true;
    });
    QSignalSpy changed(panel.get(), &CMusicStockDlg::categoriesChanged);
    panel->findChild<QToolButton*>(QStringLiteral("manageButton"))->click();
    QVERIFY(managed);
    QCOMPARE(typedNames.unexpected, 0);
    QCOMPARE(shownMeanwhile, QStringList());
    QCOMPARE(changed.count(), 1);

    QCOMPARE(chooser->currentIndex(), expectedLine);
    QCOMPARE(chooser->count(), int(store.categories.size()));
    QCOMPARE(chooser->currentText(), shown);
    const QStringList files =
        shown.isEmpty() || shown == QLatin1String("D")
            ? QStringList()
            : QStringList{QStringLiteral("/music/") + shown + QStringLiteral(".mp3")};
    QCOMPARE(columnTexts(panel->list(), 1), files);

    // With no category there is nothing to add to: no file dialog opens.
    if (shown.isEmpty()) {
        panel->findChild<QToolButton*>(QStringLiteral("addButton"))->click();
        QVERIFY(FileDialog::asked().isEmpty());
    }
}

void TestMusicLibrary::addFiles_data() {
    QTest::addColumn<QStringList>("chosen");
    QTest::addColumn<QStringList>("added");
    QTest::addColumn<QStringList>("boxes");
    QTest::addColumn<int>("selected");

    // The category holds "/music/One.mp3" and "C:\Music\Two.mp3".
    const QString present = QStringLiteral("music_exist_category");
    const QString badChars = QStringLiteral("fmt_path_bad_chars");
    QTest::newRow("new files in their order")
        << QStringList{"/new/b.mp3", "/new/a.mp3"} << QStringList{"/new/b.mp3", "/new/a.mp3"}
        << QStringList() << 2;
    QTest::newRow("present in other letter case")
        << QStringList{"/MUSIC/one.MP3"} << QStringList() << QStringList{present} << 0;
    QTest::newRow("present with the other slashes")
        << QStringList{"C:/Music/Two.mp3"} << QStringList() << QStringList{present} << 1;
    QTest::newRow("all present: the first chosen is shown")
        << QStringList{"c:\\music\\two.mp3", "/music/One.mp3"} << QStringList()
        << QStringList{present} << 1;
    QTest::newRow("present ones skipped, the others added")
        << QStringList{"/music/one.mp3", "/new/c.mp3"} << QStringList{"/new/c.mp3"} << QStringList()
        << 2;
    QTest::newRow("chosen twice: added once") << QStringList{"/new/x.mp3", "\\NEW\\X.mp3"}
                                              << QStringList{"/new/x.mp3"} << QStringList() << 2;
    QTest::newRow("a bar refused, the others added")
        << QStringList{"/new/a|b.mp3", "/new/ok.mp3"} << QStringList{"/new/ok.mp3"}
        << QStringList{badChars} << 2;
    QTest::newRow("a line break refused")
        << QStringList{"/new/a\nb.mp3"} << QStringList() << QStringList{badChars} << -1;
    QTest::newRow("cancelled") << QStringList() << QStringList() << QStringList() << -1;
}

void TestMusicLibrary::addFiles() {
    QFETCH(QStringList, chosen);
    QFETCH(QStringList, added);
    QFETCH(QStringList, boxes);
    QFETCH(int, selected);

    DataStore& store = *folder->store;
    const QStringList before{QStringLiteral("/music/One.mp3"),
                             QStringLiteral("C:\\Music\\Two.mp3")};
    addCategory(store, QStringLiteral("Other"), {QStringLiteral("/new/a.mp3")});
    addCategory(store, QStringLiteral("Pop"), before);
    store.SaveCategoryFile();
    auto panel = openPanel(1);

    FileDialog::setNextFileNames(chosen);
    panel->findChild<QToolButton*>(QStringLiteral("addButton"))->click();
    QCOMPARE(FileDialog::asked().size(), 1);
    QVERIFY(FileDialog::asked().first().multiple);
    QCOMPARE(FileDialog::asked().first().filter, MusicFileFilter());

    QCOMPARE(shownKeys(), boxes);
    if (boxes.contains(QStringLiteral("fmt_path_bad_chars")))
        QVERIFY(MessageBox::shown().first().text.contains(chosen.first()));
    const QStringList expected = before + added;
    QCOMPARE(store.categories[1]->files, expected);
    QCOMPARE(columnTexts(panel->list(), 1), expected);
    QCOMPARE(columnTexts(panel->list(), 0), numbersUpTo(int(expected.size())));
    QCOMPARE(selectedRow(panel->list()), selected);
    const auto again = folder->reloaded();
    QCOMPARE(again->categories[1]->files, expected);
    QCOMPARE(again->categories[0]->files, QStringList{QStringLiteral("/new/a.mp3")});
}

void TestMusicLibrary::addFoldersAndDrops_data() {
    QTest::addColumn<QString>("how");
    QTest::addColumn<QStringList>("chosen");
    QTest::addColumn<QString>("patterns");
    QTest::addColumn<QStringList>("present");
    QTest::addColumn<QStringList>("added");
    QTest::addColumn<QStringList>("boxes");

    // The tree below the folder "lib" is made by the test.
    const QStringList allStorable{"lib/a.MP3", "lib/b.mp3", "lib/sub1/y.wmv", "lib/sub1/deep/x.mp3",
                                  "lib/sub2/z.wav"};
    const QString badChars = QStringLiteral("fmt_path_bad_chars");
    QTest::newRow("a folder from the menu") << "menu" << QStringList{"lib"} << "" << QStringList()
                                            << allStorable << QStringList{badChars};
    QTest::newRow("a dropped folder") << "drop" << QStringList{"lib"} << "" << QStringList()
                                      << allStorable << QStringList{badChars};
    QTest::newRow("a folder with files present in other case")
        << "menu" << QStringList{"lib/sub1"} << "" << QStringList{"LIB/SUB1/Y.WMV"}
        << QStringList{"lib/sub1/deep/x.mp3"} << QStringList();
    QTest::newRow("a folder all present")
        << "menu" << QStringList{"lib/sub2"} << "" << QStringList{"lib/sub2/z.wav"} << QStringList()
        << QStringList{QStringLiteral("music_exist_category")};
    QTest::newRow("the patterns of the setting")
        << "menu" << QStringList{"lib"} << "*.ogg;*.WAV" << QStringList()
        << QStringList{"lib/c.ogg", "lib/sub2/z.wav"} << QStringList();
    QTest::newRow("dropped files: music only")
        << "drop" << QStringList{"lib/notes.txt", "lib/sub2/z.wav", "lib/a.MP3"} << ""
        << QStringList() << QStringList{"lib/sub2/z.wav", "lib/a.MP3"} << QStringList();
    QTest::newRow("a dropped folder and a file in it")
        << "drop" << QStringList{"lib/sub1/deep/x.mp3", "lib/sub1"} << "" << QStringList()
        << QStringList{"lib/sub1/deep/x.mp3", "lib/sub1/y.wmv"} << QStringList();
    QTest::newRow("folder dialog cancelled")
        << "menu" << QStringList() << "" << QStringList() << QStringList() << QStringList();
}

void TestMusicLibrary::addFoldersAndDrops() {
    QFETCH(QString, how);
    QFETCH(QStringList, chosen);
    QFETCH(QString, patterns);
    QFETCH(QStringList, present);
    QFETCH(QStringList, added);
    QFETCH(QStringList, boxes);

    const QString root = folder->path(QStringLiteral("tree"));
    for (const char* name : {"lib/b.mp3", "lib/a.MP3", "lib/bar|name.mp3", "lib/notes.txt",
                             "lib/cover.jpg", "lib/c.ogg", "lib/.hidden.mp3", "lib/sub2/z.wav",
                             "lib/sub1/y.wmv", "lib/sub1/deep/x.mp3", "lib/sub1/deep/readme"})
        QVERIFY(writeFile(root + u'/' + QLatin1String(name)));
    if (!patterns.isEmpty())
        QVERIFY(WriteConfig(QStringLiteral("MusicFileExtension"), patterns));

    DataStore& store = *folder->store;
    addCategory(store, QStringLiteral("Pop"), under(root, present));
    store.SaveCategoryFile();
    auto panel = openPanel();

    if (how == QLatin1String("menu")) {
        FileDialog::setNextFileNames(under(root, chosen));
        panel->findChild<QAction*>(QStringLiteral("addFolderAction"))->trigger();
        QCOMPARE(FileDialog::asked().size(), 1);
    } else {
        dropOn(panel->list(), under(root, chosen));
    }

    QCOMPARE(shownKeys(), boxes);
    if (!boxes.isEmpty() && boxes.first() == QLatin1String("fmt_path_bad_chars"))
        QVERIFY(MessageBox::shown().first().text.contains(QStringLiteral("bar|name.mp3")));
    const QStringList expected = under(root, present) + under(root, added);
    QCOMPARE(store.categories[0]->files, expected);
    QCOMPARE(columnTexts(panel->list(), 1), expected);
    QCOMPARE(folder->reloaded()->categories[0]->files, expected);
}

void TestMusicLibrary::removeAndPlayFiles() {
    const QStringList files =
        under(folder->path(QStringLiteral("songs")), {"1.mp3", "2.mp3", "3.mp3"});
    for (const QString& file : files)
        QVERIFY(writeFile(file));
    DataStore& store = *folder->store;
    addCategory(store, QStringLiteral("Pop"), files);
    store.SaveCategoryFile();
    auto panel = openPanel();
    QTreeView* list = panel->list();
    auto* remove = panel->findChild<QToolButton*>(QStringLiteral("deleteButton"));
    auto* play = panel->findChild<QToolButton*>(QStringLiteral("playButton"));
    QVERIFY(!remove->isEnabled() && !play->isEnabled());

    // Played at full volume, without waking the transmitter.
    clickRow(list, 1);
    QVERIFY(remove->isEnabled() && play->isEnabled());
    QSignalSpy wakes(folder->player.get(), &Player::wakeRequested);
    play->click();
    QVERIFY(folder->media.last);
    QStringList calls = folder->media.last->takeCalls();
    QVERIFY2(calls.contains(QStringLiteral("load ") + files[1]), qPrintable(calls.join(u',')));
    QVERIFY2(calls.contains(QStringLiteral("volume 100")), qPrintable(calls.join(u',')));
    // A double click comes after the first click of it.
    clickRow(list, 2);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, Qt::NoModifier,
                       list->visualRect(list->model()->index(2, 1)).center());
    calls = folder->media.last->takeCalls();
    QVERIFY2(calls.contains(QStringLiteral("load ") + files[2]), qPrintable(calls.join(u',')));
    QCOMPARE(wakes.count(), 0);

    // Removing selects the row above, or the new first row.
    clickRow(list, 1);
    remove->click();
    QCOMPARE(store.categories[0]->files, (QStringList{files[0], files[2]}));
    QCOMPARE(columnTexts(list, 0), numbersUpTo(2));
    QCOMPARE(selectedRow(list), 0);
    remove->click();
    QCOMPARE(store.categories[0]->files, QStringList{files[2]});
    QCOMPARE(selectedRow(list), 0);
    QCOMPARE(folder->reloaded()->categories[0]->files, QStringList{files[2]});
    QVERIFY(MessageBox::shown().isEmpty());
    // The files themselves stay.
    QVERIFY(QFile::exists(files[0]) && QFile::exists(files[1]));
}

void TestMusicLibrary::missingFilesShowGrey() {
    const QString here = folder->path(QStringLiteral("songs/here.mp3"));
    const QString later = folder->path(QStringLiteral("songs/later.mp3"));
    const QString elsewhere = folder->path(QStringLiteral("gone/away.mp3"));
    QVERIFY(writeFile(here));
    MusicCategory category{QStringLiteral("Pop"), {here, later, elsewhere}};
    MusicCategoryModel model;
    model.setMissingFileText(QStringLiteral("Missing"));
    model.setCategory(&category);

    const auto grey = [&](int row) {
        return model.index(row, MusicCategoryModel::PathColumn).data(Qt::ForegroundRole).isValid();
    };
    const auto tip = [&](int row) {
        return model.index(row, MusicCategoryModel::PathColumn).data(Qt::ToolTipRole).toString();
    };
    QVERIFY(!grey(0));
    QCOMPARE(tip(0), here);
    QVERIFY(grey(1) && grey(2));
    QCOMPARE(tip(1), QStringLiteral("Missing\n") + later);
    QCOMPARE(tip(2), QStringLiteral("Missing\n") + elsewhere);

    // Once known, a file is not looked for again until asked to.
    QVERIFY(writeFile(later));
    QVERIFY(writeFile(elsewhere));
    QVERIFY(grey(1) && grey(2));
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    model.recheckFiles();
    QCOMPARE(changed.count(), 1);
    QVERIFY(!grey(1) && !grey(2));
}

void TestMusicLibrary::selectionDialog_data() {
    QTest::addColumn<bool>("several");
    QTest::addColumn<int>("line");
    QTest::addColumn<QList<int>>("clicked");
    QTest::addColumn<QStringList>("chosen");

    QTest::newRow("one") << false << 0 << QList<int>{1} << QStringList{"/a/2.mp3"};
    QTest::newRow("one: the last click counts")
        << false << 0 << QList<int>{2, 0} << QStringList{"/a/1.mp3"};
    QTest::newRow("several, in list order")
        << true << 0 << QList<int>{3, 0, 2} << QStringList{"/a/1.mp3", "/a/3.mp3", "/a/4.mp3"};
    QTest::newRow("another category") << true << 1 << QList<int>{0} << QStringList{"/b/1.mp3"};
    QTest::newRow("nothing chosen") << true << 0 << QList<int>() << QStringList();
}

void TestMusicLibrary::selectionDialog() {
    QFETCH(bool, several);
    QFETCH(int, line);
    QFETCH(QList<int>, clicked);
    QFETCH(QStringList, chosen);

    DataStore& store = *folder->store;
    addCategory(store, QStringLiteral("A"), {"/a/1.mp3", "/a/2.mp3", "/a/3.mp3", "/a/4.mp3"});
    addCategory(store, QStringLiteral("B"), {"/b/1.mp3"});
    CMusicSelDlg dialog(store, several);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("曲目选择"));

    bool stayed = false;
    DialogAnswerer<CMusicSelDlg> answer;
    answer.add([&](CMusicSelDlg* shown) {
        shown->findChild<QComboBox*>(QStringLiteral("categoryChooser"))->setCurrentIndex(line);
        auto* list = shown->findChild<QTreeView*>(QStringLiteral("fileList"));
        for (int row : clicked)
            clickRow(list, row, several ? Qt::ControlModifier : Qt::NoModifier);
        shown->findChild<QPushButton*>(QStringLiteral("okButton"))->click();
        stayed = shown->isVisible();
        if (stayed)
            shown->reject();
    });
    const int result = dialog.exec();

    QCOMPARE(result, chosen.isEmpty() ? int(QDialog::Rejected) : int(QDialog::Accepted));
    QCOMPARE(stayed, chosen.isEmpty());
    QCOMPARE(shownKeys(),
             chosen.isEmpty() ? QStringList{QStringLiteral("sel_play_music")} : QStringList());
    QCOMPARE(dialog.chosenPaths(), chosen);
    // The dialog only reads the library.
    QCOMPARE(store.categories[0]->files.size(), 4);
}

QTEST_MAIN(TestMusicLibrary)
#include "tst_musiclibrary.moc"
