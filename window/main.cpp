// bul-pgia: opens the game's window. The command line is ignored.
#include <QApplication>
#include <iostream>

#include "application.h"
#include "close_while_blocked.h"
#include "form1.h"

int main(int argc, char** argv) {
    if (const auto problem = window::displayProblem(argc, argv)) {
        std::cerr << "bul-pgia: " << *problem << '\n';
        return 1;
    }
    // Only the program's name reaches Qt: the game takes no options, Qt's included.
    int qtArgc = 1;
    QApplication application(qtArgc, argv);
    window::configureApplication(application);
    window::Form1 form;
    form.show();
    window::closeEvenWhenBlocked(form);
    return QApplication::exec();
}
