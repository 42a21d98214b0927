// The registered message "WM_USER+120" between the editor library and the
// program. Both sides obtain the same event type through the application
// object, and the library delivers the event synchronously with
// QCoreApplication::sendEvent to the host window, the code in `lparam`.
#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QVariant>

constexpr int DLL_MSG_RESUME = 1;    // Append resumed heating during cooling
constexpr int DLL_MSG_CHANGED = 2;   // the step list changed
constexpr int DLL_MSG_DOWNLOAD = 3;  // the user confirmed Download
constexpr int DLL_MSG_CLOSED = 4;    // the PROGRAM window closed

// The event type registered for "WM_USER+120", registered once per process
// and kept as a property of the application object.
inline QEvent::Type EditorMessageType() {
    static const char* const kName = "WM_USER+120";
    QCoreApplication* app = QCoreApplication::instance();
    if (!app) return QEvent::None;
    const QVariant stored = app->property(kName);
    if (stored.isValid()) return static_cast<QEvent::Type>(stored.toInt());
    const int type = QEvent::registerEventType();
    app->setProperty(kName, type);
    return static_cast<QEvent::Type>(type);
}

class EditorMessageEvent : public QEvent {
public:
    explicit EditorMessageEvent(int code) : QEvent(EditorMessageType()), lparam(code) {}
    const int wparam = 0;
    const int lparam;
};
