#pragma once

#include <QAbstractTableModel>
#include <QHash>
#include <QStringList>

#include <vector>

class DataStore;
struct MusicCategory;

// One music category's files as a table: the row number and the full path,
// in the category's order. A file that is not on the disk shows grey, with a
// tooltip that says so. Whether a file is there is asked once per row, when
// the row is first shown, and once per folder: a library of thousands of
// paths on a drive that is not mounted opens as fast as an empty one.
class MusicCategoryModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { NumberColumn, PathColumn };
    static constexpr int kColumnCount = 2;

    explicit MusicCategoryModel(QObject* parent = nullptr);

    // The tooltip of a missing file's row, in the caller's language; the
    // path follows it on a line of its own.
    void setMissingFileText(const QString& text) { missingText_ = text; }

    // Shows another category (null: none) and forgets what was known of
    // the files.
    void setCategory(const MusicCategory* category);
    const MusicCategory* category() const { return category_; }

    // The path of a row; empty outside the rows.
    QString path(int row) const;
    // The first row whose path equals `path` as paths compare; -1 if none.
    int findPath(const QString& path) const;
    bool isFileMissing(int row) const;

    // Changes of the shown category go through here, so that its views
    // follow. The paths go to the end of `category`, which must be the one
    // shown; the caller saves.
    void appendFiles(MusicCategory& category, const QStringList& paths);
    // Takes the row's file out with the store's RemoveCategoryFile, which
    // saves. False when the row or the category is not the shown one's.
    bool removeFile(DataStore& store, MusicCategory& category, int row);

    // Files may have come or gone since they were looked at: look again
    // when the rows are next shown.
    void recheckFiles();

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    enum Presence : signed char { Unknown, Present, Missing };
    bool folderExists(const QString& path) const;

    const MusicCategory* category_ = nullptr;
    QString missingText_;
    mutable std::vector<Presence> presence_;
    mutable QHash<QString, bool> folders_;
};
