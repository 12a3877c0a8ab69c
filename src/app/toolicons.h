#pragma once

#include <QIcon>
#include <QString>

// An icon from the desktop theme, or a drawn one with the caption's first character where
// the theme has none.
QIcon toolIcon(const QString& themeName, const QString& caption);
// The program's own icon.
QIcon applicationIcon();
