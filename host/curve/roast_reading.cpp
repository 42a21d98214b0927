#include "roast_reading.h"

#include <QtConcurrent>

#include "roast_log_files.h"

QFuture<RoastsRead> ReadRoastsLater(const QStringList& paths) {
    return QtConcurrent::run([paths] {
        RoastsRead read;
        for (const QString& path : paths) read.emplace_back(path, ReadRoastLogFile(path.toStdString()));
        return read;
    });
}
