#pragma once

#include <QString>

inline const QString kAppTitle = QStringLiteral("Tavrel-SoE WQ Data Request");
inline const QString kHelpFileName = QStringLiteral("Rivulon.chm");
