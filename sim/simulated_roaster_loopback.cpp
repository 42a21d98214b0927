#include "simulated_roaster_loopback.h"

#include <QMetaObject>
#include <utility>

SimulatedRoasterLoopback::SimulatedRoasterLoopback(const RoasterModel::Options& options, QObject* parent)
    : QObject(parent), model_(options) {
    clock_.start();
    pump_timer_.setSingleShot(true);
    pump_timer_.setTimerType(Qt::PreciseTimer);
    connect(&pump_timer_, &QTimer::timeout, this, [this] { serial_.Pump(); });
    model_.on_frame = [this](const ReceivedFrame& frame) {
        if (on_frame) on_frame(frame);
    };
    serial_.on_sent = [this](const std::vector<uint8_t>& bytes) {
        if (on_sent) on_sent(bytes);
    };
}

void SimulatedRoasterLoopback::PumpAt(int64_t at_ms) {
    const int64_t wait = at_ms - NowMs();
    pump_timer_.start(static_cast<int>(wait > 0 ? wait : 0));
}

void SimulatedRoasterLoopback::Post(std::function<void()> call) {
    // Dropped with this object, so a call never outlives the control.
    QMetaObject::invokeMethod(this, std::move(call), Qt::QueuedConnection);
}
