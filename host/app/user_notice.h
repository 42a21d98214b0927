// A message the program gives before or instead of its main window (the
// single-instance refusal, a simulated roaster that cannot start). It goes
// to standard error, and into a message box when someone can see one: on a
// headless platform (offscreen, minimal) a box would wait for an answer
// nobody can give.
#pragma once

#include <QString>

void ShowUserNotice(const QString& text);

// True when the platform shows windows to a user.
bool PlatformShowsWindows();
