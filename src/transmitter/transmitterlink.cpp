#include "transmitter/transmitterlink.h"

#include "support/uiformat.h"

#include "support/eventlog.h"
#include "support/stringutils.h"
#include "transmitter/serialport.h"
#include "transmitter/transmitterprotocol.h"

namespace {

constexpr int kFirstScannedPort = 1;
constexpr int kLastScannedPort = 9;

} // namespace

TransmitterLink::TransmitterLink(TextLookup uiText, QObject* parent)
    : QObject(parent), uiText_(std::move(uiText)), opener_(OpenSerialPort) {}

TransmitterLink::~TransmitterLink() = default;

void TransmitterLink::setPortOpener(SerialPortOpener opener) {
    opener_ = opener ? std::move(opener) : SerialPortOpener(OpenSerialPort);
}

bool TransmitterLink::IsConnected() const {
    return port_ && connected_ && !switchedOff_;
}

TransmitterLink::LinkState TransmitterLink::state() const {
    if (!port_ || !(connected_ || switchedOff_))
        return LinkState::NotConnected;
    return switchedOff_ ? LinkState::SwitchedOff : LinkState::Connected;
}

bool TransmitterLink::connectOn(int n, bool rememberPort) {
    std::unique_ptr<SerialPort> candidate = opener_(n);
    if (!candidate || !Handshake(candidate.get()))
        return false;
    port_ = std::move(candidate);
    connected_ = true;
    switchedOff_ = false;
    if (rememberPort)
        lastPort_ = n;
    return true;
}

bool TransmitterLink::Connect() {
    if (port_) {
        if (!switchedOff_)
            return true;
        // Waking: the port stayed open, only the handshake is repeated.
        if (!Handshake(port_.get()))
            return false;
        switchedOff_ = false;
        return true;
    }
    if (lastPort_ > 0)
        connectOn(lastPort_, false);
    for (int n = kFirstScannedPort; !port_ && n <= kLastScannedPort; ++n)
        connectOn(n, true);
    return port_ != nullptr;
}

void TransmitterLink::Disconnect() {
    if (port_) {
        SayGoodbye(port_.get());
        port_.reset();
    }
    connected_ = false;
    switchedOff_ = false;
}

bool TransmitterLink::SwitchOff() {
    if (!port_)
        return false;
    if (switchedOff_)
        return true;
    switchedOff_ = true;
    const bool accepted = SendSwitchOff(port_.get());
    if (!accepted)
        LogEvent(QStringLiteral("Failed to shutdown device!"));
    return accepted;
}

bool TransmitterLink::ChangeDeviceState(int action) {
    if (action == kDeviceSwitchOffOrWake && switchedOff_)
        action = kDeviceConnect;

    switch (action) {
    case kDeviceConnect:
        LogEvent(QStringLiteral("Connecting device..."));
        if (!Connect()) {
            LogEvent(QStringLiteral("Failed to connect device!"));
            return false;
        }
        LogEvent(text("ok_connect_device"));
        QueryProduct();
        QueryInfo();
        QueryStatus();
        break;
    case kDeviceDisconnect:
        LogEvent(QStringLiteral("Disconnect!"));
        Disconnect();
        break;
    case kDeviceSwitchOffOrWake:
        LogEvent(QStringLiteral("Shutdown!"));
        SwitchOff();
        break;
    default:
        break;
    }
    emit stateChanged(state());
    return true;
}

int TransmitterLink::ApplySettings(const TransmitterStatus& settings, int mask) {
    return ::ApplySettings(port_.get(), &status_, settings, mask);
}

int TransmitterLink::ApplyFromUi(const TransmitterStatus& settings, int mask) {
    const int result = ApplySettings(settings, mask);
    if (result & kSetFailed) {
        const QString field = text(SettingsFieldTextKey(result & ~kSetFailed));
        emit settingRefused(FormatUiText(text("fmt_modify_err"), field));
    }
    if (result != 0)
        emit settingsApplied();
    return result;
}

void TransmitterLink::QueryProduct() {
    if (port_)
        ::QueryProduct(port_.get(), &product_);
}

void TransmitterLink::QueryInfo() {
    if (port_)
        ::QueryInfo(port_.get(), &info_);
}

void TransmitterLink::QueryStatus() {
    if (port_)
        ::QueryStatus(port_.get(), &status_);
}

QString TransmitterLink::AboutProductText() const {
    if (!IsConnected())
        return text("none");
    const QString line = QStringLiteral("%1: \t%2\r\n");
    return line.arg(text("man_info"), product_.manufacturerInfo) +
           line.arg(text("proc_info"), product_.productInfo) +
           line.arg(text("fw_ver"), product_.firmwareVersion) +
           line.arg(text("sw_ver"), product_.softwareVersion);
}

QString TransmitterLink::AboutDeviceText() const {
    if (!IsConnected())
        return text("none");
    const auto supported = [this](bool yes) { return text(yes ? "support" : "unsupport"); };

    QString powerRange;
    if (info_.powerLevelCount == 0) {
        powerRange = QStringLiteral("%1 ~ %2 W")
                         .arg(FormatTenths(info_.powerMin), FormatTenths(info_.powerMax));
    } else {
        for (int i = 0; i < info_.powerLevelCount && i < kMaxPowerLevels; ++i)
            powerRange += FormatTenths(info_.powerLevels[size_t(i)]) + QStringLiteral("W; ");
    }
    const QString volumeRange =
        info_.volumeControl ? QStringLiteral("%1 ~ %2").arg(QString::number(info_.volumeMin),
                                                            QString::number(info_.volumeMax))
                            : text("unsupport");

    // The tabs line the values up in the About box; the zone line's label is
    // not a UI text.
    return QStringLiteral("%1: \t%2\r\n")
               .arg(text("freq_range"),
                    QStringLiteral("%1 ~ %2 Mhz")
                        .arg(FormatTenths(info_.freqMin), FormatTenths(info_.freqMax))) +
           QStringLiteral("%1: \t%2\r\n").arg(text("power_range"), powerRange) +
           QStringLiteral("%1: \t%2\r\n").arg(text("volumn_range"), volumeRange) +
           QStringLiteral("%1:\t%2\r\n").arg(text("power_measure"), supported(info_.powerMeasure)) +
           QStringLiteral("%1: \t\t%2\r\n")
               .arg(text("preemphasis"), supported(info_.preemphasisSupport)) +
           QStringLiteral("%1: \t%2\r\n").arg(text("temp_support"), supported(info_.tempSupport)) +
           QStringLiteral("%1: \t\t%2\r\n").arg(text("bluetooth"), supported(info_.btSupport)) +
           QStringLiteral(u"分区: \t\t%1\r\n").arg(supported(info_.partitionSupport));
}

QString TransmitterLink::text(const QString& key) const {
    return uiText_ ? uiText_(key) : key;
}

QString TransmitterLink::text(const char* key) const {
    return text(QString::fromLatin1(key));
}

QString FormatTenths(qint32 tenths) {
    const qint64 value = tenths;
    const qint64 magnitude = value < 0 ? -value : value;
    return (value < 0 ? QStringLiteral("-") : QString()) + QString::number(magnitude / 10) + u'.' +
           QString::number(magnitude % 10);
}
