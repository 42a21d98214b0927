// The simulated roaster in the console's own process, on Qt's event loop:
// the model behind a LoopbackSerial, which the console uses as its serial
// control, with port discovery that finds it. No pseudo-terminal, so it
// runs on every system; --simulate uses it.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include "loopback_serial.h"
#include "roaster_model.h"
#include "simulated_roaster.h"

class SimulatedRoasterLoopback : public QObject, public SimulatedRoaster, private LoopbackSerial::EventLoop {
    Q_OBJECT
public:
    explicit SimulatedRoasterLoopback(const RoasterModel::Options& options = RoasterModel::Options{},
                                      QObject* parent = nullptr);

    // What the console uses as its serial control and port discovery.
    SerialControl& serial() { return serial_; }
    PortLister& ports() { return ports_; }

    // SimulatedRoaster
    RoasterModel& model() override { return model_; }
    const RoasterModel& model() const override { return model_; }
    int64_t NowMs() const override { return clock_.elapsed(); }
    void PowerOff() override { serial_.PowerOff(); }
    void Vanish() override { serial_.Vanish(); }

private:
    // LoopbackSerial::EventLoop
    void PumpAt(int64_t at_ms) override;
    void Post(std::function<void()> call) override;

    QElapsedTimer clock_;
    QTimer pump_timer_;
    RoasterModel model_;
    LoopbackSerial serial_{model_, *this};
    LoopbackPortLister ports_{serial_};
};
