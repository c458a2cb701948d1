#include "ui/shared/XdgFolders.h"

#include <QDir>

namespace xdg {

QString home(const char* variable, const char* fallbackUnderHome) {
    const QString value = qEnvironmentVariable(variable);
    if (!value.isEmpty() && QDir::isAbsolutePath(value))
        return QDir::cleanPath(value);
    return QDir::home().filePath(QString::fromUtf8(fallbackUnderHome));
}

} // namespace xdg
