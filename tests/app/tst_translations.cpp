// With the English resource module in use, no window of the station may
// show a Chinese character: every caption, label, button, menu, tab, group
// box, list header, tooltip and list item a window holds must come out in
// English. A Chinese text without an English translation fails here.
//
// Every window of the program belongs in kWindows below, one row each.

#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTreeView>
#include <QtTest>

#include <functional>

#include "app/languageresources.h"
#include "media/player.h"
#include "schedule/musicschedule.h"
#include "schedule/speechjob.h"
#include "schedule/speechschedule.h"
#include "stationrig.h"
#include "ui/media/playerwnd.h"
#include "ui/music/bkmusiceditdlg.h"
#include "ui/music/musiceditdlg.h"
#include "ui/music/musicfoldermanagedlg.h"
#include "ui/music/musicfoldernamedlg.h"
#include "ui/music/musicseldlg.h"
#include "ui/music/musicstockdlg.h"
#include "ui/music/musictaskeditdlg.h"
#include "ui/schedule/musiclistdlg.h"
#include "ui/schedule/ttslistdlg.h"
#include "ui/schedule/ttsstockseldlg.h"
#include "ui/shell/aboutdlg.h"
#include "ui/shell/settingdlg.h"
#include "ui/shell/systemtray.h"
#include "ui/speech/speakbkmusiceditdlg.h"
#include "ui/speech/ttseffectdlg.h"
#include "ui/speech/ttsstockdlg.h"
#include "ui/speech/ttstaskeditdlg.h"
#include "ui/speech/ttstextdlg.h"
#include "ui/transmitter/deviceinfodlg.h"
#include "ui/transmitter/devicesettingdlg.h"
#include "ui/users/unlockdlg.h"
#include "ui/users/usereditdlg.h"
#include "ui/users/usermanagedlg.h"

namespace {

// What a window may be built from: a logged-in station on the fakes.
struct Parts {
    StationRig& rig;
    Station& station;
    DataStore& store;
    AppState& state;
    TransmitterLink& link;
    Player& player;
    MusicSchedule& music;
    SpeechJob& job;
    SpeechSchedule& speech;
};

// A window whose texts partly live in an object outside its children names
// that object in this property.
constexpr char kAlsoShows[] = "alsoShows";

struct WindowCase {
    const char* name;
    std::function<QWidget*(Parts&)> make;
};

// The windows of the station. Each maker returns a new top-level widget that
// the test deletes. Add a row for every new window.
const WindowCase kWindows[] = {
    {"CArdwellDlg", [](Parts& p) -> QWidget* { return new CArdwellDlg(*p.rig.app, p.station); }},
    {"CUserLoginDlg start-up",
     [](Parts& p) -> QWidget* {
         return new CUserLoginDlg(p.store, QString(), CUserLoginDlg::StartupLogin);
     }},
    {"CUserLoginDlg verify",
     [](Parts& p) -> QWidget* {
         return new CUserLoginDlg(p.store, QStringLiteral("Admin"), CUserLoginDlg::VerifyPassword);
     }},
    {"CUnlockDlg", [](Parts& p) -> QWidget* { return new CUnlockDlg(p.state, p.store, {}); }},
    {"CPlayerWnd", [](Parts& p) -> QWidget* { return new CPlayerWnd(p.player); }},
    {"CMusicListDlg", [](Parts& p) -> QWidget* { return new CMusicListDlg(p.music); }},
    {"CTTSListDlg", [](Parts& p) -> QWidget* { return new CTTSListDlg(p.speech, p.job, p.store); }},
    {"CTTSStockSelDlg", [](Parts& p) -> QWidget* { return new CTTSStockSelDlg(p.store); }},
    {"CDeviceInfoDlg", [](Parts& p) -> QWidget* { return new CDeviceInfoDlg(p.link); }},
    {"CDeviceSettingDlg", [](Parts& p) -> QWidget* { return new CDeviceSettingDlg(p.link); }},
    {"CAboutDlg", [](Parts& p) -> QWidget* { return new CAboutDlg(p.link); }},
    {"CSettingDlg", [](Parts& p) -> QWidget* { return new CSettingDlg(p.store, 1800000); }},
    {"CMusicStockDlg", [](Parts& p) -> QWidget* { return new CMusicStockDlg(p.store, p.player); }},
    {"CMusicFolderManageDlg",
     [](Parts& p) -> QWidget* { return new CMusicFolderManageDlg(p.store); }},
    {"CMusicFolderNameDlg", [](Parts&) -> QWidget* { return new CMusicFolderNameDlg(QString()); }},
    {"CMusicSelDlg", [](Parts& p) -> QWidget* { return new CMusicSelDlg(p.store, true); }},
    {"CTTSEffectDlg",
     [](Parts& p) -> QWidget* {
         // The page previews through a player window; one owner holds both.
         auto* owner = new QWidget;
         auto* player = new CPlayerWnd(p.player, owner);
         new CTTSEffectDlg(p.store, p.state, *player, owner);
         return owner;
     }},
    {"CSpeakBkMusicEditDlg",
     [](Parts& p) -> QWidget* { return new CSpeakBkMusicEditDlg(p.store, p.state); }},
    {"CTTSStockDlg",
     [](Parts& p) -> QWidget* { return new CTTSStockDlg(p.store, p.state, p.player, p.job); }},
    {"CTTSTextDlg",
     [](Parts& p) -> QWidget* { return new CTTSTextDlg(p.store, p.state, p.player, p.job); }},
    {"CTTSTaskEditDlg",
     [](Parts& p) -> QWidget* {
         // The editor lists its voices through a player window; one owner
         // holds both.
         auto* owner = new QWidget;
         auto* player = new CPlayerWnd(p.player, owner);
         new CTTSTaskEditDlg(p.store, p.state, p.rig.clock, *player, p.job, nullptr, owner);
         return owner;
     }},
    {"CMusicTaskEditDlg",
     [](Parts& p) -> QWidget* {
         // The editor measures and plays through a player window; one owner
         // holds both.
         auto* owner = new QWidget;
         auto* player = new CPlayerWnd(p.player, owner);
         new CMusicTaskEditDlg(p.store, p.state, p.rig.clock, *player, nullptr, owner);
         return owner;
     }},
    {"CMusicEditDlg",
     [](Parts& p) -> QWidget* {
         auto* owner = new QWidget;
         auto* player = new CPlayerWnd(p.player, owner);
         new CMusicEditDlg(p.store, *player, 800, 1200, nullptr, owner);
         return owner;
     }},
    {"CBkMusicEditDlg",
     [](Parts& p) -> QWidget* {
         auto* owner = new QWidget;
         auto* player = new CPlayerWnd(p.player, owner);
         new CBkMusicEditDlg(p.store, *player, nullptr, owner);
         return owner;
     }},
    {"CUserManageDlg", [](Parts& p) -> QWidget* { return new CUserManageDlg(p.store, p.state); }},
    {"CUserEditDlg",
     [](Parts&) -> QWidget* {
         return new CUserEditDlg(CUserEditDlg::NewUser, QString(), QString(), 0);
     }},
    {"CSystemTray menu",
     [](Parts&) -> QWidget* {
         // The tray icon is no widget; its menu, which has no parent, is
         // what the user reads.
         auto* owner = new QWidget;
         auto* tray = new CSystemTray(owner, QIcon());
         owner->setProperty(kAlsoShows, QVariant::fromValue<QObject*>(tray->menu()));
         return owner;
     }},
};

bool hasChinese(const QString& text) {
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if ((u >= 0x4E00 && u <= 0x9FFF) || (u >= 0x3400 && u <= 0x4DBF) ||
            (u >= 0x3000 && u <= 0x303F) || (u >= 0xFF00 && u <= 0xFFEF))
            return true;
    }
    return false;
}

// Every text the widget shows or may show, with where it stands.
void collectTexts(QObject* object, QList<QPair<QString, QString>>& out) {
    const auto add = [&](const QString& where, const QString& text) {
        if (!text.isEmpty())
            out << qMakePair(where, text);
    };
    const QString name = QStringLiteral("%1 '%2'").arg(
        QString::fromLatin1(object->metaObject()->className()), object->objectName());
    if (auto* widget = qobject_cast<QWidget*>(object)) {
        if (widget->isWindow())
            add(name + QStringLiteral(" title"), widget->windowTitle());
        add(name + QStringLiteral(" tooltip"), widget->toolTip());
        add(name + QStringLiteral(" what's this"), widget->whatsThis());
        add(name + QStringLiteral(" status tip"), widget->statusTip());
        // What a screen reader says for a control that shows no text.
        add(name + QStringLiteral(" accessible name"), widget->accessibleName());
        for (QAction* action : widget->actions()) {
            add(name + QStringLiteral(" action"), action->text());
            add(name + QStringLiteral(" action tooltip"), action->toolTip());
        }
    }
    if (auto* label = qobject_cast<QLabel*>(object))
        add(name, label->text());
    if (auto* button = qobject_cast<QAbstractButton*>(object)) {
        add(name, button->text());
        if (auto* push = qobject_cast<QPushButton*>(object); push && push->menu())
            collectTexts(push->menu(), out);
    }
    if (auto* group = qobject_cast<QGroupBox*>(object))
        add(name, group->title());
    if (auto* edit = qobject_cast<QLineEdit*>(object)) {
        add(name + QStringLiteral(" placeholder"), edit->placeholderText());
        add(name + QStringLiteral(" text"), edit->text());
    }
    if (auto* edit = qobject_cast<QPlainTextEdit*>(object))
        add(name + QStringLiteral(" placeholder"), edit->placeholderText());
    if (auto* tabs = qobject_cast<QTabBar*>(object)) {
        for (int i = 0; i < tabs->count(); ++i) {
            add(name + QStringLiteral(" tab"), tabs->tabText(i));
            add(name + QStringLiteral(" tab tooltip"), tabs->tabToolTip(i));
        }
    }
    if (auto* tabs = qobject_cast<QTabWidget*>(object)) {
        for (int i = 0; i < tabs->count(); ++i)
            add(name + QStringLiteral(" tab"), tabs->tabText(i));
    }
    // Each language keeps its own name in the language box.
    if (auto* combo = qobject_cast<QComboBox*>(object);
        combo && !combo->property("nativeLanguageNames").toBool()) {
        for (int i = 0; i < combo->count(); ++i)
            add(name + QStringLiteral(" item"), combo->itemText(i));
    }
    if (auto* tree = qobject_cast<QTreeView*>(object); tree && tree->model()) {
        const QAbstractItemModel* model = tree->model();
        for (int c = 0; c < model->columnCount(); ++c)
            add(name + QStringLiteral(" header"), model->headerData(c, Qt::Horizontal).toString());
    }
    if (auto* menu = qobject_cast<QMenu*>(object)) {
        add(name + QStringLiteral(" title"), menu->title());
        for (QAction* action : menu->actions())
            add(name + QStringLiteral(" menu item"), action->text());
    }
    for (QObject* child : object->children())
        collectTexts(child, out);
    if (auto* also = object->property(kAlsoShows).value<QObject*>())
        collectTexts(also, out);
}

} // namespace

class TestTranslations : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void englishWindowsHaveNoChinese_data();
    void englishWindowsHaveNoChinese();
    void ownResourcesStayChinese();
    void englishPicturesComeFromTheModule();

private:
    std::unique_ptr<StationRig> rig;
};

void TestTranslations::initTestCase() {
    rig = std::make_unique<StationRig>();
    QVERIFY(rig->ready);
    rig->app->state().langId = 1;
    SetUiLanguage(1);
    // The module must be found beside the program, by name.
    QVERIFY2(UseLanguageResources(1), qPrintable(ResourceModuleFileName()));
    QVERIFY(EnglishResourcesInUse());
}

void TestTranslations::cleanupTestCase() {
    rig.reset();
}

void TestTranslations::englishWindowsHaveNoChinese_data() {
    QTest::addColumn<int>("index");
    for (size_t i = 0; i < std::size(kWindows); ++i)
        QTest::newRow(kWindows[i].name) << int(i);
}

void TestTranslations::englishWindowsHaveNoChinese() {
    QFETCH(int, index);
    rig->openWindow(QStringLiteral("Admin"));
    Station& station = *rig->station;
    Parts parts{*rig,
                station,
                rig->app->store(),
                rig->app->state(),
                rig->app->link(),
                station.player(),
                station.musicSchedule(),
                station.speechJob(),
                station.speechSchedule()};
    std::unique_ptr<QWidget> window(kWindows[index].make(parts));
    QVERIFY(window);

    QList<QPair<QString, QString>> texts;
    collectTexts(window.get(), texts);
    QVERIFY(!texts.isEmpty());
    QStringList untranslated;
    for (const auto& [where, text] : texts) {
        if (hasChinese(text))
            untranslated << QStringLiteral("%1: %2").arg(where, text);
    }
    QVERIFY2(untranslated.isEmpty(), qPrintable(untranslated.join(QLatin1Char('\n'))));
}

void TestTranslations::ownResourcesStayChinese() {
    // Any other language than 1 takes the program's own resources again,
    // while the UI texts may still be English (langId 2).
    QVERIFY(!UseLanguageResources(2));
    QVERIFY(!EnglishResourcesInUse());
    CUnlockDlg lock(rig->app->state(), rig->app->store(), {});
    QVERIFY(hasChinese(lock.findChild<QLabel*>(QStringLiteral("lockText"))->text()));
    QVERIFY(UseLanguageResources(1));
    CUnlockDlg english(rig->app->state(), rig->app->store(), {});
    QVERIFY(!hasChinese(english.findChild<QLabel*>(QStringLiteral("lockText"))->text()));
}

void TestTranslations::englishPicturesComeFromTheModule() {
    const QImage english = LanguagePicture(QStringLiteral("statusbar.png"));
    QVERIFY(!english.isNull());
    UseLanguageResources(0);
    const QImage own = LanguagePicture(QStringLiteral("statusbar.png"));
    UseLanguageResources(1);
    QVERIFY(!own.isNull());
    QCOMPARE(english.size(), own.size());
    QVERIFY(english != own);
}

QTEST_MAIN(TestTranslations)
#include "tst_translations.moc"
