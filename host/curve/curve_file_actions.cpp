#include "curve_file_actions.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QStandardPaths>
#include <QUrl>
#include <QWidget>

#include "artisan_profile.h"
#include "roast_log_files.h"
#include "warning_box.h"
#include "window_settings.h"

namespace {

const QString kLogFilter = QStringLiteral("Roast log (*.csv)");
// What opens as a roast: the console's logs and Artisan's profiles and CSV.
const QString kRoastFilter =
    QStringLiteral("Roast logs and Artisan profiles (*.csv *.alog);;Roast log (*.csv);;Artisan profile (*.alog);;"
                   "All files (*)");
const QString kArtisanFilter = QStringLiteral("Artisan profile (*.alog)");
const QString kPictureFilter = QStringLiteral("PNG picture (*.png)");
const QString kTableFilter = QStringLiteral("Table (*.csv)");
const QString kProfileFilter = QStringLiteral("Coffee Setting (*.coff)");

QString FromStd(const std::string& text) { return QString::fromStdString(text); }

// Where a picture, a table and a copy of a log were last saved, kept
// between runs; before any, the user's pictures or documents folder. Never
// the roasts folder: the history lists every log there as a roast.
const QString kPicturesKey = QStringLiteral("files/pictures");
const QString kTablesKey = QStringLiteral("files/tables");
const QString kLogsKey = QStringLiteral("files/logs");
const QString kArtisanKey = QStringLiteral("files/artisan");

QString SaveFolder(const QString& key, QStandardPaths::StandardLocation first) {
    const QString last = WindowSettings().value(key).toString();
    if (!last.isEmpty() && QFileInfo(last).isDir()) return last;
    const QString folder = QStandardPaths::writableLocation(first);
    return !folder.isEmpty() && QFileInfo(folder).isDir() ? folder : QDir::homePath();
}

void KeepSaveFolder(const QString& key, const QString& path) {
    WindowSettings().setValue(key, QFileInfo(path).absolutePath());
}

QString SaveDialog(QWidget* parent, const QString& title, const QString& suggested, const QString& filter,
                   const QString& suffix) {
    // Qt's save dialog asks before it replaces a file, and adds the suffix
    // to a name typed without one.
    QFileDialog dialog(parent, title, suggested, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(suffix);
    if (dialog.exec() != QDialog::Accepted) return {};
    return dialog.selectedFiles().value(0);
}

}  // namespace

CurveFileActions::CurveFileActions(QWidget* window, QString roasts_folder)
    : window_(window), folder_(std::move(roasts_folder)) {
    choose_log_to_open = [window](const QString& folder) {
        return QFileDialog::getOpenFileName(window, QStringLiteral("Open roast"), folder, kRoastFilter);
    };
    choose_log_to_save = [window](const QString& suggested) {
        return SaveDialog(window, QStringLiteral("Save log as"), suggested, kLogFilter, QStringLiteral("csv"));
    };
    choose_picture_to_save = [window](const QString& suggested) {
        return SaveDialog(window, QStringLiteral("Save picture"), suggested, kPictureFilter, QStringLiteral("png"));
    };
    choose_table_to_save = [window](const QString& suggested) {
        return SaveDialog(window, QStringLiteral("Save table"), suggested, kTableFilter, QStringLiteral("csv"));
    };
    choose_background_log = [window](const QString& folder) {
        return QFileDialog::getOpenFileName(window, QStringLiteral("Show as background"), folder, kRoastFilter);
    };
    choose_profile_to_save = [window](const QString& suggested) {
        return SaveDialog(window, QStringLiteral("Save steps as profile"), suggested, kProfileFilter,
                          QStringLiteral("coff"));
    };
    choose_artisan_to_save = [window](const QString& suggested) {
        return SaveDialog(window, QStringLiteral("Export for Artisan"), suggested, kArtisanFilter, QStringLiteral("alog"));
    };
    choose_export_folder = [window](const QString& folder) {
        return QFileDialog::getExistingDirectory(window, QStringLiteral("Export for Artisan into the folder"), folder);
    };
    open_folder = [](const QString& folder) { return QDesktopServices::openUrl(QUrl::fromLocalFile(folder)); };
}

void CurveFileActions::ChooseAs(const CurveFileActions& other) {
    choose_log_to_open = other.choose_log_to_open;
    choose_log_to_save = other.choose_log_to_save;
    choose_picture_to_save = other.choose_picture_to_save;
    choose_table_to_save = other.choose_table_to_save;
    choose_background_log = other.choose_background_log;
    choose_profile_to_save = other.choose_profile_to_save;
    choose_artisan_to_save = other.choose_artisan_to_save;
    choose_export_folder = other.choose_export_folder;
    open_folder = other.open_folder;
}

QString CurveFileActions::MadeFolder() const {
    QDir().mkpath(folder_);
    return folder_;
}

QString CurveFileActions::ExportFolder() {
    // Not the roasts folder: an exported roast there would be listed twice.
    return SaveFolder(kArtisanKey, QStandardPaths::DocumentsLocation);
}

void CurveFileActions::KeepExportFolder(const QString& folder) {
    WindowSettings().setValue(kArtisanKey, QFileInfo(folder).absoluteFilePath());
}

void CurveFileActions::OpenRoast() {
    const QString path = choose_log_to_open(MadeFolder());
    if (!path.isEmpty() && open_log) open_log(path);
}

void CurveFileActions::ShowBackground() {
    const QString path = choose_background_log(MadeFolder());
    if (!path.isEmpty() && show_background) show_background(path);
}

void CurveFileActions::SaveLogAs(const RoastLog* log) {
    if (!log || log->samples.empty()) {
        ShowWarning(window_, QStringLiteral("There is no roast to save."));
        return;
    }
    const QString path =
        choose_log_to_save(QDir(SaveFolder(kLogsKey, QStandardPaths::DocumentsLocation)).filePath(FromStd(SuggestedLogName(*log))));
    if (path.isEmpty()) return;
    KeepSaveFolder(kLogsKey, path);
    const FileResult saved = SaveRoastLog(*log, path.toStdString());
    if (!saved.ok)
        ShowWarning(window_, QStringLiteral("Cannot save the roast log %1: %2").arg(path, FromStd(saved.reason)));
}

void CurveFileActions::ExportForArtisan(const RoastLog* log, bool celsius) {
    if (!log || log->samples.empty()) {
        ShowWarning(window_, QStringLiteral("There is no roast to export."));
        return;
    }
    const QString path = choose_artisan_to_save(QDir(ExportFolder()).filePath(FromStd(ArtisanFileName(*log))));
    if (path.isEmpty()) return;
    KeepExportFolder(QFileInfo(path).absolutePath());
    const FileResult saved = ReplaceContents(path.toStdString(), ArtisanProfileText(*log, celsius));
    if (!saved.ok)
        ShowWarning(window_, QStringLiteral("Cannot write the Artisan profile %1: %2").arg(path, FromStd(saved.reason)));
}

void CurveFileActions::SavePicture(QWidget* picture, const QString& stem) {
    const QString path = choose_picture_to_save(
        QDir(SaveFolder(kPicturesKey, QStandardPaths::PicturesLocation)).filePath(stem + QStringLiteral(".png")));
    if (path.isEmpty()) return;
    KeepSaveFolder(kPicturesKey, path);
    if (!picture->grab().save(path, "PNG")) ShowWarning(window_, QStringLiteral("Cannot save the picture %1.").arg(path));
}

void CurveFileActions::SaveTable(const std::string& csv, const QString& stem) {
    const QString path = choose_table_to_save(
        QDir(SaveFolder(kTablesKey, QStandardPaths::DocumentsLocation)).filePath(stem + QStringLiteral(".csv")));
    if (path.isEmpty()) return;
    KeepSaveFolder(kTablesKey, path);
    const FileResult saved = ReplaceContents(path.toStdString(), csv);
    if (!saved.ok)
        ShowWarning(window_, QStringLiteral("Cannot save the table %1: %2").arg(path, FromStd(saved.reason)));
}

void CurveFileActions::OpenFolder() {
    if (!QDir().mkpath(folder_)) {
        ShowWarning(window_, QStringLiteral("Cannot make the roasts folder %1.").arg(folder_));
        return;
    }
    if (!open_folder(folder_)) ShowWarning(window_, QStringLiteral("Cannot open the roasts folder %1.").arg(folder_));
}

std::optional<RoastLog> CurveFileActions::ReadLogOrWarn(const QString& path) {
    RoastLogParse parsed = ReadRoastLogFile(path.toStdString());
    if (!parsed.ok) {
        ShowWarning(window_, FromStd(ReadFailureText(path.toStdString(), parsed)));  // nothing shown changes
        return std::nullopt;
    }
    return std::move(parsed.log);
}
