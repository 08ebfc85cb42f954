// The window's two images, compiled into the program as Qt resources.
#pragma once

#include <QIcon>
#include <QPixmap>
#include <QRect>

namespace window {

inline constexpr const char* kBackgroundPicturePath = ":/background.jpg";
inline constexpr const char* kWindowIconPath = ":/icon.ico";

// The sky picture drawn behind every control; a null pixmap when it cannot be
// loaded, and the window then shows its back colour instead. With a `visible`
// rectangle only the part of the picture inside it is decoded and kept: the
// window never shows the rest.
QPixmap loadBackgroundPicture(const QString& path = QString::fromLatin1(kBackgroundPicturePath),
                              const QRect& visible = {});

// Every image of the icon file; a null icon when none can be loaded, and the
// platform's default icon then stays.
QIcon loadWindowIcon(const QString& path = QString::fromLatin1(kWindowIconPath));

}  // namespace window
