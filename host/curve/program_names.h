// The program's name as its message boxes show it in their title bar.
#pragma once

#include <QString>

inline const QString kProgramName = QStringLiteral("Kavolo Roaster");
