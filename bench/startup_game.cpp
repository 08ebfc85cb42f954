// The game's side of the start-up benchmark: the program's own start-up with
// the first-paint probe added. The shipped program stays free of any
// benchmarking option.
#include "application.h"
#include "first_paint.h"

int main(int argc, char* argv[]) {
    return window::runGame("startup_game", argc, argv, bench::quitAfterFirstPaint);
}
