// The curve window's file actions: "Open roast…", "Save picture…", "Save
// log as…", "Export for Artisan…", "Open folder" and "Show as
// background…", with the file
// choices they and "Save steps as profile…" ask for (Qt's file dialogs unless replaced, as tests do)
// and the boxes that say what went wrong. What a chosen log is then used
// for is the window's.
#pragma once

#include <QString>
#include <functional>
#include <optional>

#include "roast_log.h"

class QWidget;

class CurveFileActions {
public:
    // `window` parents the dialogs and boxes; `roasts_folder` is where the
    // dialogs that open a roast start and what "Open folder" opens. The
    // dialogs that save a picture, a table or a copy of a log start where
    // the user last saved one, at first in the user's pictures or
    // documents folder.
    CurveFileActions(QWidget* window, QString roasts_folder);

    // The file choices, each returning the path chosen or an empty string
    // when cancelled. The argument is the folder to start in, or the
    // suggested file.
    std::function<QString(const QString& folder)> choose_log_to_open;
    std::function<QString(const QString& suggested)> choose_log_to_save;
    std::function<QString(const QString& suggested)> choose_picture_to_save;
    std::function<QString(const QString& suggested)> choose_table_to_save;
    std::function<QString(const QString& folder)> choose_background_log;
    std::function<QString(const QString& suggested)> choose_profile_to_save;
    // The Artisan profile (.alog) to write one roast to, and the folder to
    // write several to.
    std::function<QString(const QString& suggested)> choose_artisan_to_save;
    std::function<QString(const QString& folder)> choose_export_folder;
    // Opens the roasts folder in the desktop's file manager.
    std::function<bool(const QString& folder)> open_folder;
    // The same choices as `other` makes.
    void ChooseAs(const CurveFileActions& other);

    // The roast chosen to open, or to show as the background: its path.
    std::function<void(const QString& path)> open_log;
    std::function<void(const QString& path)> show_background;

    void OpenRoast();
    void ShowBackground();
    // Saves `log` (null or empty: there is nothing to save) where the user
    // chooses.
    void SaveLogAs(const RoastLog* log);
    // Writes `log` as an Artisan profile where the user chooses, its
    // temperatures in °C when `celsius`.
    void ExportForArtisan(const RoastLog* log, bool celsius);
    // Saves a picture of `picture`, suggesting the name `stem`.png.
    void SavePicture(QWidget* picture, const QString& stem);
    // Saves `csv` (a table) where the user chooses, suggesting `stem`.csv.
    void SaveTable(const std::string& csv, const QString& stem);
    void OpenFolder();

    // The log of a file, or a box naming the file and its first bad line.
    std::optional<RoastLog> ReadLogOrWarn(const QString& path);
    const QString& folder() const { return folder_; }
    // Where exports for Artisan are offered: where the last one went, else
    // the user's documents.
    static QString ExportFolder();
    static void KeepExportFolder(const QString& folder);

private:
    // The roasts folder, made when first needed, so the dialogs can start
    // in it.
    QString MadeFolder() const;

    QWidget* window_;
    QString folder_;
};
