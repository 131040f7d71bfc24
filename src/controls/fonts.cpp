#include "controls/fonts.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>

namespace {

bool canShowEastAsianText(const QString& family) {
    const QList<QFontDatabase::WritingSystem> systems = QFontDatabase::writingSystems(family);
    return systems.contains(QFontDatabase::SimplifiedChinese) ||
           systems.contains(QFontDatabase::TraditionalChinese) ||
           systems.contains(QFontDatabase::Japanese) || systems.contains(QFontDatabase::Korean);
}

QFont makeNormalFont() {
    QFont font = QApplication::font("QMessageBox");
    // The requested family may be an alias ("Sans Serif"); judge the face
    // that is really used.
    const QString family = QFontInfo(font).family();
    const QString tahoma = QStringLiteral("Tahoma");
    if (!canShowEastAsianText(family) && QFontDatabase::hasFamily(tahoma))
        font.setFamily(tahoma);
    return font;
}

int shrunk(int magnitude) {
    return qMax(1, (magnitude + 1) * 4 / 5);
}

} // namespace

// The fonts live on the heap and are never freed: they must outlast every
// widget, including those torn down after the application object.
const QFont& NormalFont() {
    static const QFont* font = new QFont(makeNormalFont());
    return *font;
}

const QFont& BoldFont() {
    static const QFont* font = [] {
        QFont* bold = new QFont(NormalFont());
        bold->setWeight(QFont::Bold);
        return bold;
    }();
    return *font;
}

const QFont& SmallFont() {
    static const QFont* font = [] {
        QFont* small = new QFont(NormalFont());
        if (small->pixelSize() > 0)
            small->setPixelSize(shrunk(small->pixelSize()));
        else if (small->pointSizeF() > 0)
            small->setPointSize(shrunk(int(small->pointSizeF())));
        return small;
    }();
    return *font;
}
