#include "roast_again.h"

#include <QFileInfo>

#include "coff_file.h"
#include "live_roast_curve.h"
#include "roast_log_names.h"
#include "roast_steps.h"
#include "roaster_controller.h"
#include "warning_box.h"

namespace {

QString FromStd(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

RoastAgain::RoastAgain(RoasterController& controller, LiveRoastCurve& curve)
    : controller_(controller), curve_(curve) {
    warn = [this](const QString& text) { ShowWarning(curve_.window(), text); };
}

std::optional<std::vector<StepNode>> RoastAgain::StepsOf(const RoastLog& log, const QString& refused) {
    // A followed roast: the program its steering came to.
    const std::string& key = log.Has(roastkey::kSteeredSteps) ? roastkey::kSteeredSteps : roastkey::kRunSteps;
    if (!log.Has(key)) {
        // Another program's roast says why its file gives no steps.
        const std::string why = log.Get(roastkey::kRunStepsUnknown);
        warn(refused + (why.empty() ? QStringLiteral(": the log does not say which steps the roast ran (it did not end).")
                                    : QStringLiteral(": %1.").arg(FromStd(why))));
        return std::nullopt;
    }
    StepsParse parsed = ParseStepsText(log.Get(key));
    if (!parsed.ok) {
        warn(refused + QStringLiteral(": its steps do not read: %1.").arg(FromStd(parsed.problem)));
        return std::nullopt;
    }
    return std::move(parsed.steps);
}

void RoastAgain::Roast(const RoastLog& log, const QString& path) {
    const QString refused = QStringLiteral("Cannot roast again");
    if (controller_.state().machine_state == kRun) {
        warn(refused + QStringLiteral(" while a roast runs: stop it first."));
        return;
    }
    const std::optional<std::vector<StepNode>> steps = StepsOf(log, refused);
    if (!steps) return;
    const std::string problem = controller_.UseProfileSteps(NameFromRoast(log), *steps);
    if (!problem.empty()) {
        warn(refused + QStringLiteral(": its steps do not make a profile: %1.").arg(FromStd(problem)));
        return;
    }
    curve_.ShowBackground(log, path);
    curve_.Show();
}

void RoastAgain::SaveSteps(const RoastLog& log) {
    const QString refused = QStringLiteral("Cannot save the steps as a profile");
    const std::optional<std::vector<StepNode>> steps = StepsOf(log, refused);
    if (!steps) return;
    CStep_Data list;
    const std::string problem = CoffProfileOf(*steps, list);
    const std::optional<std::string> text = problem.empty() ? BuildCoffText(list) : std::nullopt;
    if (!text) {
        warn(refused + QStringLiteral(": they do not make a profile: %1.").arg(FromStd(problem)));
        return;
    }
    RoastCurveWindow* window = curve_.window();
    if (!window) return;
    const QString suggested = FromStd(SafeFileName(NameFromRoast(log))) + QStringLiteral(".coff");
    const QString chosen = window->files().choose_profile_to_save(suggested);
    if (chosen.isEmpty()) return;
    const FileResult written = CreateCoffFile(chosen.toStdString(), *text);
    if (!written.ok)
        warn(QStringLiteral("Cannot write the file %1: %2").arg(chosen, FromStd(written.reason)));
}
