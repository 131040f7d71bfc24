#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

#include "transmitter/transmitterrecords.h"

class SerialPort;

// Actions of ChangeDeviceState.
enum DeviceAction : int {
    kDeviceConnect = 0,
    kDeviceDisconnect = 1,
    kDeviceSwitchOffOrWake = 2,
    kDeviceRefresh = 3, // any other value does the same
};

// Opens a port by number; OpenSerialPort unless a test puts another in.
using SerialPortOpener = std::function<std::unique_ptr<SerialPort>(int n)>;

// The one link to the transmitter: finds it on the COM ports, keeps its state
// (not connected, connected, switched off), switches it off and wakes it, and
// applies settings for the user interface. Everything runs on the UI thread
// and blocks while the transmitter is asked; callers show the wait cursor.
// What changed is told through signals; the windows decide what to show.
class TransmitterLink : public QObject {
    Q_OBJECT

public:
    enum class LinkState { NotConnected, Connected, SwitchedOff };
    Q_ENUM(LinkState)

    // The UI text of a key in the current language.
    using TextLookup = std::function<QString(const QString& key)>;

    // `uiText` gives the texts of the link's own log line, message and About
    // texts; without it a key stands for its text, as a missing UI text does.
    explicit TransmitterLink(TextLookup uiText = {}, QObject* parent = nullptr);
    ~TransmitterLink() override;

    void setPortOpener(SerialPortOpener opener);

    // The link is usable: a port is held, the handshake succeeded and the
    // transmitter is not switched off.
    bool IsConnected() const;
    LinkState state() const;

    // Wakes a switched-off transmitter on its open port, or tries the last
    // port that answered and then COM1 to COM9. True when a port is held.
    bool Connect();
    // Says goodbye, closes the port and clears the flags; the records keep
    // their last values.
    void Disconnect();
    // Sends "AT+OFF". The link counts as switched off even when the
    // transmitter did not accept it, so that the next wake runs a handshake.
    bool SwitchOff();

    // Connect, disconnect, switch off or wake, or just refresh (DeviceAction),
    // with the log entries; stateChanged tells the windows. False only when a
    // connection attempt failed, which changes nothing and tells nobody.
    bool ChangeDeviceState(int action);

    // Sends the changed fields named in `mask` and reads them back into the
    // status (see the protocol's ApplySettings). Without a port: 0.
    int ApplySettings(const TransmitterStatus& settings, int mask);
    // ApplySettings for the user interface: a failed field is told through
    // settingRefused, and settingsApplied follows when anything was sent or
    // failed.
    int ApplyFromUi(const TransmitterStatus& settings, int mask);

    // Fill the records from the transmitter; without a port they do nothing.
    void QueryProduct();
    void QueryInfo();
    void QueryStatus();

    // The About box's product and device texts; "none" without a usable link.
    QString AboutProductText() const;
    QString AboutDeviceText() const;

    bool hasPort() const { return port_ != nullptr; }
    bool connected() const { return connected_; }
    bool switchedOff() const { return switchedOff_; }
    int lastPort() const { return lastPort_; }
    const TransmitterStatus& status() const { return status_; }
    const TransmitterInfo& info() const { return info_; }
    const TransmitterProduct& product() const { return product_; }

signals:
    // A connection, disconnection, switch-off, wake or refresh was done: the
    // records, the state and the title are to be shown anew.
    void stateChanged(TransmitterLink::LinkState state);
    // ApplyFromUi sent or refused fields: the records were read back. The
    // controls keep whether they are enabled.
    void settingsApplied();
    // ApplyFromUi: the transmitter refused a field; `text` is the warning
    // ("fmt_modify_err") that names it.
    void settingRefused(const QString& text);

private:
    bool connectOn(int n, bool rememberPort);
    QString text(const QString& key) const;
    QString text(const char* key) const;

    TextLookup uiText_;
    SerialPortOpener opener_;
    std::unique_ptr<SerialPort> port_;
    bool connected_ = false;
    bool switchedOff_ = false;
    TransmitterStatus status_;
    TransmitterInfo info_;
    TransmitterProduct product_;
    int lastPort_ = 0;
};

// A value in tenths as "%d.%d": 881 gives "88.1", -35 gives "-3.5".
QString FormatTenths(qint32 tenths);
