// "Export for Artisan…" of the roast history's chosen roasts: one roast to
// the file the user chooses, several into the folder the user chooses (see
// artisan_export.h for the names they get). The roasts are read and written
// on a thread of their own, so the window's thread, which paces the
// roaster's status frames, never waits for the disk; what could not be
// exported is said in one box at the end.
#pragma once

#include <QStringList>
#include <functional>

class CurveFileActions;
class QWidget;

// `files` gives the file choices; `parent` (may be null) parents the box and
// outlives the work; `done` is told when it is over.
void ExportRoastsForArtisan(const QStringList& paths, bool celsius, CurveFileActions& files, QWidget* parent,
                            std::function<void()> done = {});
