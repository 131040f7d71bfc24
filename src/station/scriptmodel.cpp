#include "station/scriptmodel.h"

#include "store/datastore.h"
#include "store/uitext.h"

ScriptModel::ScriptModel(DataStore& store, QObject* parent)
    : QAbstractTableModel(parent), store_(store) {}

int ScriptModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(store_.scripts.size());
}

int ScriptModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumnCount;
}

QVariant ScriptModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid) || role != Qt::DisplayRole)
        return {};
    if (index.column() == NumberColumn)
        return QString::number(index.row() + 1);
    return store_.scripts[size_t(index.row())]->title;
}

QVariant ScriptModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    if (section == TitleColumn)
        return GetUiText(QStringLiteral("tts_title"));
    return section == NumberColumn ? QVariant(QString()) : QVariant();
}

SpeechScript* ScriptModel::scriptAt(int row) const {
    return row >= 0 && row < rowCount() ? store_.scripts[size_t(row)].get() : nullptr;
}

int ScriptModel::add(const SpeechScript& script) {
    const int row = rowCount();
    beginInsertRows(QModelIndex(), row, row);
    store_.AddScript(script);
    endInsertRows();
    return row;
}

void ScriptModel::update(int row, const QString& title, const QString& text) {
    SpeechScript* script = scriptAt(row);
    if (!script)
        return;
    script->title = title;
    script->text = text;
    store_.SaveSpeechFile();
    emit dataChanged(index(row, TitleColumn), index(row, TitleColumn));
}

void ScriptModel::remove(int row) {
    if (!scriptAt(row))
        return;
    beginRemoveRows(QModelIndex(), row, row);
    store_.scripts.erase(store_.scripts.begin() + row);
    store_.SaveSpeechFile();
    endRemoveRows();
    // The rows below moved up: their numbers changed.
    if (row < rowCount())
        emit dataChanged(index(row, NumberColumn), index(rowCount() - 1, NumberColumn));
}
