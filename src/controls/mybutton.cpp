#include "controls/mybutton.h"

#include <QPainter>

#include "controls/fonts.h"
#include "controls/skin.h"

// The caption is painted in the shared interface font; the widget carries
// it too, so that size hints measure what is painted.
CMyButton::CMyButton(QWidget* parent) : QPushButton(parent) {
    setFont(NormalFont());
}

CMyButton::CMyButton(int controlId, const QString& text, QWidget* parent)
    : QPushButton(text, parent) {
    setFont(NormalFont());
    SetControlId(this, controlId);
}

CMyButton::State CMyButton::paintState() const {
    if (!isEnabled())
        return Disabled;
    if (isDown())
        return Pressed;
    return Normal;
}

// The backing store already paints off screen, so drawing straight onto the
// widget does not flicker.
void CMyButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect area = rect();
    const State state = paintState();

    painter.fillRect(area, SkinBackgroundColor());
    const int id = ControlId(this);
    if (id >= 0)
        DrawBitmapInRect(painter, LoadSkinPicture(ButtonPicturePath(id, state)), area);

    // The left part of the face, half the height wide, is kept for the
    // picture's symbol; the caption is centred in the rest.
    QRect textRect = area;
    textRect.setLeft(area.left() + area.height() / 2);

    QString caption = text();
    caption.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    int flags;
    if (caption.contains(u'\n')) {
        textRect.adjust(0, 2, 0, -2);
        flags = Qt::AlignHCenter | Qt::AlignTop;
    } else {
        flags = Qt::AlignCenter | Qt::TextSingleLine;
        caption = QFontMetrics(NormalFont()).elidedText(caption, Qt::ElideRight, textRect.width());
    }

    painter.setFont(NormalFont());
    if (state == Disabled) {
        // Embossed: a light copy one pixel down and right, grey text on top.
        painter.setPen(palette().color(QPalette::Light));
        painter.drawText(textRect.translated(1, 1), flags, caption);
        painter.setPen(palette().color(QPalette::Disabled, QPalette::ButtonText));
    } else {
        painter.setPen(Qt::white);
    }
    painter.drawText(textRect, flags, caption);
}
