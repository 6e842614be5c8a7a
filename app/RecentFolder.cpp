#include "app/RecentFolder.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace {
const QString kKey = QStringLiteral("files/lastFolder");
}

QString startFolder()
{
    const QString folder = QSettings().value(kKey).toString();
    return !folder.isEmpty() && QFileInfo(folder).isDir() ? folder : QDir::homePath();
}

void rememberFolder(const QString& file)
{
    if (file.isEmpty()) return;
    QSettings().setValue(kKey, QFileInfo(file).absolutePath());
}
