#include "ui/schedule/taskpanel.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeView>

#include "controls/listutils.h"
#include "controls/messagebox.h"
#include "controls/waitcursor.h"
#include "store/clocktext.h"
#include "store/uitext.h"
#include "ui/users/userlogin.h"

CTaskPanel::CTaskPanel(const AppState& state, const QString& noMatchKey, const QString& deleteKey,
                       QWidget* parent)
    : QWidget(parent), state_(state), noMatchKey_(noMatchKey), deleteKey_(deleteKey) {}

void CTaskPanel::setUpPanel(const Controls& controls, QAbstractItemModel* model, int nameColumn,
                            const QList<FixedColumn>& fixedColumns, YmdDate today) {
    controls_ = controls;
    model_ = model;
    nameColumn_ = nameColumn;
    QTreeView* list = controls_.list;
    ShowModelInList(list, model_);
    for (const FixedColumn& fixed : fixedColumns)
        FitColumnToText(list, fixed.column, fixed.width, fixed.longest);
    controls_.date->setDate(YmdToDate(today));
    controls_.date->setEnabled(!controls_.anyDate->isChecked());
    connect(controls_.anyDate, &QCheckBox::toggled, controls_.date,
            [this](bool anyDate) { controls_.date->setEnabled(!anyDate); });

    // A reset (a task added or moved) drops the selection; the command that
    // caused it selects the row again.
    connect(model_, &QAbstractItemModel::modelReset, this, &CTaskPanel::showSelection);
    connect(model_, &QAbstractItemModel::dataChanged, this, &CTaskPanel::showSelection);
    connect(list->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &CTaskPanel::showSelection);
    connect(list, &QTreeView::doubleClicked, this, [this](const QModelIndex& index) {
        if (index.isValid())
            OnEdit();
    });
    connect(controls_.add, &QPushButton::clicked, this, [this] { OnAdd(); });
    connect(controls_.edit, &QPushButton::clicked, this, [this] { OnEdit(); });
    connect(controls_.remove, &QPushButton::clicked, this, [this] { OnDelete(); });
    connect(controls_.toggle, &QPushButton::clicked, this, [this] { OnToggle(); });
    connect(controls_.search, &QPushButton::clicked, this, &CTaskPanel::OnSearch);
    connect(controls_.text, &QLineEdit::returnPressed, this, &CTaskPanel::OnSearch);
    fitNameColumn();
    showSelection();
}

int CTaskPanel::selectedRow() const {
    return SelectedListRow(controls_.list);
}

void CTaskPanel::selectRow(int row) {
    SelectListRow(controls_.list, row);
    showSelection();
}

void CTaskPanel::showSelection() {
    const int row = selectedRow();
    const int disabled = disabledAt(row);
    const bool selected = disabled >= 0;
    controls_.edit->setEnabled(selected);
    controls_.remove->setEnabled(selected);
    controls_.toggle->setEnabled(selected);
    controls_.toggle->setText(
        GetUiText(disabled > 0 ? QStringLiteral("enable") : QStringLiteral("disable")));
    showTask(selected ? row : -1);
}

void CTaskPanel::OnDelete() {
    if (RefuseUnlessAdministrator(this, state_))
        return;
    const int row = selectedRow();
    if (disabledAt(row) < 0)
        return;
    if (MessageBox::askDelete(this, deleteKey_, GetUiText(deleteKey_)) != QMessageBox::Yes)
        return;
    WaitCursor busy;
    removeTask(row);
    selectRow(row > 0 ? row - 1 : 0);
}

void CTaskPanel::OnToggle() {
    const int row = selectedRow();
    if (disabledAt(row) < 0)
        return;
    WaitCursor busy;
    toggleTask(row);
}

void CTaskPanel::OnSearch() {
    const bool anyDate = controls_.anyDate->isChecked();
    const YmdDate date = anyDate ? 0 : DateToYmd(controls_.date->date());
    const int row = findTask(date, controls_.text->text());
    if (row >= 0)
        selectRow(row);
    else if (model_->rowCount() > 0)
        MessageBox::showNotice(this, noMatchKey_, GetUiText(noMatchKey_));
}

void CTaskPanel::fitNameColumn() {
    if (!model_)
        return;
    int fixed = kScrollBarWidth;
    for (int column = 0; column < model_->columnCount(); ++column) {
        if (column != nameColumn_)
            fixed += controls_.list->columnWidth(column);
    }
    FitColumnToList(controls_.list, nameColumn_, fixed);
}

void CTaskPanel::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    fitNameColumn();
}
