// The window's two images, compiled into the program as Qt resources.
#pragma once

#include <QIcon>
#include <QPixmap>

namespace window {

inline constexpr const char* kBackgroundPicturePath = ":/background.jpg";
inline constexpr const char* kWindowIconPath = ":/icon.ico";

// The sky picture drawn behind every control; a null pixmap when it cannot be
// loaded, and the window then shows its back colour instead.
QPixmap loadBackgroundPicture(const QString& path = QString::fromLatin1(kBackgroundPicturePath));

// Every image of the icon file; a null icon when none can be loaded, and the
// platform's default icon then stays.
QIcon loadWindowIcon(const QString& path = QString::fromLatin1(kWindowIconPath));

}  // namespace window
