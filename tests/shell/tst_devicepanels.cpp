// The two transmitter panels and the About box against the transmitter
// simulator on a pseudo-terminal, through the real link and serial port.

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QtTest>

#include "controls/messagebox.h"
#include "shelltestfolder.h"
#include "store/uitext.h"
#include "transmitter/transmitterlink.h"
#include "ui/shell/aboutdlg.h"
#include "ui/transmitter/deviceinfodlg.h"
#include "ui/transmitter/devicesettingdlg.h"

namespace {

// What the link tells the windows: the panels' refreshes (re-evaluating the
// enabled controls or not) and the warnings. The panels refresh themselves.
struct PanelObserver {
    explicit PanelObserver(TransmitterLink& link) {
        QObject::connect(&link, &TransmitterLink::stateChanged, [this] { refreshes << true; });
        QObject::connect(&link, &TransmitterLink::settingsApplied, [this] { refreshes << false; });
        QObject::connect(&link, &TransmitterLink::settingRefused,
                         [this](const QString& text) { warnings << text; });
    }
    QStringList warnings;
    QList<bool> refreshes;
};

template <typename T> T* child(QWidget* parent, const char* name) {
    T* widget = parent->findChild<T*>(QString::fromLatin1(name));
    if (!widget)
        qFatal("no child %s", name);
    return widget;
}

QString labelText(QWidget* parent, const char* name) {
    return child<QLabel>(parent, name)->text();
}

QColor labelColor(QWidget* parent, const char* name) {
    return child<QLabel>(parent, name)->palette().color(QPalette::WindowText);
}

QCheckBox* zoneBox(QWidget* form, int zone) {
    return child<QCheckBox>(form, QStringLiteral("zone%1Check").arg(zone).toLatin1().constData());
}

QCheckBox* groupBox(QWidget* form, int group) {
    return child<QCheckBox>(form, QStringLiteral("group%1Check").arg(group).toLatin1().constData());
}

QStringList zoneAndGroupNames() {
    QStringList names{"zonesLabel", "group1Check", "group2Check", "group3Check"};
    for (int z = 1; z <= 24; ++z)
        names << QStringLiteral("zone%1Check").arg(z);
    return names;
}

} // namespace

class TestDevicePanels : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void tenthsFromText_data();
    void tenthsFromText();

    void withoutConnection();
    void frequencyShownAndApplied();
    void discretePowerLevels();
    void groupAndZoneBoxes();
    void capabilities_data();
    void capabilities();
    void rdsIdTakesHexadecimalDigitsOnly();
    void refusedFieldKeepsEnabledState();
    void disconnectDisablesTheForm();
    void aboutBoxWithTransmitter();

private:
    // Starts the simulator on COM1 and connects the link to it.
    bool connectTo(const QStringList& options);

    std::unique_ptr<ShellTestFolder> folder;
    std::unique_ptr<SimulatorProcess> sim;
    std::unique_ptr<PanelObserver> observer;
    std::unique_ptr<TransmitterLink> link;
    std::unique_ptr<CDeviceInfoDlg> info;
    std::unique_ptr<CDeviceSettingDlg> form;
};

void TestDevicePanels::init() {
    folder = std::make_unique<ShellTestFolder>();
    QVERIFY(folder->ok);
    SetUiLanguage(0);
    MessageBox::clearShown();
    MessageBox::setDefaultAnswer(QMessageBox::Ok);
    link = std::make_unique<TransmitterLink>(GetUiText);
    observer = std::make_unique<PanelObserver>(*link);
    info = std::make_unique<CDeviceInfoDlg>(*link);
    form = std::make_unique<CDeviceSettingDlg>(*link);
    info->show();
    form->show();
}

void TestDevicePanels::cleanup() {
    if (link)
        link->Disconnect();
    form.reset();
    info.reset();
    observer.reset();
    link.reset();
    sim.reset();
    folder.reset();
    MessageBox::clearShown();
}

bool TestDevicePanels::connectTo(const QStringList& options) {
    sim = std::make_unique<SimulatorProcess>(folder->path(), 1, options);
    if (!sim->ready())
        return false;
    return link->ChangeDeviceState(kDeviceConnect) && link->IsConnected();
}

void TestDevicePanels::tenthsFromText_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("tenths");
    QTest::newRow("one decimal") << "88.1" << 881;
    QTest::newRow("more decimals are cut, not rounded") << "87.59" << 875;
    QTest::newRow("whole number") << "108" << 1080;
    QTest::newRow("leading blanks") << "  99.9" << 999;
    QTest::newRow("point without decimals") << "7." << 70;
    QTest::newRow("decimals without whole part") << ".5" << 5;
    QTest::newRow("negative") << "-0.5" << -5;
    QTest::newRow("trailing text is ignored") << "12.3 MHz" << 123;
    QTest::newRow("no number") << "abc" << 0;
    QTest::newRow("empty") << "" << 0;
    QTest::newRow("huge is clamped") << "999999999999" << std::numeric_limits<qint32>::max();
}

void TestDevicePanels::tenthsFromText() {
    QFETCH(QString, text);
    QFETCH(int, tenths);
    QCOMPARE(TenthsFromText(text), tenths);
}

void TestDevicePanels::withoutConnection() {
    // Everything but the title is disabled until a transmitter was read.
    for (QWidget* w : form->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        QVERIFY2(w->isEnabled() == (w->objectName() == QLatin1String("titleLabel")),
                 qPrintable(w->objectName()));

    const QList<QPair<const char*, QString>> zeroTexts = {
        {"modelLine", "OFF"},       {"tempValue", QStringLiteral("0.0 ℃")},
        {"freqValue", "000.0 Mhz"}, {"fwdValue", "000.0 Watt"},
        {"refValue", "000.0 Watt"}, {"volValue", "0"},
        {"prValue", "0Us"},         {"linValue", "NO LOAD"},
        {"rinValue", "NO LOAD"}};
    for (const auto& [name, text] : zeroTexts)
        QCOMPARE(labelText(info.get(), name), text);
    for (QLabel* label : info->findChildren<QLabel*>())
        QCOMPARE(label->palette().color(QPalette::WindowText), CDeviceInfoDlg::inactiveTextColor());
    QCOMPARE(info->palette().color(QPalette::Window), QColor(0, 187, 199));
    QVERIFY(info->font().bold());

    CAboutDlg about(*link);
    QCOMPARE(about.productText(), QStringLiteral("无"));
    QCOMPARE(about.deviceText(), QStringLiteral("无"));
    QCOMPARE(about.commentText(), GetUiText(QStringLiteral("enterprise_comment")));
}

void TestDevicePanels::frequencyShownAndApplied() {
    QVERIFY(connectTo({"--frequency", "1080"}));
    QCOMPARE(labelText(info.get(), "freqValue"), QStringLiteral("108.0 Mhz"));
    QCOMPARE(labelText(info.get(), "modelLine"), QStringLiteral("Ver:  FM-30 demo transmitter"));
    QCOMPARE(labelText(info.get(), "tempValue"), QStringLiteral("36.5 ℃"));
    QCOMPARE(labelText(info.get(), "fwdValue"), QStringLiteral("5.0 Watt"));
    QCOMPARE(labelText(info.get(), "refValue"), QStringLiteral("0.1 Watt"));
    QCOMPARE(labelText(info.get(), "linValue"), QStringLiteral("LOAD"));
    QCOMPARE(labelColor(info.get(), "freqValue"), CDeviceInfoDlg::activeTextColor());

    auto* freq = child<QDoubleSpinBox>(form.get(), "freqEdit");
    QVERIFY(freq->isEnabled());
    QCOMPARE(freq->text(), QStringLiteral("108.0"));
    QCOMPARE(child<QLineEdit>(form.get(), "powerEdit")->text(), QStringLiteral("5.0"));
    QCOMPARE(child<QSpinBox>(form.get(), "volumeEdit")->value(), 8);
    QCOMPARE(child<QLineEdit>(form.get(), "rdsIdEdit")->displayText(), QStringLiteral("1a2b"));
    QCOMPARE(child<QComboBox>(form.get(), "stereoBox")->currentIndex(), 0);
    QCOMPARE(child<QComboBox>(form.get(), "preemphasisBox")->currentText(), QStringLiteral("50us"));
    QCOMPARE(child<QComboBox>(form.get(), "bluetoothBox")->currentIndex(), 1);

    freq->selectAll();
    QTest::keyClicks(freq, QStringLiteral("87.5"));
    const qsizetype before = sim->commands().size();
    child<QPushButton>(form.get(), "applyButton")->click();

    // Only the changed field goes out, and the panels show what was read back.
    const QStringList sent = sim->commands().mid(before);
    QCOMPARE(sent, QStringList({"AT+FREQ=875", "AT+FREQ?"}));
    QCOMPARE(link->status().frequency, 875);
    QCOMPARE(labelText(info.get(), "freqValue"), QStringLiteral("87.5 Mhz"));
    QCOMPARE(freq->text(), QStringLiteral("87.5"));
    QCOMPARE(observer->refreshes.last(), false);
}

void TestDevicePanels::discretePowerLevels() {
    QVERIFY(connectTo({"--power-levels", "0.5,1,2", "--power", "1"}));
    auto* levels = child<QComboBox>(form.get(), "powerLevelBox");
    QStringList items;
    for (int i = 0; i < levels->count(); ++i)
        items << levels->itemText(i);
    QCOMPARE(items, QStringList({"0.5W", "1.0W", "2.0W"}));
    QCOMPARE(levels->currentText(), QStringLiteral("1.0W"));
    QVERIFY(!levels->isHidden());
    QVERIFY(child<QLineEdit>(form.get(), "powerEdit")->isHidden());
    // The label names the list now, for a screen reader.
    QCOMPARE(child<QLabel>(form.get(), "powerLabel")->buddy(), levels);

    levels->setCurrentIndex(2);
    const qsizetype before = sim->commands().size();
    form->apply();
    QVERIFY(sim->commands().mid(before).contains(QStringLiteral("AT+POWER=2")));
    QCOMPARE(link->status().power, 20);
    QCOMPARE(levels->currentText(), QStringLiteral("2.0W"));

    // A power that is not one of the levels selects nothing; Apply then
    // sends the first level.
    levels->setCurrentIndex(-1);
    int mask = 0;
    QCOMPARE(form->settingsFromControls(&mask).power, 5);
    QVERIFY(mask & kSetPower);
}

void TestDevicePanels::groupAndZoneBoxes() {
    QVERIFY(connectTo({}));
    // The simulator starts with group 1 all on and group 2 at 10000001.
    QVERIFY(groupBox(form.get(), 1)->isChecked());
    QVERIFY(!groupBox(form.get(), 2)->isChecked());
    QVERIFY(zoneBox(form.get(), 9)->isChecked());
    QVERIFY(!zoneBox(form.get(), 10)->isChecked());
    QVERIFY(zoneBox(form.get(), 16)->isChecked());

    QTest::mouseClick(groupBox(form.get(), 2), Qt::LeftButton);
    for (int z = 9; z <= 16; ++z)
        QVERIFY(zoneBox(form.get(), z)->isChecked());
    QVERIFY(groupBox(form.get(), 2)->isChecked());

    QTest::mouseClick(zoneBox(form.get(), 12), Qt::LeftButton);
    QVERIFY(!zoneBox(form.get(), 12)->isChecked());
    QVERIFY(!groupBox(form.get(), 2)->isChecked());
    QVERIFY(zoneBox(form.get(), 11)->isChecked());
    QVERIFY(groupBox(form.get(), 1)->isChecked()); // other groups untouched

    // Switching a zone on never switches its group box on.
    QTest::mouseClick(zoneBox(form.get(), 12), Qt::LeftButton);
    QVERIFY(!groupBox(form.get(), 2)->isChecked());
    QTest::mouseClick(zoneBox(form.get(), 12), Qt::LeftButton);

    const qsizetype before = sim->commands().size();
    form->apply();
    QCOMPARE(sim->commands().mid(before),
             QStringList({"AT+PARTITIONB=11101111", "AT+PARTITIONB?"}));
    QCOMPARE(int(link->status().partitionB), 0xEF);

    // Group box off clears the whole group.
    QTest::mouseClick(groupBox(form.get(), 1), Qt::LeftButton);
    for (int z = 1; z <= 8; ++z)
        QVERIFY(!zoneBox(form.get(), z)->isChecked());
}

void TestDevicePanels::capabilities_data() {
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QStringList>("disabled");
    QTest::addColumn<QStringList>("greyLabels");
    QTest::addColumn<int>("maskWithout");

    QTest::newRow("no zones") << QStringList{"--no-partitions"} << zoneAndGroupNames()
                              << QStringList{} << int(kSetPartitions);
    QTest::newRow("no volume") << QStringList{"--no-volume"}
                               << QStringList{"volumeLabel", "volumeEdit", "volumeRangeLabel"}
                               << QStringList{"volLabel", "volValue"} << int(kSetVolume);
    QTest::newRow("no pre-emphasis")
        << QStringList{"--no-preemphasis"} << QStringList{"preemphasisLabel", "preemphasisBox"}
        << QStringList{"prLabel", "prValue"} << int(kSetPreemphasis);
    QTest::newRow("no Bluetooth") << QStringList{"--no-bluetooth"}
                                  << QStringList{"bluetoothLabel", "bluetoothBox"} << QStringList{}
                                  << int(kSetBluetooth);
    QTest::newRow("no measurements")
        << QStringList{"--no-power-measure", "--no-temp"} << QStringList{}
        << QStringList{"refLabel", "refValue", "tempLabel", "tempValue"} << 0;
}

void TestDevicePanels::capabilities() {
    QFETCH(QStringList, options);
    QFETCH(QStringList, disabled);
    QFETCH(QStringList, greyLabels);
    QFETCH(int, maskWithout);
    QVERIFY(connectTo(options));

    for (QWidget* w : form->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        const QString name = w->objectName();
        const bool expected = !disabled.contains(name) && !name.startsWith("columnLabel");
        QVERIFY2(w->isEnabled() == expected, qPrintable(name));
    }
    for (QLabel* label : info->findChildren<QLabel*>()) {
        const QColor expected = greyLabels.contains(label->objectName())
                                    ? CDeviceInfoDlg::inactiveTextColor()
                                    : CDeviceInfoDlg::activeTextColor();
        QVERIFY2(label->palette().color(QPalette::WindowText) == expected,
                 qPrintable(label->objectName()));
    }

    // Apply leaves out what the transmitter cannot do, and sends nothing
    // for it even when the form's value differs.
    int mask = 0;
    form->settingsFromControls(&mask);
    QCOMPARE(mask & maskWithout, 0);
    if (maskWithout == kSetPartitions) {
        zoneBox(form.get(), 3)->setChecked(!zoneBox(form.get(), 3)->isChecked());
        child<QDoubleSpinBox>(form.get(), "freqEdit")->setValue(100.0);
        const qsizetype before = sim->commands().size();
        form->apply();
        const QStringList sent = sim->commands().mid(before);
        QCOMPARE(sent, QStringList({"AT+FREQ=1000", "AT+FREQ?"}));
    }
}

void TestDevicePanels::rdsIdTakesHexadecimalDigitsOnly() {
    QVERIFY(connectTo({}));
    auto* rds = child<QLineEdit>(form.get(), "rdsIdEdit");
    rds->setFocus();
    rds->setCursorPosition(0);
    QTest::keyClicks(rds, QStringLiteral("zG0F"));
    // 'z' and 'G' are refused; the rest overwrite from the left.
    QCOMPARE(rds->displayText(), QStringLiteral("0F2b"));
    rds->setText(QStringLiteral("a"));
    QCOMPARE(rds->displayText(), QStringLiteral("a000"));

    rds->setText(QStringLiteral("00c0"));
    const qsizetype before = sim->commands().size();
    form->apply();
    QVERIFY(sim->commands().mid(before).first().startsWith(QStringLiteral("AT+RDSID=")));
    QCOMPARE(int(link->status().rdsId), 0x00c0);
    QCOMPARE(rds->displayText(), QStringLiteral("00c0"));
}

void TestDevicePanels::refusedFieldKeepsEnabledState() {
    QVERIFY(connectTo({"--refuse", "AT+FREQ="}));
    auto* stereo = child<QComboBox>(form.get(), "stereoBox");
    stereo->setEnabled(false);
    auto* freq = child<QDoubleSpinBox>(form.get(), "freqEdit");
    freq->setValue(99.0);
    form->apply();

    QCOMPARE(observer->warnings.size(), 1);
    QVERIFY2(observer->warnings.first().contains(GetUiText(QStringLiteral("cur_freq"))),
             qPrintable(observer->warnings.first()));
    // The panels show the value read back, and the refresh after a failed
    // apply leaves the controls' enabled state alone.
    QCOMPARE(freq->text(), QStringLiteral("88.1"));
    QVERIFY(!stereo->isEnabled());
    QVERIFY(freq->isEnabled());
}

void TestDevicePanels::disconnectDisablesTheForm() {
    QVERIFY(connectTo({}));
    QVERIFY(child<QPushButton>(form.get(), "applyButton")->isEnabled());
    QVERIFY(link->ChangeDeviceState(kDeviceDisconnect));
    for (QWidget* w : form->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        QVERIFY2(w->isEnabled() == (w->objectName() == QLatin1String("titleLabel")),
                 qPrintable(w->objectName()));
    QCOMPARE(labelText(info.get(), "modelLine"), QStringLiteral("OFF"));
    QCOMPARE(labelText(info.get(), "freqValue"), QStringLiteral("000.0 Mhz"));
    QCOMPARE(labelColor(info.get(), "freqLabel"), CDeviceInfoDlg::inactiveTextColor());

    // A switched-off transmitter counts as not connected too.
    QVERIFY(link->ChangeDeviceState(kDeviceConnect));
    QVERIFY(link->ChangeDeviceState(kDeviceSwitchOffOrWake));
    QVERIFY(!child<QPushButton>(form.get(), "applyButton")->isEnabled());
    QCOMPARE(labelText(info.get(), "modelLine"), QStringLiteral("OFF"));
}

void TestDevicePanels::aboutBoxWithTransmitter() {
    QVERIFY(connectTo({"--no-bluetooth", "--power-levels", "0.5,1,2", "--power", "1"}));
    CAboutDlg about(*link);
    const QStringList product = about.productText().split(u'\n');
    QCOMPARE(product.size(), 4);
    QCOMPARE(product[0], QStringLiteral("制造商: \tTolvane demo works"));
    QCOMPARE(product[1], QStringLiteral("产品型号: \tFM-30 demo transmitter"));
    const QStringList device = about.deviceText().split(u'\n');
    QCOMPARE(device.size(), 8);
    QCOMPARE(device[0], QStringLiteral("频率范围: \t87.5 ~ 108.0 Mhz"));
    QCOMPARE(device[1], QStringLiteral("功率范围: \t0.5W; 1.0W; 2.0W; "));
    QCOMPARE(device[6], QStringLiteral("蓝牙输入: \t\t不支持"));
    QCOMPARE(device[7], QStringLiteral("分区: \t\t支持"));
}

QTEST_MAIN(TestDevicePanels)
#include "tst_devicepanels.moc"
