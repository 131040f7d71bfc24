#include "controls/listutils.h"

#include "controls/fonts.h"

#include <QApplication>
#include <QFontMetrics>
#include <QHeaderView>
#include <QImage>
#include <QItemSelectionModel>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QTreeWidget>

#include <algorithm>

void NumberListRows(QTreeWidget* list) {
    if (!list)
        return;
    const int rows = list->topLevelItemCount();
    for (int i = 0; i < rows; ++i)
        list->topLevelItem(i)->setText(0, QString::number(uint(i + 1)));
    FitNumberColumn(list);
}

void FitNumberColumn(QTreeView* list) {
    if (!list)
        return;
    const int rows = list->model() ? list->model()->rowCount() : 0;
    // Measured in the application font rather than the list's own, so that
    // the column does not grow when a panel sets a bigger list font.
    const int width =
        QFontMetrics(QApplication::font()).horizontalAdvance(QStringLiteral("#%1").arg(rows + 1));
    // A list that draws tree branches indents column 0 as well.
    const int indent = list->rootIsDecorated() ? list->indentation() : 0;
    list->setColumnWidth(0, (width > 0 ? width : 30) + indent);
}

int SelectAfterDelete(QTreeWidget* list, int deletedRow) {
    if (!list || deletedRow < 0)
        return -1;
    const int row = deletedRow > 0 ? deletedRow - 1 : 0;
    QTreeWidgetItem* item = list->topLevelItem(row);
    if (!item)
        return -1;
    list->selectionModel()->setCurrentIndex(list->model()->index(row, 0),
                                            QItemSelectionModel::ClearAndSelect |
                                                QItemSelectionModel::Rows);
    list->scrollToItem(item);
    return row;
}

namespace {

// Exchanges every role of one cell between two rows; a role that only one
// side has is moved and cleared on the other.
void swapCell(QTreeWidgetItem* first, QTreeWidgetItem* second, int column, bool keepText,
              const QAbstractItemModel* model, const QModelIndex& firstIndex,
              const QModelIndex& secondIndex) {
    const QMap<int, QVariant> firstData = model->itemData(firstIndex);
    const QMap<int, QVariant> secondData = model->itemData(secondIndex);
    QList<int> roles = firstData.keys() + secondData.keys();
    std::sort(roles.begin(), roles.end());
    roles.erase(std::unique(roles.begin(), roles.end()), roles.end());
    for (int role : roles) {
        if (keepText && (role == Qt::DisplayRole || role == Qt::EditRole))
            continue;
        first->setData(column, role, secondData.value(role));
        second->setData(column, role, firstData.value(role));
    }
}

} // namespace

void SwapListRows(QTreeWidget* list, int a, int b) {
    if (!list || a == b || a < 0 || b < 0)
        return;
    QTreeWidgetItem* first = list->topLevelItem(a);
    QTreeWidgetItem* second = list->topLevelItem(b);
    if (!first || !second)
        return;

    const bool updates = list->updatesEnabled();
    list->setUpdatesEnabled(false);

    const QAbstractItemModel* model = list->model();
    for (int column = 0; column < list->columnCount(); ++column)
        swapCell(first, second, column, column == 0, model, model->index(a, column),
                 model->index(b, column));

    const bool firstSelected = first->isSelected();
    const bool secondSelected = second->isSelected();
    first->setSelected(secondSelected);
    second->setSelected(firstSelected);

    QItemSelectionModel* selection = list->selectionModel();
    const int current = selection->currentIndex().row();
    const int currentColumn = qMax(0, selection->currentIndex().column());
    if (current == a || current == b)
        selection->setCurrentIndex(model->index(current == a ? b : a, currentColumn),
                                   QItemSelectionModel::NoUpdate);

    list->setUpdatesEnabled(updates);
}

namespace {

class GridLineDelegate : public QStyledItemDelegate {
public:
    GridLineDelegate(int rowHeight, QObject* parent)
        : QStyledItemDelegate(parent), rowHeight_(rowHeight) {}

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        size.setHeight(qMax(size.height(), rowHeight_));
        return size;
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyledItemDelegate::paint(painter, option, index);
        painter->save();
        painter->setPen(QColor(208, 208, 208));
        const QRect r = option.rect;
        painter->drawLine(r.topRight(), r.bottomRight());
        painter->drawLine(r.bottomLeft(), r.bottomRight());
        painter->restore();
    }

private:
    int rowHeight_;
};

} // namespace

int SelectedListRow(const QTreeView* list) {
    const QModelIndexList rows = list->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void SelectListRow(QTreeView* list, int row) {
    const QModelIndex index = list->model()->index(row, 0);
    if (!index.isValid())
        return;
    list->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                                       QItemSelectionModel::Rows);
    list->scrollTo(index);
}

void ShowModelInList(QTreeView* list, QAbstractItemModel* model) {
    SetUpReportList(list);
    ShowGridLines(list);
    list->setModel(model);
    list->header()->setStretchLastSection(false);
    list->header()->setSectionsMovable(false);
}

void FitColumnToList(QTreeView* list, int column, int fixedWidth) {
    const int client = list->width() - 2 * list->frameWidth();
    list->setColumnWidth(column, qMax(60, client - fixedWidth));
}

void FitColumnToText(QTreeView* list, int column, int planned, const QString& longest) {
    const QString title = list->model()->headerData(column, Qt::Horizontal).toString();
    const int needed = qMax(list->fontMetrics().horizontalAdvance(longest),
                            list->header()->fontMetrics().horizontalAdvance(title));
    list->setColumnWidth(column, qMax(planned, needed + 12));
}

void ShowGridLines(QTreeView* list, int rowHeight) {
    list->setItemDelegate(new GridLineDelegate(rowHeight, list));
}

void SetUpReportList(QTreeView* list) {
    list->setFont(NormalFont());
    list->setRootIsDecorated(false);
    list->setItemsExpandable(false);
    list->setUniformRowHeights(true);
    list->setAllColumnsShowFocus(true);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
}

namespace {

// The pictures of a drawn row are at most this high.
constexpr int kIconHeight = 16;
constexpr int kCellMargin = 3;

// Draws each cell in the colours and fonts the model gives, over the
// highlight colours while the list has the focus and the button colours
// otherwise; the decorated column shows the model's picture at its left and
// the text from a fixed indent.
class DrawnRowDelegate : public QStyledItemDelegate {
public:
    DrawnRowDelegate(QTreeView* list, int decoratedColumn, int textIndent)
        : QStyledItemDelegate(list), list_(list), decoratedColumn_(decoratedColumn),
          textIndent_(textIndent) {}

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        const int height = QFontMetrics(BoldFont()).height() + 4;
        size.setHeight(std::max({size.height(), height, kIconHeight + 2}));
        return size;
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        const bool selected = option.state & QStyle::State_Selected;
        const bool focused = list_->hasFocus();
        const QPalette& palette = option.palette;

        painter->save();
        const QRect cell = option.rect;
        QColor background = palette.color(QPalette::Base);
        QColor foreground = palette.color(QPalette::Text);
        if (selected) {
            background = palette.color(focused ? QPalette::Highlight : QPalette::Button);
            foreground = palette.color(focused ? QPalette::HighlightedText : QPalette::ButtonText);
        }
        if (const QVariant ink = index.data(Qt::ForegroundRole); ink.isValid())
            foreground = ink.value<QColor>();
        QFont font = NormalFont();
        if (const QVariant face = index.data(Qt::FontRole); face.isValid())
            font = face.value<QFont>().resolve(NormalFont());
        painter->fillRect(cell, background);

        QRect textRect = cell.adjusted(kCellMargin, 0, -kCellMargin, 0);
        if (index.column() == decoratedColumn_) {
            const QVariant picture = index.data(Qt::DecorationRole);
            if (picture.isValid()) {
                const QImage image = picture.value<QImage>();
                painter->drawImage(cell.left() + 1,
                                   cell.top() + (cell.height() - image.height()) / 2, image);
            }
            textRect.setLeft(cell.left() + textIndent_);
        }
        painter->setFont(font);
        painter->setPen(foreground);
        const QString text = QFontMetrics(font).elidedText(index.data().toString(), Qt::ElideRight,
                                                           textRect.width());
        painter->drawText(textRect, index.data(Qt::TextAlignmentRole).toInt() | Qt::TextSingleLine,
                          text);

        painter->setPen(palette.color(QPalette::Midlight).darker(110));
        painter->drawLine(cell.topRight(), cell.bottomRight());
        painter->drawLine(cell.bottomLeft(), cell.bottomRight());
        painter->restore();
    }

private:
    const QTreeView* list_;
    int decoratedColumn_;
    int textIndent_;
};

} // namespace

void ShowDrawnRows(QTreeView* list, int decoratedColumn, int textIndent) {
    list->setItemDelegate(new DrawnRowDelegate(list, decoratedColumn, textIndent));
}
