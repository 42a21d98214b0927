#include "display_check.h"

#include <QtGlobal>
#include <cstdio>
#include <cstdlib>

namespace {
QtMessageHandler g_previous = nullptr;
const char* g_message = nullptr;

void EndOnFatal(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type != QtFatalMsg) {
        if (g_previous) g_previous(type, context, text);
        return;
    }
    std::fprintf(stderr, "%s\n", g_message);
    std::fflush(stderr);
    // Nothing is built yet that needs tearing down; destructors of a
    // half-made QApplication would only risk the abort avoided here.
    std::_Exit(1);
}
}  // namespace

bool DisplayNamed() {
#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN)
    return !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
           !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
#else
    return true;
#endif
}

PlatformFailureGuard::PlatformFailureGuard(const char* message) {
    g_message = message;
    g_previous = qInstallMessageHandler(EndOnFatal);
}

PlatformFailureGuard::~PlatformFailureGuard() {
    qInstallMessageHandler(g_previous);
    g_previous = nullptr;
}
