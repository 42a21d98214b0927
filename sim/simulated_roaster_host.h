// The simulated roaster on a pseudo-terminal: the model answers what the
// console writes to the terminal's device (such as /dev/pts/3), driven by
// the Qt event loop of the thread the host lives in. The program uses it
// for --simulate, tests and roaster-sim use it to talk to the real serial
// control. Linux and other Unix systems only; elsewhere Start() fails.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <functional>
#include <memory>
#include <string>

#include "roaster_model.h"

class QSocketNotifier;

class SimulatedRoasterHost : public QObject {
    Q_OBJECT
public:
    explicit SimulatedRoasterHost(const RoasterModel::Options& options = RoasterModel::Options{},
                                  QObject* parent = nullptr);
    ~SimulatedRoasterHost() override;

    // Opens the pseudo-terminal. False with a reason when it cannot.
    bool Start(std::string* error = nullptr);
    bool Running() const { return master_ >= 0; }
    // The device the console opens; empty before Start().
    const std::string& DevicePath() const { return device_path_; }

    // The roaster is switched off at the machine.
    void PowerOff();
    // The device disappears, as an unplugged bridge does.
    void Vanish();

    RoasterModel& model() { return model_; }
    const RoasterModel& model() const { return model_; }
    // Milliseconds since the host was made: the time base of the model.
    int64_t NowMs() const { return clock_.elapsed(); }

    // Called for every frame the roaster receives.
    std::function<void(const ReceivedFrame&)> on_frame;
    // Called for every piece the roaster writes to the line.
    std::function<void(const std::vector<uint8_t>&)> on_sent;

private:
    void OnReadable();
    // Writes what is due and arms the timer for the next piece.
    void Pump();
    void Close();

    RoasterModel model_;
    QElapsedTimer clock_;
    QTimer pump_timer_;
    std::unique_ptr<QSocketNotifier> notifier_;
    int master_ = -1;
    int slave_ = -1;  // held open so the terminal stays up between the console's openings
    std::string device_path_;
};
