// Form1 in the page: events by the control's name, never its caption.
#include "form1.h"

namespace web {

Form1::Form1(const emscripten::val& page)
    : messages_(page), game_(messages_, random_), binding_(game_.board(), page) {
    game_.load();
}

bool Form1::click(std::string_view control) {
    for (std::size_t i = 0; i < game::kButtonCount; ++i) {
        const auto button = static_cast<game::Button>(i);
        if (game::buttonName(button) == control) {
            return game_.click(button);
        }
    }
    return false;
}

}  // namespace web
