// Run under node when the page is built: prints Form1's markup ("html"), its
// stylesheet ("css"), the board's size in pixels ("size") or the characters
// of the credit label's face ("bold"), which the build puts into the page's
// folder.
#include <cstdio>
#include <string>
#include <string_view>

#include "board_markup.h"

int main(int argc, char** argv) {
    const std::string_view what = argc == 2 ? argv[1] : "";
    std::string text;
    if (what == "html") {
        text = web::boardMarkup();
    } else if (what == "css") {
        text = web::boardStyle();
    } else if (what == "size") {
        text = web::boardSize();
    } else if (what == "bold") {
        text = web::captionCharacters(form::Font::B);
    } else {
        std::fputs("usage: board-markup html|css|size|bold\n", stderr);
        return 2;
    }
    // The runtime writes out only whole lines.
    if (text.empty() || text.back() != '\n') {
        text += '\n';
    }
    std::fputs(text.c_str(), stdout);
    return 0;
}
