#include "user_notice.h"

#include <QGuiApplication>
#include <QMessageBox>
#include <cstdio>

#include "program_names.h"

bool PlatformShowsWindows() {
    const QString platform = QGuiApplication::platformName();
    return platform != QLatin1String("offscreen") && platform != QLatin1String("minimal");
}

void ShowUserNotice(const QString& text) {
    std::fprintf(stderr, "%s: %s\n", qPrintable(kProgramName), qPrintable(text));
    std::fflush(stderr);
    if (PlatformShowsWindows()) QMessageBox::warning(nullptr, kProgramName, text, QMessageBox::Ok);
}
