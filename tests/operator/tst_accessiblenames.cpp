// Every control an operator can use in these windows has a name that a
// screen reader (and the operator tests, which find controls the same way)
// can read: its own text, its accessible name, or the label it is the buddy
// of. A control that shows only a picture or a glyph must say in words
// what it is.

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractScrollArea>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QtTest>

#include <functional>

#include "stationrig.h"
#include "ui/media/playerwnd.h"
#include "ui/music/bkmusiceditdlg.h"
#include "ui/music/musiceditdlg.h"
#include "ui/music/musictaskeditdlg.h"
#include "ui/schedule/musiclistdlg.h"
#include "ui/schedule/ttslistdlg.h"
#include "ui/shell/settingdlg.h"
#include "ui/speech/ttstaskdlg.h"
#include "ui/transmitter/devicesettingdlg.h"

namespace {

struct WindowCase {
    const char* name;
    std::function<QWidget*(StationRig&)> make;
};

// A dialog that measures and plays through a player window, which only has
// to outlive it: the dialog takes it as a hidden child.
QWidget* withPlayer(StationRig& rig, const std::function<QWidget*(CPlayerWnd&)>& make) {
    auto* player = new CPlayerWnd(rig.station->player());
    QWidget* dialog = make(*player);
    player->setParent(dialog);
    return dialog;
}

const WindowCase kWindows[] = {
    {"login",
     [](StationRig& rig) -> QWidget* {
         return new CUserLoginDlg(rig.app->store(), QString(), CUserLoginDlg::StartupLogin);
     }},
    {"password check",
     [](StationRig& rig) -> QWidget* {
         return new CUserLoginDlg(rig.app->store(), QStringLiteral("Admin"),
                                  CUserLoginDlg::VerifyPassword);
     }},
    {"player", [](StationRig& rig) -> QWidget* { return new CPlayerWnd(rig.station->player()); }},
    {"transmitter settings",
     [](StationRig& rig) -> QWidget* { return new CDeviceSettingDlg(rig.app->link()); }},
    {"system settings",
     [](StationRig& rig) -> QWidget* { return new CSettingDlg(rig.app->store(), 1800000); }},
    {"today's music",
     [](StationRig& rig) -> QWidget* { return new CMusicListDlg(rig.station->musicSchedule()); }},
    {"speech now",
     [](StationRig& rig) -> QWidget* {
         return new CTTSListDlg(rig.station->speechSchedule(), rig.station->speechJob(),
                                rig.app->store());
     }},
    {"speech tasks",
     [](StationRig& rig) {
         return withPlayer(rig, [&rig](CPlayerWnd& player) -> QWidget* {
             Station& station = *rig.station;
             return new CTTSTaskDlg(rig.app->store(), rig.app->state(), rig.clock, player,
                                    station.speechJob(), station.speechSchedule());
         });
     }},
    {"music task",
     [](StationRig& rig) {
         return withPlayer(rig, [&rig](CPlayerWnd& player) -> QWidget* {
             return new CMusicTaskEditDlg(rig.app->store(), rig.app->state(), rig.clock, player);
         });
     }},
    {"insert-play music",
     [](StationRig& rig) {
         return withPlayer(rig, [&rig](CPlayerWnd& player) -> QWidget* {
             return new CMusicEditDlg(rig.app->store(), player, 800, 1200);
         });
     }},
    {"background music",
     [](StationRig& rig) {
         return withPlayer(rig, [&rig](CPlayerWnd& player) -> QWidget* {
             return new CBkMusicEditDlg(rig.app->store(), player);
         });
     }},
};

bool isControl(QWidget* widget) {
    // The edit inside a spin box or a combo box is part of it, not a control;
    // so are a list's header and scroll bars.
    QWidget* parent = widget->parentWidget();
    if (qobject_cast<QAbstractSpinBox*>(parent) || qobject_cast<QComboBox*>(parent))
        return false;
    for (QWidget* up = parent; up; up = up->parentWidget()) {
        if (qobject_cast<QAbstractScrollArea*>(up))
            return false;
    }
    return qobject_cast<QAbstractButton*>(widget) || qobject_cast<QAbstractSlider*>(widget) ||
           qobject_cast<QAbstractSpinBox*>(widget) || qobject_cast<QLineEdit*>(widget) ||
           qobject_cast<QComboBox*>(widget) || qobject_cast<QAbstractItemView*>(widget) ||
           qobject_cast<QPlainTextEdit*>(widget);
}

// What a screen reader says the control is called.
QString spokenName(QWidget* widget) {
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(widget);
    if (!face)
        return QString();
    // A combo box's name is its current entry here; its label comes as a
    // relation.
    for (const auto& [other, relation] : face->relations(QAccessible::Label)) {
        if (!other->text(QAccessible::Name).trimmed().isEmpty())
            return other->text(QAccessible::Name);
    }
    if (qobject_cast<QComboBox*>(widget))
        return widget->accessibleName();
    return face->text(QAccessible::Name).trimmed();
}

} // namespace

class TestAccessibleNames : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void everyControlIsNamed_data();
    void everyControlIsNamed();

private:
    std::unique_ptr<StationRig> rig;
};

void TestAccessibleNames::initTestCase() {
    rig = std::make_unique<StationRig>();
    QVERIFY(rig->ready);
    rig->openWindow(QStringLiteral("Admin"));
}

void TestAccessibleNames::everyControlIsNamed_data() {
    QTest::addColumn<int>("index");
    for (size_t i = 0; i < std::size(kWindows); ++i)
        QTest::newRow(kWindows[i].name) << int(i);
}

void TestAccessibleNames::everyControlIsNamed() {
    QFETCH(int, index);
    std::unique_ptr<QWidget> window(kWindows[index].make(*rig));
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));

    QStringList unnamed;
    int controls = 0;
    for (QWidget* widget : window->findChildren<QWidget*>()) {
        if (!isControl(widget) || !widget->isVisibleTo(window.get()))
            continue;
        ++controls;
        if (spokenName(widget).isEmpty())
            unnamed << QString::fromLatin1(widget->metaObject()->className()) + u' ' +
                           widget->objectName();
    }
    QVERIFY(controls > 0);
    QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join(QStringLiteral(", "))));
}

QTEST_MAIN(TestAccessibleNames)
#include "tst_accessiblenames.moc"
