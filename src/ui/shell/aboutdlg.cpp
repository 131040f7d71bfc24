#include "ui/shell/aboutdlg.h"

#include "ui_aboutdlg.h"

#include <QCoreApplication>
#include <QStyle>

#include "store/uitext.h"
#include "transmitter/transmitterlink.h"

namespace {

// The link composes its texts with CR LF line ends; the box keeps LF alone.
QString withoutCarriageReturns(QString text) {
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    while (text.endsWith(u'\n'))
        text.chop(1);
    return text;
}

// The zone line's label is written into the link's device text itself, not
// taken from the UI texts; it is translated here with the box's own texts.
const char* const kFixedLabels[] = {QT_TRANSLATE_NOOP("CAboutDlg", "分区")};

QString translatedLabel(const QString& label) {
    const QString name = label.endsWith(u':') ? label.chopped(1) : label;
    for (const char* fixed : kFixedLabels) {
        if (name == QString::fromUtf8(fixed))
            return QCoreApplication::translate("CAboutDlg", fixed) + label.mid(name.size());
    }
    return label;
}

// The texts line their values up with tabs, which suits one font only; shown
// as a two-column table, each "name:<tabs>value" line lines up in any font.
QString asTable(const QString& text) {
    QString html = QStringLiteral("<table cellspacing=\"0\" cellpadding=\"1\">");
    for (const QString& line : text.split(u'\n')) {
        const qsizetype tab = line.indexOf(u'\t');
        if (tab < 0) {
            html += QStringLiteral("<tr><td colspan=\"2\">%1</td></tr>").arg(line.toHtmlEscaped());
            continue;
        }
        html += QStringLiteral("<tr><td>%1</td><td style=\"padding-left:12px\">%2</td></tr>")
                    .arg(translatedLabel(line.left(tab).trimmed()).toHtmlEscaped(),
                         line.mid(tab).trimmed().toHtmlEscaped());
    }
    return html + QStringLiteral("</table>");
}

} // namespace

CAboutDlg::CAboutDlg(const TransmitterLink& link, QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::CAboutDlg>()) {
    ui_->setupUi(this);
    connect(ui_->okButton, &QPushButton::clicked, this, &CAboutDlg::accept);

    const QIcon icon = parent && !parent->window()->windowIcon().isNull()
                           ? parent->window()->windowIcon()
                           : style()->standardIcon(QStyle::SP_MessageBoxInformation);
    ui_->iconLabel->setPixmap(icon.pixmap(48, 48));

    ui_->enterpriseComment->setText(GetUiText(QStringLiteral("enterprise_comment")));
    // Without a usable link both texts are the "none" text, looked up here
    // so that it is right even when the link was made without UI texts.
    if (link.IsConnected()) {
        productText_ = withoutCarriageReturns(link.AboutProductText());
        deviceText_ = withoutCarriageReturns(link.AboutDeviceText());
        ui_->productText->setTextFormat(Qt::RichText);
        ui_->productText->setText(asTable(productText_));
        ui_->deviceText->setTextFormat(Qt::RichText);
        ui_->deviceText->setText(asTable(deviceText_));
    } else {
        productText_ = deviceText_ = GetUiText(QStringLiteral("none"));
        ui_->productText->setTextFormat(Qt::PlainText);
        ui_->productText->setText(productText_);
        ui_->deviceText->setTextFormat(Qt::PlainText);
        ui_->deviceText->setText(deviceText_);
    }
}

CAboutDlg::~CAboutDlg() = default;

QString CAboutDlg::commentText() const {
    return ui_->enterpriseComment->text();
}

QString CAboutDlg::productText() const {
    return productText_;
}

QString CAboutDlg::deviceText() const {
    return deviceText_;
}
