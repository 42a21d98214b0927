#include "artisan_export_task.h"

#include <QDir>
#include <QFileInfo>
#include <QFutureWatcher>
#include <QWidget>
#include <QtConcurrent>
#include <string>
#include <vector>

#include "artisan_export.h"
#include "curve_file_actions.h"
#include "warning_box.h"

void ExportRoastsForArtisan(const QStringList& paths, bool celsius, CurveFileActions& files, QWidget* parent,
                            std::function<void()> done) {
    if (paths.isEmpty()) return;
    const bool one = paths.size() == 1;
    const QString suggested = one ? QDir(CurveFileActions::ExportFolder())
                                        .filePath(QFileInfo(paths.front()).completeBaseName() + QStringLiteral(".alog"))
                                  : CurveFileActions::ExportFolder();
    const QString target = one ? files.choose_artisan_to_save(suggested) : files.choose_export_folder(suggested);
    if (target.isEmpty()) return;
    CurveFileActions::KeepExportFolder(one ? QFileInfo(target).absolutePath() : target);
    std::vector<std::string> sources;
    for (const QString& path : paths) sources.push_back(path.toStdString());

    using Problems = std::vector<std::string>;
    auto* watcher = new QFutureWatcher<Problems>(parent);
    QObject::connect(watcher, &QFutureWatcher<Problems>::finished, watcher, [watcher, parent, done] {
        const Problems problems = watcher->result();
        watcher->deleteLater();
        if (!problems.empty()) {
            QString text = QStringLiteral("Cannot export these roasts for Artisan:");
            for (const std::string& problem : problems) text += QLatin1Char('\n') + QString::fromStdString(problem);
            ShowWarning(parent, text);
        }
        if (done) done();
    });
    watcher->setFuture(QtConcurrent::run([sources, target = target.toStdString(), one, celsius]() -> Problems {
        if (!one) return ExportRoastFilesInto(sources, target, celsius);
        const std::string problem = ExportRoastFile(sources.front(), target, celsius);
        return problem.empty() ? Problems{} : Problems{sources.front() + ": " + problem};
    }));
}
