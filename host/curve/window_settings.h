// What the user placed, kept between runs: window places and sizes, the
// notes shown beside the curve or not, the history's columns, the folders
// pictures, tables and profiles were last saved in. Only such
// window state is kept here, in the platform's settings for the program
// (on Linux ~/.config/kavolo-roaster/windows.conf); nothing the console
// starts its roasting with.
#pragma once

#include <QSettings>

class WindowSettings : public QSettings {
public:
    WindowSettings() : QSettings(QSettings::NativeFormat, QSettings::UserScope, "kavolo-roaster", "windows") {}
};
