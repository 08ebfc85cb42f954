// Settings that hold for the whole program.
#include "application.h"

#include <QFont>
#include <iostream>
#include <optional>

#include "close_while_blocked.h"
#include "display_problem.h"
#include "form1.h"
#include "images.h"
#include "platform_start.h"
#include "qt_strings.h"
#include "stored_fonts.h"

namespace window {

void configureApplication(QApplication& /*application*/) {
    // Every setting below is application-wide (static); the instance only has
    // to exist.

    // Culmus aliases "David" through fontconfig on most systems; this covers
    // those without the alias. A real "David", where installed, still wins.
    QFont::insertSubstitution(toQString(form::kBoardFamily),
                              toQString(form::kBoardFamilySubstitute));
    QApplication::setApplicationName(QStringLiteral("bul-pgia"));
    QGuiApplication::setDesktopFileName(QStringLiteral("bul-pgia"));
    if (const QIcon icon = loadWindowIcon(); !icon.isNull()) {
        QApplication::setWindowIcon(icon);
    }
}

int runGame(const char* programName, int /*argc*/, char** argv,
            const std::function<void(QWidget&)>& beforeShow) {
    XcbConnection checkedDisplay;
    if (const auto problem = displayProblem(&checkedDisplay)) {
        std::cerr << programName << ": " << *problem << '\n';
        return 1;
    }
    // Only the program's name reaches Qt: the game takes no options, Qt's included.
    int qtArgc = 1;
    std::optional<PlatformStartWatch> watch(std::in_place, programName);
    QApplication application(qtArgc, argv);
    watch.reset();
    checkedDisplay.reset();  // Qt holds a connection of its own now
    configureApplication(application);
    Form1 form;
    if (beforeShow) {
        beforeShow(form);
    }
    form.show();
    closeEvenWhenBlocked(form);
    return QApplication::exec();
}

}  // namespace window
