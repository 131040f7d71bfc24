#pragma once

#include <QStringList>

class DataStore;
class QComboBox;
class QTreeView;
struct MusicCategory;

// What the music library's windows share: the look of their report lists,
// the category drop-down, and finding music files on the disk.

// A report list as the station's other lists: grid lines, whole rows, the
// list font; column 0 (the row number) at least `numberWidth` wide.
void SetUpMusicList(QTreeView* list, int numberWidth);
// Column 0 as wide as the largest row number needs, at least `numberWidth`.
void FitMusicNumberColumn(QTreeView* list, int numberWidth);

// Fills the drop-down with every category name in store order, the category
// as item data, and keeps the line that was selected: 0 when none was, the
// last line when it is gone. Emits no signal; the caller shows the line.
void FillCategoryChooser(QComboBox* chooser, const DataStore& store);
MusicCategory* ChosenCategory(const QComboBox* chooser);

// The patterns of the music file dialogs ("*.mp3", ...), as the setting
// "MusicFileExtension" gives them.
QStringList MusicFilePatterns();
bool IsMusicFileName(const QString& path, const QStringList& patterns);
// Every file below the folder, sub-folders included, whose name matches one
// of the patterns (letter case aside): a folder's own files in name order,
// then each sub-folder's in name order. Hidden entries are left out, and a
// folder reached twice through links is read once.
QStringList MusicFilesBelow(const QString& folder, const QStringList& patterns);
