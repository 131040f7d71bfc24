#pragma once

#include <QSize>
#include <QTabBar>

// A tab row painted from skin pictures "imgs/<skinName>_<index>_<selected>.bmp"
// with the tab texts in white. Tabs sit a little below the top edge; the
// selected tab reaches up to the top, so it stands out even without pictures.
// The tab row only reports the chosen index (currentChanged); the owner shows
// and hides its panels.
class CMyTabCtrl : public QTabBar {
    Q_OBJECT

public:
    // Rows of pixels above the unselected tabs.
    static constexpr int kTopMargin = 2;

    explicit CMyTabCtrl(QWidget* parent = nullptr);
    CMyTabCtrl(int controlId, const QString& skinName, QWidget* parent = nullptr);

    QString skinName() const { return skinName_; }
    void setSkinName(const QString& name);

    // The size of every tab below the top margin; an invalid size lets each
    // tab fit its text.
    QSize itemSize() const { return itemSize_; }
    void setItemSize(const QSize& size);

    // Where tab i is painted: its place in the row, lowered by the top
    // margin unless it is the selected tab. Empty for an index out of range.
    QRect itemRect(int index) const;

protected:
    QSize tabSizeHint(int index) const override;
    QSize minimumTabSizeHint(int index) const override;
    void paintEvent(QPaintEvent* event) override;

private:
    QString skinName_;
    QSize itemSize_;
};
