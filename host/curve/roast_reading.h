// The roasts a comparison draws, read on a thread of its own: the window's
// thread, which paces the status frames, never waits for the disk. Each
// file's result comes back with its path, in the order asked for.
#pragma once

#include <QFuture>
#include <QStringList>
#include <utility>
#include <vector>

#include "roast_log_text.h"

using RoastsRead = std::vector<std::pair<QString, RoastLogParse>>;

QFuture<RoastsRead> ReadRoastsLater(const QStringList& paths);
