// Form1 in the page: events by the control's name, never its caption.
#include "form1.h"

namespace web {

Form1::Form1(const emscripten::val& page)
    : page_(page), messages_(page), game_(messages_, random_), binding_(game_.board(), page) {
    game_.load();
}

bool Form1::click(std::string_view control) {
    for (std::size_t i = 0; i < game::kButtonCount; ++i) {
        const auto button = static_cast<game::Button>(i);
        if (game::buttonName(button) == control) {
            const form::ResultNews news(game_.board());
            const bool ran = game_.click(button);
            announce(news);
            return ran;
        }
    }
    return false;
}

void Form1::doubleClickLabel6() {
    const form::ResultNews news(game_.board());
    game_.doubleClickLabel6();
    announce(news);
}

// Every event leaves the live region with its own news, or none: what an
// earlier event said (an erased row, the last game's secret) must not stay
// there for a screen reader to find.
void Form1::announce(const form::ResultNews& news) {
    page_.call<void>("announce", news.since(game_.board()));
}

}  // namespace web
