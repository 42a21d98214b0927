#include "program_planning.h"

#include <QtConcurrent>

#include "forecast.h"
#include "live_roast_curve.h"
#include "model_forecast.h"
#include "roast_steps.h"
#include "roaster_controller.h"
#include "roaster_model_keeper.h"
#include "warning_box.h"

namespace {
const QString kRefused = QStringLiteral("Cannot plan a program");
}  // namespace

ProgramPlanning::ProgramPlanning(RoasterController& controller, LiveRoastCurve& curve, RoasterModelKeeper& keeper)
    : controller_(controller), curve_(curve), keeper_(keeper) {
    pool_.setMaxThreadCount(1);
    // As the model's fit: the window's thread, which paces the status
    // frames, comes first.
    pool_.setThreadPriority(QThread::IdlePriority);
    warn = [this](const QString& text) { ShowWarning(curve_.window(), text); };
}

ProgramPlanning::~ProgramPlanning() {
    if (watcher_) watcher_->disconnect();
    pool_.waitForDone();
}

void ProgramPlanning::Plan(const RoastLog& log, const QString& path) {
    const ControllerState& s = controller_.state();
    if (s.machine_state == kRun) {
        warn(kRefused + QStringLiteral(" while a roast runs: stop it first."));
        return;
    }
    const LearntRoaster* learnt = keeper_.learnt();
    if (!learnt || !learnt->Predicts()) {
        warn(kRefused + QStringLiteral(": the roaster model learns from %1 roasts of at least 5 minutes on this "
                                       "roaster, and has %2.")
                            .arg(kLeastModelRoasts)
                            .arg(learnt ? learnt->roasts : 0));
        return;
    }
    if (watcher_) return;  // one at a time: a second click waits for none
    // From the beans as they are now, when the roaster is heard and its
    // reading is of green beans; else as the roast planned for began.
    const std::optional<double> start_f = NextBatchStart(BeansReading(s));
    watcher_ = std::make_unique<QFutureWatcher<Planned>>();
    QObject::connect(watcher_.get(), &QFutureWatcherBase::finished, watcher_.get(), [this, log, path] {
        const Planned planned = watcher_->result();
        watcher_.release()->deleteLater();
        Made(planned, log, path);
    });
    watcher_->setFuture(QtConcurrent::run(&pool_, [model = *learnt->model, log, start_f] {
        Planned out;
        out.plan = PlanForRoast(model, log, start_f, out.why);
        return out;
    }));
}

void ProgramPlanning::Made(const Planned& planned, const RoastLog& log, const QString& path) {
    if (!planned.plan) {
        warn(kRefused + QStringLiteral(": %1.").arg(QString::fromStdString(planned.why)));
        return;
    }
    const RoastPlan& plan = *planned.plan;
    std::vector<StepNode> steps;
    for (const ProgramStep& p : plan.steps) steps.push_back({0, p.fan, p.tenths, p.heat, StepWaiting, nullptr});
    steps.push_back({0, plan.cooling.fan, plan.cooling.tenths, 0, CoolWaiting, nullptr});
    const std::string name = "Plan " + ShortNameFromRoast(log, [this](const std::string& shown) {
        return !name_fits || name_fits("Plan " + shown);
    });
    // Told first, so what watches the profile change sees whose it is.
    if (on_planned) on_planned(name, plan);
    const std::string problem = controller_.UseProfileSteps(name, steps);
    if (!problem.empty()) {
        warn(kRefused + QStringLiteral(": its steps do not make a profile: %1.").arg(QString::fromStdString(problem)));
        return;
    }
    curve_.ShowRecorderRoasts();
    curve_.ShowBackground(log, path);
    curve_.Show();
}
