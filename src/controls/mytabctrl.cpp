#include "controls/mytabctrl.h"

#include <QPainter>

#include "controls/fonts.h"
#include "controls/skin.h"

namespace {

// Room on the left of each tab for the picture's ornament, and on the right
// to keep text off the edge.
constexpr int kTextLeftInset = 25;
constexpr int kTextRightInset = 4;
constexpr int kDefaultItemHeight = 30;
// Longest tab text that is painted.
constexpr int kMaxTextLength = 127;

} // namespace

CMyTabCtrl::CMyTabCtrl(QWidget* parent) : QTabBar(parent) {
    setDrawBase(false);
    setExpanding(false);
    setUsesScrollButtons(false);
    setElideMode(Qt::ElideNone);
    setFont(NormalFont());
}

CMyTabCtrl::CMyTabCtrl(int controlId, const QString& skinName, QWidget* parent)
    : CMyTabCtrl(parent) {
    SetControlId(this, controlId);
    skinName_ = skinName;
}

void CMyTabCtrl::setSkinName(const QString& name) {
    skinName_ = name;
    update();
}

void CMyTabCtrl::setItemSize(const QSize& size) {
    itemSize_ = size;
    // Changing a tab's text makes the bar lay its tabs out again with the
    // new size hints; no public call does that on its own.
    for (int i = 0; i < count(); ++i)
        setTabText(i, tabText(i));
    updateGeometry();
    update();
}

QRect CMyTabCtrl::itemRect(int index) const {
    QRect area = tabRect(index);
    if (area.isNull())
        return QRect();
    if (index == currentIndex())
        area.setTop(0);
    else
        area.setTop(area.top() + kTopMargin);
    return area;
}

QSize CMyTabCtrl::tabSizeHint(int index) const {
    if (itemSize_.isValid())
        return QSize(itemSize_.width(), itemSize_.height() + kTopMargin);
    const int textWidth = QFontMetrics(NormalFont()).horizontalAdvance(tabText(index));
    return QSize(textWidth + kTextLeftInset + kTextRightInset + 16,
                 kDefaultItemHeight + kTopMargin);
}

QSize CMyTabCtrl::minimumTabSizeHint(int index) const {
    return tabSizeHint(index);
}

void CMyTabCtrl::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setFont(NormalFont());
    painter.setPen(Qt::white);
    const QFontMetrics metrics(NormalFont());
    const int current = currentIndex();
    for (int i = 0; i < count(); ++i) {
        const QRect area = itemRect(i);
        if (area.isEmpty())
            continue;
        if (!skinName_.isEmpty())
            DrawBitmapInRect(painter, LoadSkinPicture(TabPicturePath(skinName_, i, i == current)),
                             area);
        // No mnemonic handling: an "&" in a tab text is shown as it is. A
        // text too long for its tab ends in an ellipsis rather than being
        // cut at both ends.
        const QRect textRect = area.adjusted(kTextLeftInset, 0, -kTextRightInset, 0);
        const QString text =
            metrics.elidedText(tabText(i).left(kMaxTextLength), Qt::ElideRight, textRect.width());
        painter.drawText(textRect, Qt::AlignCenter | Qt::TextSingleLine, text);
    }
}
