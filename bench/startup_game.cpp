// The game's side of the start-up benchmark: the program's own start-up, step
// for step as window/main.cpp does it, with the first-paint probe added. The
// shipped program stays free of any benchmarking option.
#include <QApplication>

#include <iostream>

#include "application.h"
#include "close_while_blocked.h"
#include "first_paint.h"
#include "form1.h"

int main(int argc, char* argv[]) {
    if (const auto problem = window::displayProblem(argc, argv)) {
        std::cerr << "startup_game: " << *problem << '\n';
        return 1;
    }
    int qtArgc = 1;
    QApplication application(qtArgc, argv);
    window::configureApplication(application);
    window::Form1 form;
    bench::quitAfterFirstPaint(form);
    form.show();
    window::closeEvenWhenBlocked(form);
    return QApplication::exec();
}
