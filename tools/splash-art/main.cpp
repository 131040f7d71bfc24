// Draws the start-up picture of the station: a transmitter mast sending its
// waves over the station's teal, the program's name, the three things the
// station does (music, speech, the clock that schedules both) and the version.
//
// resources/imgs/splash.bmp is the output of this program; after a change
// here, draw it again and commit the result:
//
//     ninja -C <build> regenerate-splash
//
// The picture carries no Chinese or English words, so one picture serves
// both languages. Its size is fixed: the splash window takes the size of its
// picture, and the main window's start was laid out for 679 x 421.

#include <QCommandLineParser>
#include <QFont>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QtMath>

#include <cstdio>

namespace {

constexpr int kWidth = 679;
constexpr int kHeight = 421;

const QColor kDeep(0, 84, 97);
const QColor kTeal(0, 187, 199);
const QColor kLight(132, 224, 230);
const QColor kAccent(255, 196, 60);

// The face of the lettering: DejaVu Sans Bold when it is installed (the
// picture was drawn with it), else the platform's bold sans.
QString letteringFamily() {
    static const char* const candidates[] = {
        "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf",
        "/usr/share/fonts/dejavu/DejaVuSans-Bold.ttf",
    };
    for (const char* path : candidates) {
        const int id = QFontDatabase::addApplicationFont(QString::fromLatin1(path));
        if (id >= 0) {
            const QStringList families = QFontDatabase::applicationFontFamilies(id);
            if (!families.isEmpty())
                return families.first();
        }
    }
    return QStringLiteral("Sans Serif");
}

void background(QPainter& p) {
    QLinearGradient sky(0, 0, kWidth * 0.35, kHeight);
    sky.setColorAt(0, kDeep);
    sky.setColorAt(0.55, QColor(0, 140, 154));
    sky.setColorAt(1, kTeal);
    p.fillRect(QRect(0, 0, kWidth, kHeight), sky);

    // A soft glow behind the name.
    QRadialGradient glow(QPointF(440, 175), 260);
    glow.setColorAt(0, QColor(255, 255, 255, 46));
    glow.setColorAt(1, QColor(255, 255, 255, 0));
    p.fillRect(QRect(0, 0, kWidth, kHeight), glow);
}

// The waves leave the top of the mast and fade as they spread.
void waves(QPainter& p, const QPointF& source) {
    p.setBrush(Qt::NoBrush);
    for (int i = 1; i <= 9; ++i) {
        const qreal radius = 26.0 * i + 4.0 * i * i;
        const int alpha = qMax(18, 150 - i * 15);
        p.setPen(
            QPen(QColor(255, 255, 255, alpha), i <= 3 ? 2.6 : 2.0, Qt::SolidLine, Qt::RoundCap));
        const QRectF box(source.x() - radius, source.y() - radius, 2 * radius, 2 * radius);
        p.drawArc(box, -38 * 16, 76 * 16); // towards the name
        p.drawArc(box, 142 * 16, 76 * 16); // and back over the land
    }
}

// A lattice mast standing on the ground line, with its red beacon.
void mast(QPainter& p, qreal x, qreal top, qreal base) {
    const qreal halfFoot = 34;
    const qreal halfHead = 4;
    const QPointF headL(x - halfHead, top + 14), headR(x + halfHead, top + 14);
    const QPointF footL(x - halfFoot, base), footR(x + halfFoot, base);

    QPen steel(QColor(245, 252, 253), 3.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(steel);
    p.drawLine(headL, footL);
    p.drawLine(headR, footR);
    p.drawLine(QPointF(x, top), QPointF(x, top + 14));

    // Cross bracing between the legs, closer together near the top.
    steel.setWidthF(1.6);
    p.setPen(steel);
    const int levels = 9;
    auto legAt = [&](qreal t, bool left) {
        const QPointF& a = left ? headL : headR;
        const QPointF& b = left ? footL : footR;
        return a + (b - a) * t;
    };
    qreal previous = 0;
    for (int i = 1; i <= levels; ++i) {
        const qreal t = qPow(qreal(i) / levels, 1.25);
        p.drawLine(legAt(t, true), legAt(t, false));
        p.drawLine(legAt(previous, true), legAt(t, false));
        p.drawLine(legAt(previous, false), legAt(t, true));
        previous = t;
    }

    // The antenna dishes on the upper third.
    p.setBrush(QColor(245, 252, 253));
    p.setPen(Qt::NoPen);
    p.drawRoundedRect(QRectF(x + 5, top + 58, 9, 20), 3, 3);
    p.drawRoundedRect(QRectF(x - 14, top + 84, 9, 20), 3, 3);

    // Beacon.
    QRadialGradient halo(QPointF(x, top), 16);
    halo.setColorAt(0, QColor(255, 90, 70, 200));
    halo.setColorAt(1, QColor(255, 90, 70, 0));
    p.setBrush(halo);
    p.drawEllipse(QPointF(x, top), 16, 16);
    p.setBrush(QColor(255, 84, 64));
    p.drawEllipse(QPointF(x, top), 4.5, 4.5);
}

// Rolling land under the mast and a level meter along the foot of the
// picture.
void ground(QPainter& p, qreal baseY) {
    QPainterPath land;
    land.moveTo(0, baseY + 8);
    land.cubicTo(140, baseY - 10, 260, baseY + 18, 420, baseY + 2);
    land.cubicTo(520, baseY - 8, 610, baseY + 8, kWidth, baseY - 2);
    land.lineTo(kWidth, kHeight);
    land.lineTo(0, kHeight);
    land.closeSubpath();
    QLinearGradient soil(0, baseY - 10, 0, kHeight);
    soil.setColorAt(0, QColor(0, 112, 124));
    soil.setColorAt(1, QColor(0, 62, 72));
    p.setPen(Qt::NoPen);
    p.setBrush(soil);
    p.drawPath(land);

    // The meter: bars whose height follows two slow waves, brightest in the
    // middle, in the station's accent at their tips.
    const qreal bottom = kHeight - 18;
    const int bars = 52;
    const qreal step = (kWidth - 80.0) / bars;
    for (int i = 0; i < bars; ++i) {
        const qreal phase = i * 0.37;
        const qreal level = 0.35 + 0.3 * qSin(phase) * qSin(phase * 0.41 + 1.3) +
                            0.25 * qSin(i * 1.7 + 0.5) * qSin(i * 0.23);
        const qreal h = 6 + qBound<qreal>(0.05, level, 1.0) * 34;
        const qreal x = 40 + i * step;
        const qreal fade = 1.0 - qAbs(i - bars / 2.0) / (bars / 2.0);
        const int alpha = int(70 + 130 * fade);
        p.setBrush(QColor(255, 255, 255, alpha));
        p.drawRoundedRect(QRectF(x, bottom - h, step * 0.55, h), 1.5, 1.5);
        p.setBrush(QColor(kAccent.red(), kAccent.green(), kAccent.blue(), alpha));
        p.drawRoundedRect(QRectF(x, bottom - h - 4, step * 0.55, 3), 1, 1);
    }
}

// --- the three symbols under the name, in a 28 x 28 box centred on the origin

void note(QPainter& p) {
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(-6.5, 8), 5.5, 4.2);
    p.drawEllipse(QPointF(8.5, 5), 5.5, 4.2);
    p.setPen(QPen(Qt::white, 2.4, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(QPointF(-1.8, 8), QPointF(-1.8, -11));
    p.drawLine(QPointF(13.2, 5), QPointF(13.2, -14));
    p.setPen(QPen(Qt::white, 4.2, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(QPointF(-1.8, -9.5), QPointF(13.2, -12.5));
}

void bubble(QPainter& p) {
    QPainterPath shape;
    shape.addRoundedRect(QRectF(-13, -11, 26, 18), 6, 6);
    QPainterPath tail;
    tail.moveTo(-6, 5);
    tail.lineTo(-9, 13);
    tail.lineTo(1, 5);
    p.setPen(QPen(Qt::white, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(shape.united(tail));
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    for (int i = -1; i <= 1; ++i)
        p.drawEllipse(QPointF(i * 6.0, -2), 2, 2);
}

void clockFace(QPainter& p) {
    p.setPen(QPen(Qt::white, 2.2));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(0, 0), 12.5, 12.5);
    p.setPen(QPen(Qt::white, 2.4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(0, 0), QPointF(0, -8));
    p.drawLine(QPointF(0, 0), QPointF(6, 3));
}

void lettering(QPainter& p, const QString& family, const QString& version) {
    QFont name(family);
    name.setPixelSize(76);
    name.setBold(true);
    name.setLetterSpacing(QFont::AbsoluteSpacing, 1.5);

    // The name with a soft shadow.
    QPainterPath text;
    text.addText(QPointF(300, 196), name, QStringLiteral("Tolvane"));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 40, 48, 70));
    p.drawPath(text.translated(3, 4));
    QLinearGradient ink(0, 130, 0, 200);
    ink.setColorAt(0, Qt::white);
    ink.setColorAt(1, QColor(214, 246, 248));
    p.setBrush(ink);
    p.drawPath(text);

    // The accent rule under the name.
    const qreal right = 300 + text.boundingRect().width();
    p.setBrush(kAccent);
    p.drawRoundedRect(QRectF(303, 214, right - 303, 5), 2.5, 2.5);

    // Music, speech and the schedule, with thin dividers.
    const qreal y = 256;
    const qreal spacing = 62;
    void (*symbols[])(QPainter&) = {note, bubble, clockFace};
    for (int i = 0; i < 3; ++i) {
        p.save();
        p.translate(318 + i * spacing, y);
        symbols[i](p);
        p.restore();
        if (i < 2) {
            p.setPen(QPen(QColor(255, 255, 255, 110), 1.2));
            p.drawLine(QPointF(318 + i * spacing + spacing / 2, y - 12),
                       QPointF(318 + i * spacing + spacing / 2, y + 12));
        }
    }

    if (!version.isEmpty()) {
        QFont small(family);
        small.setPixelSize(15);
        small.setBold(true);
        p.setFont(small);
        p.setPen(QColor(255, 255, 255, 215));
        p.drawText(QRectF(0, 18, kWidth - 22, 20), Qt::AlignRight | Qt::AlignVCenter,
                   QStringLiteral("V") + version);
    }
}

QImage drawSplash(const QString& version) {
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    background(p);
    const qreal baseY = 352;
    const QPointF beacon(150, 96);
    waves(p, beacon);
    ground(p, baseY);
    mast(p, beacon.x(), beacon.y(), baseY + 4);
    lettering(p, letteringFamily(), version);

    // A thin frame: the splash window has none of its own.
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setBrush(Qt::NoBrush);
    p.setPen(QColor(0, 58, 68));
    p.drawRect(0, 0, kWidth - 1, kHeight - 1);
    p.setPen(QColor(255, 255, 255, 60));
    p.drawRect(1, 1, kWidth - 3, kHeight - 3);
    p.end();
    return image;
}

} // namespace

int main(int argc, char* argv[]) {
    // Lettering needs fonts, and fonts need a platform; no screen is used.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Draws the station's start-up picture."));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("file"), QStringLiteral("The .bmp to write."));
    const QCommandLineOption version(QStringLiteral("version"),
                                     QStringLiteral("Version shown in the corner."),
                                     QStringLiteral("text"));
    parser.addOption(version);
    parser.process(app);

    const QStringList args = parser.positionalArguments();
    if (args.size() != 1) {
        std::fprintf(stderr, "splash-art: name one output file (see --help)\n");
        return 2;
    }
    const QImage image = drawSplash(parser.value(version));
    if (!image.save(args.first(), "BMP")) {
        std::fprintf(stderr, "splash-art: cannot write %s\n", qPrintable(args.first()));
        return 1;
    }
    std::printf("%s\n", qPrintable(args.first()));
    return 0;
}
