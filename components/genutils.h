#pragma once

#include <QString>

// The version of a file as text; parts 0 to 3 choose the format ("1.0",
// "1.0.1", "1.0.1.1", "1.0.1 (.1)"). Raises Exception when the file has no
// version information.
QString GetFileVersionString(const QString& fileName, int parts);
// The running program's version with parts 3.
QString GetAppVersion();
