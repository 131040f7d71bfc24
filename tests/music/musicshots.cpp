// Pictures of the music library's windows, Chinese and English, for a person
// to look at after changing them:
//
//     music-shots <output folder>
//
// The English pictures use the English resource module of the program
// folder and the English UI texts.

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QMenu>
#include <QToolButton>
#include <QTreeView>

#include <cstdio>

#include "app/languageresources.h"
#include "musictestfolder.h"
#include "store/uitext.h"
#include "ui/music/musicfoldermanagedlg.h"
#include "ui/music/musicfoldernamedlg.h"
#include "ui/music/musicseldlg.h"
#include "ui/music/musicstockdlg.h"

namespace {

QDir outDir;

void save(QWidget* widget, const QString& name) {
    widget->show();
    QApplication::processEvents();
    const QString path = outDir.filePath(name + QStringLiteral(".png"));
    if (widget->grab().save(path))
        std::printf("%s\n", qPrintable(path));
    else
        std::fprintf(stderr, "music-shots: cannot write %s\n", qPrintable(path));
    widget->hide();
}

void selectRows(QTreeView* list, const QList<int>& rows) {
    for (int row : rows)
        list->selectionModel()->select(list->model()->index(row, 0),
                                       QItemSelectionModel::Select | QItemSelectionModel::Rows);
}

void shoot(int langId, const QString& suffix) {
    MusicTestFolder folder;
    SetUiLanguage(langId);
    if (!UseLanguageResources(langId) && langId == 1)
        std::fprintf(stderr, "music-shots: no English module\n");
    const bool english = langId == 1;
    DataStore& store = *folder.store;
    const QString songs = folder.path(QStringLiteral("songs"));
    QDir().mkpath(songs);
    QStringList files;
    for (int i = 1; i <= 30; ++i) {
        const QString path =
            songs +
            (english ? QStringLiteral("/Song %1.mp3") : QStringLiteral("/歌曲 %1.mp3")).arg(i);
        // Every fourth file is missing.
        if (i % 4 != 0) {
            QFile file(path);
            file.open(QIODevice::WriteOnly);
        }
        files << path;
    }
    files << QStringLiteral("D:\\Music\\Old\\Farewell.mp3");
    const QStringList names =
        english ? QStringList{"Morning", "Lunch break", "Classical", "Festival songs"}
                : QStringList{"早晨", "午休", "古典音乐", "节日歌曲"};
    for (const QString& name : names)
        store.categories.push_back(std::make_unique<MusicCategory>(MusicCategory{name, files}));

    {
        QWidget frame;
        CMusicStockDlg panel(store, *folder.player, &frame);
        panel.setGeometry(0, 0, 460, 580);
        frame.resize(460, 580);
        panel.list()->selectionModel()->setCurrentIndex(panel.list()->model()->index(2, 0),
                                                        QItemSelectionModel::ClearAndSelect |
                                                            QItemSelectionModel::Rows);
        save(&frame, QStringLiteral("musicstock_") + suffix);
        auto* add = panel.findChild<QToolButton*>(QStringLiteral("addButton"));
        add->menu()->adjustSize();
        save(add->menu(), QStringLiteral("musicstock_addmenu_") + suffix);
    }
    {
        CMusicFolderManageDlg dialog(store);
        auto* list = dialog.findChild<QTreeView*>(QStringLiteral("categoryList"));
        list->selectionModel()->setCurrentIndex(list->model()->index(1, 0),
                                                QItemSelectionModel::ClearAndSelect |
                                                    QItemSelectionModel::Rows);
        save(&dialog, QStringLiteral("musicfoldermanage_") + suffix);
    }
    {
        CMusicFolderNameDlg dialog(names[2]);
        save(&dialog, QStringLiteral("musicfoldername_") + suffix);
    }
    {
        CMusicSelDlg dialog(store, true);
        selectRows(dialog.findChild<QTreeView*>(QStringLiteral("fileList")), {1, 3, 4});
        save(&dialog, QStringLiteral("musicsel_") + suffix);
    }
    UseLanguageResources(0);
    SetUiLanguage(0);
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: music-shots <output folder>\n");
        return 2;
    }
    outDir = QDir(QString::fromLocal8Bit(argv[1]));
    outDir.mkpath(QStringLiteral("."));
    shoot(0, QStringLiteral("zh"));
    shoot(1, QStringLiteral("en"));
    return 0;
}
