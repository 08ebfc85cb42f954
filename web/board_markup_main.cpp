// Run under node when the page is built: prints Form1's markup ("html") or
// its stylesheet ("css"), which the build puts into the page's folder.
#include <cstdio>
#include <string_view>

#include "board_markup.h"

int main(int argc, char** argv) {
    const std::string_view what = argc == 2 ? argv[1] : "";
    if (what != "html" && what != "css") {
        std::fputs("usage: board-markup html|css\n", stderr);
        return 2;
    }
    std::fputs((what == "html" ? web::boardMarkup() : web::boardStyle()).c_str(), stdout);
    return 0;
}
