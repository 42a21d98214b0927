#include "roast_again.h"

#include <QDir>
#include <QFileInfo>
#include <utility>

#include "coff_file.h"
#include "live_roast_curve.h"
#include "roast_log_names.h"
#include "roast_steps.h"
#include "roaster_controller.h"
#include "warning_box.h"
#include "window_settings.h"

namespace {

QString FromStd(const std::string& text) { return QString::fromStdString(text); }

// The folder a profile was last saved in, kept between runs: where the
// next is suggested.
const QString kProfilesFolderKey = QStringLiteral("files/profiles");

}  // namespace

RoastAgain::RoastAgain(RoasterController& controller, LiveRoastCurve& curve)
    : controller_(controller), curve_(curve) {
    warn = [this](const QString& text) { ShowWarning(curve_.window(), text); };
}

std::optional<std::vector<StepNode>> RoastAgain::StepsOf(const RoastLog& log, QString& why) {
    // A followed roast: the program its steering came to.
    const std::string& key = log.Has(roastkey::kSteeredSteps) ? roastkey::kSteeredSteps : roastkey::kRunSteps;
    if (!log.Has(key)) {
        // Another program's roast says why its file gives no steps.
        const std::string unknown = log.Get(roastkey::kRunStepsUnknown);
        why = unknown.empty() ? QStringLiteral("the log does not say which steps the roast ran (it did not end)")
                              : FromStd(unknown);
        return std::nullopt;
    }
    StepsParse parsed = ParseStepsText(log.Get(key));
    if (!parsed.ok) {
        why = QStringLiteral("its steps do not read: %1").arg(FromStd(parsed.problem));
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
    QString why;
    if (!UseSteps(log, why)) {
        warn(QStringLiteral("%1: %2.").arg(refused, why));
        return;
    }
    curve_.ShowBackground(log, path);
    curve_.Show();
}

bool RoastAgain::UseSteps(const RoastLog& log, QString& why) {
    const std::optional<std::vector<StepNode>> steps = StepsOf(log, why);
    if (!steps) return false;
    const std::string shown = ShortNameFromRoast(log, [this](const std::string& name) {
        return !name_fits || name_fits(name);
    });
    // Known before the profile changes, so what watches the change sees it
    // is the one made here.
    const std::string shown_before = std::exchange(shown_name_, shown);
    const std::string whole_before = std::exchange(whole_name_, NameFromRoast(log));
    const std::string problem = controller_.UseProfileSteps(shown, *steps);
    if (!problem.empty()) {
        shown_name_ = shown_before;
        whole_name_ = whole_before;
        why = QStringLiteral("its steps do not make a profile: %1").arg(FromStd(problem));
        return false;
    }
    if (on_profile_made) on_profile_made();
    return true;
}

bool RoastAgain::ProfileIsMade(const RoastLog* log) const {
    const ControllerState& s = controller_.console.state;
    return !shown_name_.empty() && s.profile_name == shown_name_ && s.profile_path == kNoPath &&
           (!log || NameFromRoast(*log) == whole_name_);
}

QString RoastAgain::SuggestedFile() const {
    if (!ProfileIsMade()) return {};
    const QString name = FromStd(SafeFileName(shown_name_)) + QStringLiteral(".coff");
    const QString folder = WindowSettings().value(kProfilesFolderKey).toString();
    return folder.isEmpty() ? name : QDir(folder).filePath(name);
}

void RoastAgain::Saved(const QString& path) {
    if (!path.isEmpty()) WindowSettings().setValue(kProfilesFolderKey, QFileInfo(path).absolutePath());
}

void RoastAgain::SaveSteps(const RoastLog& log) {
    const QString refused = QStringLiteral("Cannot save the steps as a profile");
    QString why;
    const std::optional<std::vector<StepNode>> steps = StepsOf(log, why);
    if (!steps) {
        warn(QStringLiteral("%1: %2.").arg(refused, why));
        return;
    }
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
    const QString folder = WindowSettings().value(kProfilesFolderKey).toString();
    const QString chosen =
        window->files().choose_profile_to_save(folder.isEmpty() ? suggested : QDir(folder).filePath(suggested));
    if (chosen.isEmpty()) return;
    Saved(chosen);
    const FileResult written = CreateCoffFile(chosen.toStdString(), *text);
    if (!written.ok)
        warn(QStringLiteral("Cannot write the file %1: %2").arg(chosen, FromStd(written.reason)));
}
