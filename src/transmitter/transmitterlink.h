#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

#include "transmitterrecords.h"

class SerialPort;
class TransmitterObserver;

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
class TransmitterLink {
public:
    explicit TransmitterLink(TransmitterObserver* observer = nullptr);
    ~TransmitterLink();
    TransmitterLink(const TransmitterLink&) = delete;
    TransmitterLink& operator=(const TransmitterLink&) = delete;

    // The windows that hear about state changes; null: nobody.
    void setObserver(TransmitterObserver* observer);
    void setPortOpener(SerialPortOpener opener);

    // The link is usable: a port is held, the handshake succeeded and the
    // transmitter is not switched off.
    bool IsConnected() const;

    // Wakes a switched-off transmitter on its open port, or tries the last
    // port that answered and then COM1 to COM9. True when a port is held.
    bool Connect();
    // Says goodbye, closes the port and clears the flags; the records keep
    // their last values.
    void Disconnect();
    // Sends "AT+OFF". The link counts as switched off even when the
    // transmitter did not accept it, so that the next wake runs a handshake.
    bool SwitchOff();

    // Connect, disconnect, switch off or wake, or just refresh the title
    // (DeviceAction), with the log entries and what the windows show. False
    // only when a connection attempt failed.
    bool ChangeDeviceState(int action);

    // Sends the changed fields named in `mask` and reads them back into the
    // status (see the protocol's ApplySettings). Without a port: 0.
    int ApplySettings(const TransmitterStatus& settings, int mask);
    // ApplySettings for the user interface: a failed field is reported in a
    // warning, and the panels are refreshed when anything was sent or failed.
    int ApplyFromUi(const TransmitterStatus& settings, int mask);

    // The main window's title for its caption and lock state; it is also
    // handed to the observer.
    QString UpdateTitle(const QString& caption, bool locked);

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

private:
    bool connectOn(int n, bool rememberPort);
    QString text(const char* key) const;

    TransmitterObserver* observer_ = nullptr;
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
