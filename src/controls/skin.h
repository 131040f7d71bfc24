#pragma once

#include <QColor>
#include <QImage>
#include <QRect>
#include <QString>

class QPainter;
class QWidget;

// The station's look comes from pictures in the "imgs" folder of the program
// folder, so that an operator can re-skin it by replacing files. Every skinned
// control knows its numeric identifier (the dynamic property "controlId") and
// looks its pictures up by that number.

// Background of the main window and of the skinned buttons.
inline QColor SkinBackgroundColor() {
    return QColor(0, 187, 199);
}

// Name of the dynamic int property that carries a control's identifier.
inline constexpr char kControlIdProperty[] = "controlId";

void SetControlId(QWidget* widget, int id);
// The identifier of the control, or -1 when it has none.
int ControlId(const QWidget* widget);

// "<program folder>/imgs/btn_<id>_<state>.bmp", state 0 normal, 1 pressed, 2 disabled.
QString ButtonPicturePath(int controlId, int state);
// "<program folder>/imgs/<skin>_<index>_<selected>.bmp", selected 1 or 0.
QString TabPicturePath(const QString& skinName, int index, bool selected);

// Reads a picture file; a missing or unreadable file gives a null image.
// Nothing is cached: a replaced file shows at the next paint.
QImage LoadSkinPicture(const QString& path);

// Draws the whole picture into the rectangle: pixel for pixel when the sizes
// agree, otherwise stretched without blending (nearest pixel), which keeps
// the hard edges of the skins. An empty rectangle or a null or empty picture
// draws nothing.
void DrawBitmapInRect(QPainter& painter, const QImage& picture, const QRect& rect);
