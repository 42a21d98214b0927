#include "version_text.h"

#include <QLibrary>

#include "quarnel_library.h"

#ifndef KAVOLO_VERSION
#error "KAVOLO_VERSION must be defined by the build"
#endif

std::string VersionText(const QString& program_folder) {
    QString text = QStringLiteral("kavolo-roaster %1\nQt %2 (built with %3)\n")
                       .arg(QStringLiteral(KAVOLO_VERSION), QString::fromLatin1(qVersion()),
                            QStringLiteral(QT_VERSION_STR));
    // Loading is the only sure test: a library that is there but cannot be
    // loaded (a missing dependency) is as good as none. It is never
    // unloaded, as in the console.
    QLibrary library(QuarnelLibrary::FileNameIn(program_folder));
    if (library.load())
        text += QStringLiteral("Step editor: %1\n").arg(library.fileName());
    else
        text += QStringLiteral("Step editor: none found (%1)\n").arg(library.errorString());
    return text.toStdString();
}
