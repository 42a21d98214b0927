// The serial communications control over QSerialPort: the operations the
// link uses under their property names, with the behaviour the link
// relies on:
// - a receive event (code 2) once at least RThreshold bytes wait, raised
//   from the event loop, so events keep coming while a message box runs
//   its own loop; a read takes everything waiting (InputLen 0);
// - OutBufferCount 0 discards output not yet sent; a write goes out at once
//   and a failed write throws SerialError;
// - a device that goes away (QSerialPort's ResourceError or ReadError,
//   which repeat until the port is closed) closes the port and is reported
//   once as an error event; the next status frame then loses the link.
#pragma once

#include <QObject>
#include <QSerialPort>
#include <cstdint>
#include <string>
#include <vector>

#include "serial_control.h"

class CMscomm1 : public QObject, public SerialControl {
    Q_OBJECT
public:
    explicit CMscomm1(QObject* parent = nullptr);
    ~CMscomm1() override;

    void SetCommPort(const std::string& device_path) override;
    bool PortOpen() override;
    void SetPortOpen(bool open) override;
    void SetInBufferSize(int bytes) override;
    void SetOutBufferSize(int bytes) override;
    void SetInputLen(int bytes) override;
    void SetInputMode(int mode) override;
    void SetRThreshold(int bytes) override;
    void SetSettings(const std::string& settings) override;
    void SetOutBufferCount(int bytes) override;
    void SetOutput(const std::vector<uint8_t>& bytes) override;
    std::vector<uint8_t> Input() override;
    int CommEvent() override { return event_; }

private:
    void OnReadyRead();
    void OnError(QSerialPort::SerialPortError error);
    // Raises the receive event if the threshold is reached.
    void DeliverReceive();
    void Raise(int code);

    QSerialPort port_;
    int in_buffer_size_ = 1024;
    int out_buffer_size_ = 1024;
    int input_len_ = 0;
    int input_mode_ = 1;
    int threshold_ = 0;
    int event_ = 0;
    bool receive_queued_ = false;
    // Counts openings, so a report queued for one opening of the port
    // never closes a later one.
    uint64_t opening_ = 0;
    bool lost_reported_ = false;
};
