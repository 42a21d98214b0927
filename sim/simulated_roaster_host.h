// The simulated roaster on a pseudo-terminal: the model answers what the
// console writes to the terminal's device (such as /dev/pts/3), driven by
// the Qt event loop of the thread the host lives in. roaster-sim and the
// tests of the real serial control use it (--simulate runs the roaster in
// the console's own process instead: SimulatedRoasterLoopback). Linux and
// other Unix systems only; elsewhere Start() fails.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <functional>
#include <memory>
#include <string>

#include "roaster_model.h"
#include "simulated_roaster.h"

class QSocketNotifier;

class SimulatedRoasterHost : public QObject, public SimulatedRoaster {
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

    // SimulatedRoaster
    void PowerOff() override;
    void Vanish() override;
    RoasterModel& model() override { return model_; }
    const RoasterModel& model() const override { return model_; }
    int64_t NowMs() const override { return clock_.elapsed(); }

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
