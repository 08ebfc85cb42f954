// The module's entry points: the page's events into the one Form1.
//
// Events that may show a message box are plain C exports, which the page calls
// with ccall(..., {async: true}): Asyncify can suspend and resume only a call
// that entered through an export, and the promise it returns settles once the
// handler has run to its end. The edits of Text1 never wait and go through embind.
#include <emscripten/bind.h>
#include <emscripten/emscripten.h>

#include <memory>
#include <string>

#include "form1.h"

namespace {

std::unique_ptr<web::Form1>& form1() {
    static std::unique_ptr<web::Form1> form;
    return form;
}

void text1Edited(const std::u16string& shown) {
    if (form1()) {
        form1()->text1Edited(shown);
    }
}

}  // namespace

extern "C" {

// Creates Form1 over the page's elements and runs its Load. Called once.
EMSCRIPTEN_KEEPALIVE void bulPgiaLoad() {
    form1() = std::make_unique<web::Form1>(emscripten::val::module_property("page"));
}

// The Click of the button `control` ("Command1".."Command8"); 1 if it ran.
EMSCRIPTEN_KEEPALIVE int bulPgiaClick(const char* control) {
    return form1() && form1()->click(control) ? 1 : 0;
}

EMSCRIPTEN_KEEPALIVE void bulPgiaDoubleClickLabel6() {
    if (form1()) {
        form1()->doubleClickLabel6();
    }
}

}  // extern "C"

EMSCRIPTEN_BINDINGS(bul_pgia_events) {
    emscripten::function("text1Edited", &text1Edited);
}
