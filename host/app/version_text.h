// What --version prints: the program's version, the Qt version it runs on,
// and the step-editor library it would load from its folder, or why it
// could not.
#pragma once

#include <QString>
#include <string>

// `program_folder` is where the program lies; the library is looked for
// there as the console looks for it.
std::string VersionText(const QString& program_folder);
