#include "cmscomm1.h"

#include <QMetaObject>
#include <exception>

#include "comm_settings.h"
#include "serial_checks.h"

namespace {
QSerialPort::Parity ToQt(CommSettings::Parity p) {
    switch (p) {
    case CommSettings::Parity::Even: return QSerialPort::EvenParity;
    case CommSettings::Parity::Odd: return QSerialPort::OddParity;
    case CommSettings::Parity::Mark: return QSerialPort::MarkParity;
    case CommSettings::Parity::Space: return QSerialPort::SpaceParity;
    case CommSettings::Parity::None: break;
    }
    return QSerialPort::NoParity;
}

QSerialPort::StopBits ToQt(CommSettings::StopBits s) {
    switch (s) {
    case CommSettings::StopBits::OneAndHalf: return QSerialPort::OneAndHalfStop;
    case CommSettings::StopBits::Two: return QSerialPort::TwoStop;
    case CommSettings::StopBits::One: break;
    }
    return QSerialPort::OneStop;
}

std::string Text(const QString& s) { return s.toStdString(); }
}  // namespace

CMscomm1::CMscomm1(QObject* parent) : QObject(parent) {
    port_.setFlowControl(QSerialPort::NoFlowControl);
    connect(&port_, &QSerialPort::readyRead, this, &CMscomm1::OnReadyRead);
    connect(&port_, &QSerialPort::errorOccurred, this, &CMscomm1::OnError);
}

CMscomm1::~CMscomm1() {
    // The port's own destructor closes it; no events after this point.
    port_.disconnect(this);
}

void CMscomm1::SetCommPort(const std::string& device_path) {
    if (port_.isOpen()) throw SerialError("Port already open");
    // QSerialPort takes a full device path as well as a short name.
    port_.setPortName(QString::fromStdString(device_path));
}

bool CMscomm1::PortOpen() { return port_.isOpen(); }

void CMscomm1::SetPortOpen(bool open) {
    if (!open) {
        if (port_.isOpen()) port_.close();
        return;
    }
    if (port_.isOpen()) throw SerialError("Port already open");
    if (port_.portName().isEmpty()) throw SerialError("No port chosen");
    port_.setReadBufferSize(in_buffer_size_);
    if (!port_.open(QIODevice::ReadWrite)) throw SerialError(Text(port_.errorString()));
    ++opening_;
    lost_reported_ = false;
    event_ = 0;
    // Input left over from before the opening is no part of this session.
    port_.clear(QSerialPort::AllDirections);
}

void CMscomm1::SetInBufferSize(int bytes) {
    serialcheck::BufferSize(port_.isOpen(), bytes);
    in_buffer_size_ = bytes;
}

void CMscomm1::SetOutBufferSize(int bytes) {
    serialcheck::BufferSize(port_.isOpen(), bytes);
    out_buffer_size_ = bytes;
}

void CMscomm1::SetInputLen(int bytes) {
    serialcheck::InputLen(bytes);
    input_len_ = bytes;
}

void CMscomm1::SetInputMode(int mode) {
    serialcheck::InputMode(mode);
    input_mode_ = mode;
}

void CMscomm1::SetRThreshold(int bytes) {
    serialcheck::Threshold(bytes);
    threshold_ = bytes;
    if (port_.isOpen()) OnReadyRead();
}

void CMscomm1::SetSettings(const std::string& settings) {
    const auto parsed = ParseCommSettings(settings);
    if (!parsed) throw SerialError("Invalid setting: " + settings);
    const bool ok = port_.setBaudRate(parsed->baud) && port_.setParity(ToQt(parsed->parity)) &&
                    port_.setDataBits(static_cast<QSerialPort::DataBits>(parsed->data_bits)) &&
                    port_.setStopBits(ToQt(parsed->stop_bits));
    if (!ok) throw SerialError(Text(port_.errorString()));
}

void CMscomm1::SetOutBufferCount(int bytes) {
    serialcheck::OutBufferCount(port_.isOpen(), bytes);
    port_.clear(QSerialPort::Output);
}

void CMscomm1::SetOutput(const std::vector<uint8_t>& bytes) {
    serialcheck::Output(port_.isOpen(), bytes.size(), out_buffer_size_);
    const qint64 size = static_cast<qint64>(bytes.size());
    const qint64 queued = port_.write(reinterpret_cast<const char*>(bytes.data()), size);
    if (queued != size) throw SerialError(Text(port_.errorString()));
    // Hand the bytes to the device now, so a failing device shows here and
    // the frame leaves when it was due, not on the next event-loop pass.
    port_.flush();
    const QSerialPort::SerialPortError error = port_.error();
    if (error == QSerialPort::WriteError || error == QSerialPort::ResourceError ||
        error == QSerialPort::NotOpenError)
        throw SerialError(Text(port_.errorString()));
}

std::vector<uint8_t> CMscomm1::Input() {
    serialcheck::Input(port_.isOpen());
    const QByteArray data = input_len_ > 0 ? port_.read(input_len_) : port_.readAll();
    return std::vector<uint8_t>(data.begin(), data.end());
}

void CMscomm1::OnReadyRead() {
    if (receive_queued_) return;
    receive_queued_ = true;
    // Raised from the event loop rather than inside readyRead: QSerialPort
    // does not emit readyRead again while a slot of it runs, and a message
    // box opened by the handler must not hold back later frames.
    QMetaObject::invokeMethod(this, &CMscomm1::DeliverReceive, Qt::QueuedConnection);
}

void CMscomm1::DeliverReceive() {
    receive_queued_ = false;
    if (!port_.isOpen() || threshold_ <= 0) return;
    if (port_.bytesAvailable() < threshold_) return;
    Raise(kCommEventReceive);
}

void CMscomm1::OnError(QSerialPort::SerialPortError error) {
    switch (error) {
    case QSerialPort::NoError:
    // Failures of an operation the caller asked for are thrown to it.
    case QSerialPort::DeviceNotFoundError:
    case QSerialPort::PermissionError:
    case QSerialPort::OpenError:
    case QSerialPort::WriteError:
    case QSerialPort::NotOpenError:
    case QSerialPort::UnsupportedOperationError:
    case QSerialPort::TimeoutError:
        return;
    case QSerialPort::ReadError:
    case QSerialPort::ResourceError: {
        if (lost_reported_ || !port_.isOpen()) return;
        lost_reported_ = true;
        const uint64_t opening = opening_;
        // Closed from the event loop, not inside the port's own signal.
        QMetaObject::invokeMethod(
            this,
            [this, opening] {
                // Reported even when a failed write made the link close the
                // port meanwhile; a later opening is left alone.
                if (opening != opening_) return;
                if (port_.isOpen()) port_.close();
                Raise(kCommErrorDeviceLost);
            },
            Qt::QueuedConnection);
        return;
    }
    case QSerialPort::UnknownError:
        break;
    }
    QMetaObject::invokeMethod(this, [this] { Raise(kCommErrorOther); }, Qt::QueuedConnection);
}

void CMscomm1::Raise(int code) {
    event_ = code;
    if (!OnComm) return;
    try {
        OnComm();
    } catch (const std::exception&) {
        // Nothing is thrown out of the event loop; the handler reports its
        // own failures.
    }
}
