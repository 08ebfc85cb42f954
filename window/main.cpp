// bul-pgia: opens the game's window. The command line is ignored.
#include "application.h"

int main(int argc, char** argv) { return window::runGame("bul-pgia", argc, argv); }
