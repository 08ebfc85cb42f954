// Settings that hold for the whole program.
#include "application.h"

#include <QFont>

#include "fonts.h"
#include "images.h"

namespace window {

void configureApplication(QApplication& application) {
    // Culmus aliases "David" through fontconfig on most systems; this covers
    // those without the alias. A real "David", where installed, still wins.
    QFont::insertSubstitution(QString::fromLatin1(kBoardFamily),
                              QString::fromLatin1(kBoardFamilySubstitute));
    QApplication::setApplicationName(QStringLiteral("bul-pgia"));
    QGuiApplication::setDesktopFileName(QStringLiteral("bul-pgia"));
    if (const QIcon icon = loadWindowIcon(); !icon.isNull()) {
        application.setWindowIcon(icon);
    }
}

}  // namespace window
