#pragma once

class QAbstractItemModel;
class QString;
class QTreeView;
class QTreeWidget;

// Routines shared by the report lists of the panels. A report list is a
// QTreeWidget of top-level rows, one column per report column; column 0 shows
// the 1-based row number and carries the row's record as Qt::UserRole data.

// Writes 1, 2, ... n into column 0 and makes that column as wide as the text
// "#<n+1>" in the application font, a little more than the largest number.
void NumberListRows(QTreeWidget* list);
// The same width for a list whose model numbers its rows itself.
void FitNumberColumn(QTreeView* list);

// Makes a tree view a report list as the panels use it: the interface font,
// flat rows of one height, whole rows selected one at a time, no editing.
void SetUpReportList(QTreeView* list);
// The selected row of a list whose rows are selected one at a time; -1 for
// none.
int SelectedListRow(const QTreeView* list);
// Selects the row alone, makes it current and scrolls to it; nothing for a
// row that does not exist.
void SelectListRow(QTreeView* list, int row);
// A report list with grid lines over `model`, its columns fixed in place.
void ShowModelInList(QTreeView* list, QAbstractItemModel* model);
// Gives `column` what the list's client width leaves beside `fixedWidth`
// (at least 60 pixels).
void FitColumnToList(QTreeView* list, int column, int fixedWidth);
// Makes `column` `planned` pixels wide, or wider when its title or the
// longest text it can show needs more in the list's fonts.
void FitColumnToText(QTreeView* list, int column, int planned, const QString& longest);
// Draws a thin grid line at the right and bottom edge of every cell of the
// list; with `rowHeight`, every row is at least that high.
void ShowGridLines(QTreeView* list, int rowHeight = 0);

// Rows drawn by the list itself: each cell in the colours and fonts the model
// gives (Qt::ForegroundRole, Qt::FontRole), a selected row in the highlight
// colours while the list has the focus and in the button colours otherwise,
// thin grid lines; in `decoratedColumn` the model's picture (a QImage as
// Qt::DecorationRole) at the cell's left and the text from `textIndent`.
void ShowDrawnRows(QTreeView* list, int decoratedColumn, int textIndent);

// After row `deletedRow` was removed: selects, makes current and scrolls to
// the row above it, or to row 0 when the first row was removed. Returns the
// selected row, or -1 when there is no such row (nothing is changed then).
int SelectAfterDelete(QTreeWidget* list, int deletedRow);

// Moves the contents of rows a and b past each other: every column's texts
// and data (the attached record included) and the rows' selection and
// current state change places, while the row numbers in column 0 stay.
// Nothing happens when a equals b or either row does not exist.
void SwapListRows(QTreeWidget* list, int a, int b);
