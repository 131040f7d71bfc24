#include "ui/music/musiclists.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QRegularExpression>
#include <QSet>
#include <QTreeView>

#include "controls/fonts.h"
#include "controls/listutils.h"
#include "store/datastore.h"
#include "store/uitext.h"

namespace {

void collectMusicFiles(const QString& folder, const QStringList& patterns, QSet<QString>& seen,
                       QStringList& out) {
    const QString real = QFileInfo(folder).canonicalFilePath();
    if (real.isEmpty() || seen.contains(real))
        return;
    seen.insert(real);
    const QDir dir(folder);
    const QDir::SortFlags order = QDir::Name | QDir::IgnoreCase | QDir::LocaleAware;
    // Name filters match without regard to case unless told otherwise.
    for (const QFileInfo& file : dir.entryInfoList(patterns, QDir::Files, order))
        out << file.filePath();
    for (const QFileInfo& sub : dir.entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot, order))
        collectMusicFiles(sub.filePath(), patterns, seen, out);
}

} // namespace

void SetUpMusicList(QTreeView* list, int numberWidth) {
    SetUpReportList(list);
    ShowGridLines(list, qMax(QFontMetrics(BoldFont()).height() + 6, 20));
    QHeaderView* header = list->header();
    header->setFont(NormalFont());
    header->setSectionsMovable(false);
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    list->setColumnWidth(0, numberWidth);
}

void FitMusicNumberColumn(QTreeView* list, int numberWidth) {
    FitNumberColumn(list);
    if (list->columnWidth(0) < numberWidth)
        list->setColumnWidth(0, numberWidth);
}

void FillCategoryChooser(QComboBox* chooser, const DataStore& store) {
    const QSignalBlocker quiet(chooser);
    const int remembered = chooser->currentIndex();
    chooser->clear();
    for (const auto& category : store.categories)
        chooser->addItem(category->name, QVariant::fromValue<void*>(category.get()));
    if (chooser->count() > 0)
        chooser->setCurrentIndex(qBound(0, remembered, chooser->count() - 1));
}

MusicCategory* ChosenCategory(const QComboBox* chooser) {
    return static_cast<MusicCategory*>(chooser->currentData().value<void*>());
}

QStringList MusicFilePatterns() {
    // The filter reads "<description> (<patterns>)".
    const QString filter = MusicFileFilter();
    const qsizetype open = filter.lastIndexOf(u'(');
    const qsizetype close = filter.lastIndexOf(u')');
    if (open < 0 || close < open)
        return {};
    return filter.mid(open + 1, close - open - 1).split(u' ', Qt::SkipEmptyParts);
}

bool IsMusicFileName(const QString& path, const QStringList& patterns) {
    const QString name = QFileInfo(path).fileName();
    for (const QString& pattern : patterns) {
        const QRegularExpression wildcard(QRegularExpression::wildcardToRegularExpression(pattern),
                                          QRegularExpression::CaseInsensitiveOption);
        if (wildcard.match(name).hasMatch())
            return true;
    }
    return false;
}

QStringList MusicFilesBelow(const QString& folder, const QStringList& patterns) {
    QStringList files;
    QSet<QString> seen;
    if (!patterns.isEmpty())
        collectMusicFiles(folder, patterns, seen, files);
    return files;
}
