#include "components/genutils.h"

#include <QCoreApplication>

#include "platform/version_info.h"

QString GetFileVersionString(const QString& fileName, int parts)
{
    return QString::fromStdString(
        FormatFileVersion(ReadFileVersion(fileName.toStdString()), parts));
}

QString GetAppVersion()
{
    return GetFileVersionString(QCoreApplication::applicationFilePath(), 3);
}
