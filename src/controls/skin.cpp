#include "controls/skin.h"

#include <QPainter>
#include <QVariant>
#include <QWidget>

#include "support/apppaths.h"

void SetControlId(QWidget* widget, int id) {
    if (widget)
        widget->setProperty(kControlIdProperty, id);
}

int ControlId(const QWidget* widget) {
    if (!widget)
        return -1;
    bool ok = false;
    const int id = widget->property(kControlIdProperty).toInt(&ok);
    return ok ? id : -1;
}

QString ButtonPicturePath(int controlId, int state) {
    return GetAppFolder() + QStringLiteral("/imgs/btn_") + QString::number(controlId) + u'_' +
           QString::number(state) + QStringLiteral(".bmp");
}

QString TabPicturePath(const QString& skinName, int index, bool selected) {
    return GetAppFolder() + QStringLiteral("/imgs/") + skinName + u'_' + QString::number(index) +
           (selected ? QStringLiteral("_1.bmp") : QStringLiteral("_0.bmp"));
}

QImage LoadSkinPicture(const QString& path) {
    QImage picture;
    if (!picture.load(path))
        return QImage();
    return picture;
}

void DrawBitmapInRect(QPainter& painter, const QImage& picture, const QRect& rect) {
    if (rect.isEmpty() || picture.isNull() || picture.width() <= 0 || picture.height() <= 0)
        return;
    if (picture.size() == rect.size()) {
        painter.drawImage(rect.topLeft(), picture);
        return;
    }
    const bool smooth = painter.testRenderHint(QPainter::SmoothPixmapTransform);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(rect, picture);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, smooth);
}
