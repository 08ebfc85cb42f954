// The shared tables of form/ handed to the page, which builds its elements
// from them: no control, colour, font or name is written twice.
#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <string>

#include "accessible_names.h"
#include "board.h"
#include "layout.h"
#include "stored_fonts.h"

namespace {

using emscripten::val;

const char* kindName(form::Kind kind) {
    switch (kind) {
        case form::Kind::Button: return "button";
        case form::Kind::TextBox: return "textBox";
        case form::Kind::Frame: return "frame";
        case form::Kind::Label: return "label";
        case form::Kind::Line: return "line";
    }
    return "";
}

const char* fontName(form::Font font) {
    switch (font) {
        case form::Font::A: return "A";
        case form::Font::B: return "B";
        case form::Font::Default: return "dialog";
    }
    return "";
}

val storedFont(const form::StoredFont& stored) {
    val font = val::object();
    font.set("points", stored.points);
    font.set("weight", stored.weight);
    return font;
}

// The window itself and its fonts.
val form1() {
    val form = val::object();
    form.set("caption", std::u16string(form::kForm1Caption));
    form.set("width", form::pixels(form::kForm1ClientWidth));
    form.set("height", form::pixels(form::kForm1ClientHeight));
    form.set("backColour", form::kForm1BackColour);
    form.set("boardFamily", std::string(form::kBoardFamily));
    form.set("boardFamilySubstitute", std::string(form::kBoardFamilySubstitute));
    form.set("fontA", storedFont(form::kFontA));
    form.set("fontB", storedFont(form::kFontB));
    form.set("dialogPoints", form::kDialogPoints);
    return form;
}

// Every control of the layout, topmost first, with its rectangle in pixels
// relative to its parent.
val controls() {
    val all = val::array();
    for (const form::Control& control : form::kLayout) {
        const form::PixelRect rect = form::pixelRect(control);
        val entry = val::object();
        entry.set("name", std::string(control.name));
        entry.set("kind", val(kindName(control.kind)));
        entry.set("parent", std::string(control.parent));
        entry.set("left", rect.left);
        entry.set("top", rect.top);
        entry.set("width", rect.width);
        entry.set("height", rect.height);
        entry.set("caption", std::u16string(control.caption));
        entry.set("backColour", control.backColour ? val(*control.backColour) : val::null());
        entry.set("font", val(fontName(control.font)));
        entry.set("hidden", control.has(form::Hidden));
        entry.set("transparent", control.has(form::Transparent));
        entry.set("border", control.has(form::Border));
        entry.set("autoSize", control.has(form::AutoSize));
        entry.set("maxLength",
                  control.has(form::MaxLength4) ? static_cast<int>(game::kText1MaxLength) : 0);
        entry.set("tabIndex", control.tabIndex ? val(*control.tabIndex) : val::null());
        entry.set("accessibleName", form::accessibleName(control.name));
        all.call<void>("push", entry);
    }
    return all;
}

}  // namespace

EMSCRIPTEN_BINDINGS(bul_pgia_form) {
    emscripten::function("form1", &form1);
    emscripten::function("controls", &controls);
}
