// The speech effect page and its background music dialog, offscreen, on a
// logged-in station with the fake voice and player: the effect list, and
// adding, editing, deleting and previewing background music as an
// administrator and as an operator. Every change is checked in the store and
// in the speech file as a second store reads it back.

#include <QComboBox>
#include <QLineEdit>
#include <QSpinBox>
#include <QTreeView>
#include <QtTest>

#include "controls/filedialog.h"
#include "modalanswerer.h"
#include "station/bkmusicmodel.h"
#include "stationrig.h"
#include "ui/media/playerwnd.h"
#include "ui/speech/speakbkmusiceditdlg.h"
#include "ui/speech/ttseffectdlg.h"

namespace {

using Entry = QPair<QString, int>; // file name in the music folder, volume

const QList<TtsVoice> kFiveVoices = {
    {"tok-hui", "VW Hui"},     {"tok-liang", "VW Liang"}, {"tok-lily", "VW Lily"},
    {"tok-julie", "VW Julie"}, {"tok-paul", "VW Paul"},
};

QString keysOf(const QList<MessageBox::Shown>& shown) {
    QStringList keys;
    for (const MessageBox::Shown& box : shown)
        keys << (box.key.isEmpty() ? QStringLiteral("<range>") : box.key);
    return keys.join(QLatin1Char(','));
}

template <typename T> T* child(QWidget& parent, const char* name) {
    return parent.findChild<T*>(QLatin1String(name));
}

} // namespace

class TestSpeechEffect : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void effectList_data();
    void effectList();
    void addMusic_data();
    void addMusic();
    void editMusic_data();
    void editMusic();
    void chooseFromLibrary_data();
    void chooseFromLibrary();
    void deleteMusic_data();
    void deleteMusic();
    void operatorIsRefused_data();
    void operatorIsRefused();
    void operatorChoosesVoiceAndPreviews();

private:
    // A station logged in with `role`, `entries` stored, and the page on it.
    void openPage(int role, const QList<Entry>& entries, int playEffect = 0,
                  const QList<TtsVoice>& voices = kFiveVoices);
    QString music(const QString& name) const { return musicDir.filePath(name); }
    QList<Entry> stored(const DataStore& store) const;
    // The speech file as another store reads it.
    std::unique_ptr<DataStore> reloaded() const;
    void selectRow(int row) { page->list()->setCurrentIndex(page->model()->index(row, 0)); }

    std::unique_ptr<StationRig> rig;
    QDir musicDir;
    DataStore* store = nullptr;
    std::unique_ptr<CPlayerWnd> playerWnd;
    std::unique_ptr<CTTSEffectDlg> page;
};

void TestSpeechEffect::init() {
    rig = std::make_unique<StationRig>();
    QVERIFY(rig->ready);
    FileDialog::clearAsked();
    musicDir = QDir(rig->folder.filePath(QStringLiteral("music")));
    QVERIFY(musicDir.mkpath(QStringLiteral(".")));
    for (const char* name : {"a.mp3", "b.mp3", "c.mp3", "d.mp3"}) {
        QFile file(music(QLatin1String(name)));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
}

void TestSpeechEffect::cleanup() {
    page.reset();
    playerWnd.reset();
    rig.reset();
}

void TestSpeechEffect::openPage(int role, const QList<Entry>& entries, int playEffect,
                                const QList<TtsVoice>& voices) {
    DataStore& s = rig->app->store();
    s.LoadAll();
    for (const Entry& e : entries)
        s.backgroundMusic.push_back(std::make_unique<SpeechBackgroundMusic>(
            SpeechBackgroundMusic{music(e.first), e.second}));
    s.playEffect = playEffect;
    QVERIFY(s.SaveSpeechFile());
    store = &s;
    rig->app->state().currentUser = role ? QStringLiteral("Admin") : QStringLiteral("Clerk");
    rig->app->state().currentRole = role;
    rig->station = rig->app->makeStation();
    QVERIFY(rig->voice);
    rig->voice->installed = voices;
    playerWnd = std::make_unique<CPlayerWnd>(rig->station->player());
    page = std::make_unique<CTTSEffectDlg>(s, rig->app->state(), *playerWnd);
    page->resize(460, 350);
    MessageBox::clearShown();
    MessageBox::setDefaultAnswer(QMessageBox::Ok);
}

QList<Entry> TestSpeechEffect::stored(const DataStore& s) const {
    QList<Entry> list;
    for (const auto& e : s.backgroundMusic)
        list << Entry(musicDir.relativeFilePath(e->path), e->volume);
    return list;
}

std::unique_ptr<DataStore> TestSpeechEffect::reloaded() const {
    auto second = std::make_unique<DataStore>(rig->clock);
    second->LoadSpeechFile();
    return second;
}

void TestSpeechEffect::effectList_data() {
    QTest::addColumn<int>("voices");
    QTest::addColumn<int>("storedEffect");
    QTest::addColumn<int>("selected");

    QTest::newRow("within the list") << 5 << 2 << 2;
    QTest::newRow("the last voice") << 5 << 4 << 4;
    QTest::newRow("beyond the list") << 5 << 9 << 4;
    QTest::newRow("nothing chosen") << 5 << -1 << -1;
    QTest::newRow("no voices") << 0 << 0 << -1;
}

void TestSpeechEffect::effectList() {
    QFETCH(int, voices);
    QFETCH(int, storedEffect);
    QFETCH(int, selected);
    openPage(1, {}, storedEffect, kFiveVoices.mid(0, voices));
    QComboBox* effects = page->effectList();
    QCOMPARE(effects->count(), voices);
    QCOMPARE(effects->currentIndex(), selected);
    QCOMPARE(store->playEffect, selected);
    // Opening the page changes the choice in memory only.
    QCOMPARE(reloaded()->playEffect, storedEffect);

    // The page's list is the one speeches take their voice from, even while
    // the page is not shown.
    QVERIFY(!page->isVisible());
    Player& player = rig->station->player();
    rig->voice->takeCalls();
    QVERIFY(player.speech().SpeakText(-1, QStringLiteral("hello")));
    const QString token = selected >= 0 ? kFiveVoices[selected].token : QString();
    QCOMPARE(rig->voice->takeCalls().value(0), QStringLiteral("voice ") + token);

    if (voices == 0)
        return;
    // The operator's choice is kept at once.
    effects->setCurrentIndex(1);
    QCOMPARE(store->playEffect, 1);
    QCOMPARE(reloaded()->playEffect, 1);
    QVERIFY(MessageBox::shown().isEmpty());
}

void TestSpeechEffect::addMusic_data() {
    QTest::addColumn<QList<Entry>>("entries");
    QTest::addColumn<QStringList>("chosen");
    QTest::addColumn<int>("startVolume");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QList<Entry>>("after");
    QTest::addColumn<int>("selected");

    QTest::newRow("the first entry")
        << QList<Entry>{} << QStringList{"a.mp3"} << 0 << "" << QList<Entry>{{"a.mp3", 0}} << 0;
    // Paths are compared without regard to case, "\" and "/" alike.
    QTest::newRow("three, one listed")
        << QList<Entry>{{"d.mp3", 20}, {"b.mp3", 40}} << QStringList{"a.mp3", "B.MP3", "c.mp3"}
        << 40 << "" << QList<Entry>{{"d.mp3", 20}, {"b.mp3", 40}, {"a.mp3", 40}, {"c.mp3", 40}}
        << 2;
    QTest::newRow("all listed") << QList<Entry>{{"a.mp3", 10}, {"b.mp3", 30}}
                                << QStringList{"A.mp3", "b.mp3"} << 30 << "bkmusic_exist_rechoice"
                                << QList<Entry>{{"a.mp3", 10}, {"b.mp3", 30}} << -1;
    QTest::newRow("a path the file cannot hold")
        << QList<Entry>{} << QStringList{"x|y.mp3", "c.mp3"} << 0 << "fmt_path_bad_chars"
        << QList<Entry>{{"c.mp3", 0}} << 0;
}

void TestSpeechEffect::addMusic() {
    QFETCH(QList<Entry>, entries);
    QFETCH(QStringList, chosen);
    QFETCH(int, startVolume);
    QFETCH(QString, keys);
    QFETCH(QList<Entry>, after);
    QFETCH(int, selected);
    openPage(1, entries);

    QStringList paths;
    for (const QString& name : chosen) {
        paths << music(name);
        // A name in capitals comes with the other separator as well.
        if (name == name.toUpper())
            paths.last().replace(QLatin1Char('/'), QLatin1Char('\\'));
    }
    FileDialog::setNextFileNames(paths);
    int shownVolume = -1;
    ModalAnswerer answerer({[&](QDialog& dialog) {
        shownVolume = child<QSpinBox>(dialog, "volumeSpin")->value();
        ModalAnswerer::press(dialog, "browseButton");
        ModalAnswerer::press(dialog, "okButton");
    }});
    page->OnAdd();

    QCOMPARE(answerer.opened, 1);
    QCOMPARE(FileDialog::asked().value(0).multiple, true);
    QCOMPARE(shownVolume, startVolume);
    QCOMPARE(keysOf(MessageBox::shown()), keys);
    QCOMPARE(stored(*store), after);
    QCOMPARE(stored(*reloaded()), after);
    QCOMPARE(page->model()->rowCount(), after.size());
    const QModelIndexList rows = page->list()->selectionModel()->selectedRows();
    QCOMPARE(rows.isEmpty() ? -1 : rows.first().row(), selected);
}

void TestSpeechEffect::editMusic_data() {
    QTest::addColumn<QString>("file"); // empty: leave the field empty
    QTest::addColumn<int>("volume");   // -1: clear the volume field
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QList<Entry>>("after");
    QTest::addColumn<int>("opened");

    const QList<Entry> before{{"a.mp3", 10}, {"b.mp3", 20}};
    QTest::newRow("another file") << "c.mp3" << 55 << ""
                                  << QList<Entry>{{"c.mp3", 55}, {"b.mp3", 20}} << 1;
    QTest::newRow("its own file") << "a.mp3" << 70 << ""
                                  << QList<Entry>{{"a.mp3", 70}, {"b.mp3", 20}} << 1;
    QTest::newRow("another entry's file")
        << "b.mp3" << 30 << "the_bkmusic_exist_rechoice" << before << 2;
    QTest::newRow("a missing file") << "gone.mp3" << 30 << "music_exist_reentry" << before << 1;
    QTest::newRow("no file") << "" << 30 << "entry_music_file" << before << 1;
    QTest::newRow("no volume") << "c.mp3" << -1 << "<range>" << before << 1;
}

void TestSpeechEffect::editMusic() {
    QFETCH(QString, file);
    QFETCH(int, volume);
    QFETCH(QString, keys);
    QFETCH(QList<Entry>, after);
    QFETCH(int, opened);
    openPage(1, {{"a.mp3", 10}, {"b.mp3", 20}});
    selectRow(0);

    QList<Entry> shown;
    const auto look = [&](QDialog& dialog) {
        shown << Entry(musicDir.relativeFilePath(child<QLineEdit>(dialog, "fileEdit")->text()),
                       child<QSpinBox>(dialog, "volumeSpin")->value());
    };
    ModalAnswerer answerer({[&](QDialog& dialog) {
                                look(dialog);
                                child<QLineEdit>(dialog, "fileEdit")
                                    ->setText(file.isEmpty() ? QString() : music(file));
                                auto* spin = child<QSpinBox>(dialog, "volumeSpin");
                                if (volume < 0)
                                    spin->findChild<QLineEdit*>()->clear();
                                else
                                    spin->setValue(volume);
                                ModalAnswerer::press(dialog, "okButton");
                            },
                            look});
    // A double-click edits as the button does.
    const QModelIndex index = page->model()->index(0, BackgroundMusicModel::PathColumn);
    emit page->list()->doubleClicked(index);

    QCOMPARE(answerer.opened, opened);
    // A second attempt starts again from the stored values.
    QCOMPARE(shown, (QList<Entry>(opened, Entry("a.mp3", 10))));
    QCOMPARE(keysOf(MessageBox::shown()), keys);
    QCOMPARE(stored(*store), after);
    QCOMPARE(stored(*reloaded()), after);
    QCOMPARE(page->model()->index(0, BackgroundMusicModel::VolumeColumn).data().toString(),
             QString::number(after[0].second));
}

void TestSpeechEffect::chooseFromLibrary_data() {
    QTest::addColumn<bool>("newEntry");
    QTest::addColumn<QList<int>>("rows"); // picked in the library's list, in this order
    QTest::addColumn<QString>("fileText");
    QTest::addColumn<QList<Entry>>("after");

    // The library lists c, a, d.
    QTest::newRow("several for a new entry")
        << true << QList<int>{2, 0} << "c.mp3|d.mp3"
        << QList<Entry>{{"b.mp3", 20}, {"c.mp3", 20}, {"d.mp3", 20}};
    QTest::newRow("one for an entry")
        << false << QList<int>{2} << "d.mp3" << QList<Entry>{{"d.mp3", 20}};
}

void TestSpeechEffect::chooseFromLibrary() {
    QFETCH(bool, newEntry);
    QFETCH(QList<int>, rows);
    QFETCH(QString, fileText);
    QFETCH(QList<Entry>, after);
    openPage(1, {{"b.mp3", 20}});
    store->categories.push_back(std::make_unique<MusicCategory>(
        MusicCategory{QStringLiteral("Pop"), {music("c.mp3"), music("a.mp3"), music("d.mp3")}}));

    QString shownText;
    ModalAnswerer answerer({[&](QDialog& editor) {
        ModalAnswerer library({[&](QDialog& selection) {
            // Clicked as a person would: the list decides how many rows stay
            // selected.
            auto* list = child<QTreeView>(selection, "fileList");
            Qt::KeyboardModifiers keys;
            for (int row : rows) {
                const QRect cell = list->visualRect(list->model()->index(row, 1));
                QTest::mouseClick(list->viewport(), Qt::LeftButton, keys, cell.center());
                keys = Qt::ControlModifier;
            }
            ModalAnswerer::press(selection, "okButton");
        }});
        ModalAnswerer::press(editor, "libraryButton");
        QCOMPARE(library.opened, 1);
        shownText = child<QLineEdit>(editor, "fileEdit")->text();
        ModalAnswerer::press(editor, "okButton");
    }});
    if (newEntry) {
        page->OnAdd();
    } else {
        selectRow(0);
        page->OnEdit();
    }

    QCOMPARE(answerer.opened, 1);
    QStringList expected;
    for (const QString& name : fileText.split(QLatin1Char('|')))
        expected << music(name);
    QCOMPARE(shownText, expected.join(QLatin1Char('|')));
    QVERIFY(MessageBox::shown().isEmpty());
    QCOMPARE(stored(*store), after);
    QCOMPARE(stored(*reloaded()), after);
}

void TestSpeechEffect::deleteMusic_data() {
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("answer");
    QTest::addColumn<QStringList>("after");
    QTest::addColumn<int>("selected");

    QTest::newRow("the last row") << 2 << int(QMessageBox::Yes) << QStringList{"a.mp3", "b.mp3"}
                                  << 1;
    QTest::newRow("the first row")
        << 0 << int(QMessageBox::Yes) << QStringList{"b.mp3", "c.mp3"} << 0;
    QTest::newRow("answered No") << 1 << int(QMessageBox::No)
                                 << QStringList{"a.mp3", "b.mp3", "c.mp3"} << 1;
    QTest::newRow("cancelled") << 1 << int(QMessageBox::Cancel)
                               << QStringList{"a.mp3", "b.mp3", "c.mp3"} << 1;
}

void TestSpeechEffect::deleteMusic() {
    QFETCH(int, row);
    QFETCH(int, answer);
    QFETCH(QStringList, after);
    QFETCH(int, selected);
    openPage(1, {{"a.mp3", 10}, {"b.mp3", 20}, {"c.mp3", 30}});
    auto* remove = child<QPushButton>(*page, "deleteButton");
    QVERIFY(!remove->isEnabled());
    selectRow(row);
    QVERIFY(remove->isEnabled());

    MessageBox::setNextAnswer(answer);
    remove->click();
    QCOMPARE(keysOf(MessageBox::shown()), QStringLiteral("ensure_del_bkmusic"));
    QCOMPARE(MessageBox::shown()[0].icon, MessageBox::Icon::Warning);
    QStringList names, reloadedNames;
    for (const Entry& e : stored(*store))
        names << e.first;
    for (const Entry& e : stored(*reloaded()))
        reloadedNames << e.first;
    QCOMPARE(names, after);
    QCOMPARE(reloadedNames, after);
    QCOMPARE(page->list()->selectionModel()->selectedRows().value(0).row(), selected);
    QCOMPARE(page->model()->index(selected, 0).data().toString(), QString::number(selected + 1));
    QVERIFY(remove->isEnabled());
}

void TestSpeechEffect::operatorIsRefused_data() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<int>("opened");
    QTest::newRow("add") << "add" << 0;
    QTest::newRow("delete") << "delete" << 0;
    QTest::newRow("confirm an edit") << "edit" << 1;
}

void TestSpeechEffect::operatorIsRefused() {
    QFETCH(QString, command);
    QFETCH(int, opened);
    openPage(0, {{"a.mp3", 10}, {"b.mp3", 20}});
    selectRow(0);
    MessageBox::setNextAnswer(QMessageBox::Yes);
    FileDialog::setNextFileNames({music("c.mp3")});
    ModalAnswerer answerer({[&](QDialog& dialog) {
        child<QSpinBox>(dialog, "volumeSpin")->setValue(90);
        ModalAnswerer::press(dialog, "okButton");
    }});
    if (command == QLatin1String("add"))
        page->OnAdd();
    else if (command == QLatin1String("delete"))
        page->OnDelete();
    else
        page->OnEdit();

    QCOMPARE(answerer.opened, opened);
    QCOMPARE(keysOf(MessageBox::shown()), QStringLiteral("only_admin_role_to_exec"));
    const QList<Entry> before{{"a.mp3", 10}, {"b.mp3", 20}};
    QCOMPARE(stored(*store), before);
    QCOMPARE(stored(*reloaded()), before);
}

void TestSpeechEffect::operatorChoosesVoiceAndPreviews() {
    openPage(0, {{"a.mp3", 0}, {"b.mp3", 35}});
    page->effectList()->setCurrentIndex(3);
    QCOMPARE(reloaded()->playEffect, 3);

    auto* preview = child<QPushButton>(*page, "previewButton");
    QVERIFY(!preview->isEnabled());
    for (const auto& [row, volume] : {std::pair{1, 35}, std::pair{0, 100}}) {
        selectRow(row);
        preview->click();
        FakeMediaBackend* media = rig->media.last;
        QVERIFY(media);
        const QStringList calls = media->takeCalls();
        QVERIFY2(calls.contains(QStringLiteral("volume %1").arg(volume)),
                 qPrintable(calls.join(',')));
        QVERIFY(calls.contains(QStringLiteral("load ") + store->backgroundMusic[row]->path));
    }
    QVERIFY(MessageBox::shown().isEmpty());
}

QTEST_MAIN(TestSpeechEffect)
#include "tst_speecheffect.moc"
