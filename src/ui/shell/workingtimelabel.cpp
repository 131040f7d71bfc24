#include "ui/shell/workingtimelabel.h"

#include <QFontInfo>
#include <QFontMetrics>

#include "controls/fonts.h"
#include "station/station.h"
#include "store/clocktext.h"
#include "store/uitext.h"

namespace {

// The narrowest and the smallest the label goes.
constexpr int kNarrowestStretch = 80;
constexpr int kSmallestPixels = 9;

// The label has room for one line between the language box and the window's
// edge, and some languages need more than that. Rather than wrap onto a
// second line, the text is drawn narrower and, if need be, smaller, until it
// fits.
QFont fittingFont(const QFont& base, const QString& text, int width) {
    QFont font = base;
    int stretch = 100;
    int pixels = QFontInfo(base).pixelSize();
    while (QFontMetrics(font).horizontalAdvance(text) > width) {
        if (stretch > kNarrowestStretch)
            stretch -= 5;
        else if (pixels > kSmallestPixels)
            --pixels;
        else
            break;
        font.setStretch(stretch);
        font.setPixelSize(pixels);
    }
    return font;
}

} // namespace

void PaintLabelWhite(QLabel* label) {
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, Qt::white);
    label->setPalette(palette);
    label->setAttribute(Qt::WA_TranslucentBackground);
}

CWorkingTimeLabel::CWorkingTimeLabel(QWidget* parent) : QLabel(parent) {
    setObjectName(QStringLiteral("workingTime"));
    setFont(BoldFont());
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    PaintLabelWhite(this);
}

void CWorkingTimeLabel::showHours(const WorkingHours& hours, int langId) {
    const QString shown =
        QStringLiteral("%1  %2 %3~%4")
            .arg(GetUiText(QLatin1String(hours.working ? "working" : "gone_time")),
                 WeekdayName(hours.weekday, langId), FormatClock(hours.from),
                 FormatClock(hours.to));
    if (shown == text())
        return;
    setFont(fittingFont(BoldFont(), shown, contentsRect().width()));
    setText(shown);
    repaint();
}
