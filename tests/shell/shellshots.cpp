// Pictures of the shell and transmitter windows, Chinese and English, for a
// person to look at after changing them:
//
//     shell-shots <output folder> [--qm <tolvane_en.qm>]
//
// The English pictures use the given compiled translation (lrelease of
// resources/translations/tolvane_en.ts) and the English UI texts. The
// connected panels talk to a transmitter simulator started on COM1 of a
// temporary program folder.

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QMenu>
#include <QPainter>
#include <QTranslator>

#include <cstdio>

#include "shelltestfolder.h"
#include "store/datastore.h"
#include "store/uitext.h"
#include "support/clock.h"
#include "transmitter/transmitterlink.h"
#include "ui/shell/aboutdlg.h"
#include "ui/shell/settingdlg.h"
#include "ui/shell/startflashdlg.h"
#include "ui/shell/systemtray.h"
#include "ui/transmitter/deviceinfodlg.h"
#include "ui/transmitter/devicesettingdlg.h"

namespace {

QDir outDir;

void save(QWidget* widget, const QString& name) {
    widget->show();
    QApplication::processEvents();
    const QString path = outDir.filePath(name + QStringLiteral(".png"));
    if (widget->grab().save(path))
        std::printf("%s\n", qPrintable(path));
    else
        std::fprintf(stderr, "shell-shots: cannot write %s\n", qPrintable(path));
    widget->hide();
}

// The two panels side by side, as the main window places them.
void savePanels(CDeviceSettingDlg* settings, CDeviceInfoDlg* info, const QString& name) {
    QWidget frame;
    frame.setAutoFillBackground(true);
    QPalette pal = frame.palette();
    pal.setColor(QPalette::Window, QColor(238, 238, 238));
    frame.setPalette(pal);
    settings->setParent(&frame);
    info->setParent(&frame);
    settings->setGeometry(8, 8, 270, settings->sizeHint().height());
    info->setGeometry(8, settings->geometry().bottom() + 8, 270, info->sizeHint().height());
    frame.resize(286, info->geometry().bottom() + 9);
    settings->show();
    info->show();
    save(&frame, name);
    settings->setParent(nullptr);
    info->setParent(nullptr);
}

void shoot(const QString& suffix) {
    ShellTestFolder folder;
    SystemClock clock;
    DataStore store(clock);
    store.settings.enterpriseName = suffix == QLatin1String("en")
                                        ? QStringLiteral("Harbour Road School")
                                        : QStringLiteral("海港路学校");
    store.settings.dailyTime = {800, 1730, 800, 1730, 800, 1730, 800, 1730, 800, 1630, 900, 1200};

    CSettingDlg settingsDialog(store, 600000);
    save(&settingsDialog, QStringLiteral("settings_") + suffix);

    // The panels follow the link on their own.
    TransmitterLink link(GetUiText);
    {
        CAboutDlg about(link);
        save(&about, QStringLiteral("about_unconnected_") + suffix);
    }

    auto* info = new CDeviceInfoDlg(link);
    auto* form = new CDeviceSettingDlg(link);
    savePanels(form, info, QStringLiteral("panels_unconnected_") + suffix);

    {
        SimulatorProcess sim(folder.path(), 1, {});
        if (sim.ready() && link.ChangeDeviceState(kDeviceConnect)) {
            savePanels(form, info, QStringLiteral("panels_connected_") + suffix);
            CAboutDlg about(link);
            save(&about, QStringLiteral("about_connected_") + suffix);
            link.Disconnect();
        } else {
            std::fprintf(stderr, "shell-shots: no simulated transmitter\n");
        }
    }
    {
        SimulatorProcess sim(folder.path(), 1,
                             {"--power-levels", "0.5,1,2", "--power", "1", "--no-partitions",
                              "--no-bluetooth", "--no-temp"});
        if (sim.ready() && link.ChangeDeviceState(kDeviceConnect)) {
            savePanels(form, info, QStringLiteral("panels_limited_") + suffix);
            link.Disconnect();
        }
    }
    delete info;
    delete form;

    QDir(folder.path()).mkpath(QStringLiteral("imgs"));
    QFile::copy(QStringLiteral(TOLVANE_SOURCE_DIR "/resources/imgs/splash.bmp"),
                folder.path(QStringLiteral("imgs/splash.bmp")));
    CStartFlashDlg splash(store);
    save(&splash, QStringLiteral("splash_") + suffix);

    // The tray menu as it pops up.
    QWidget owner;
    CSystemTray tray(&owner, QIcon());
    tray.menu()->adjustSize();
    save(tray.menu(), QStringLiteral("traymenu_") + suffix);
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("folder"), QStringLiteral("Where the PNGs go."));
    const QCommandLineOption qm(QStringLiteral("qm"), QStringLiteral("The English translation."),
                                QStringLiteral("file"));
    parser.addOption(qm);
    parser.process(app);
    if (parser.positionalArguments().size() != 1)
        parser.showHelp(2);
    outDir = QDir(parser.positionalArguments().first());
    outDir.mkpath(QStringLiteral("."));

    SetUiLanguage(0);
    shoot(QStringLiteral("zh"));

    if (parser.isSet(qm)) {
        QTranslator translator;
        if (!translator.load(parser.value(qm))) {
            std::fprintf(stderr, "shell-shots: cannot load %s\n", qPrintable(parser.value(qm)));
            return 1;
        }
        QApplication::installTranslator(&translator);
        SetUiLanguage(1);
        shoot(QStringLiteral("en"));
        QApplication::removeTranslator(&translator);
    }
    return 0;
}
