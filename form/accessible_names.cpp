// The accessible names of the controls: one table, keyed by control name.
#include "accessible_names.h"

#include <array>
#include <charconv>
#include <string>

namespace form {

namespace {

// A family of controls shares a stem; a numbered family (rows, positions,
// lines) appends the control's number, so "bol3" is called "בול 3".
struct Spoken {
    std::string_view control;  // a whole name, or the stem of a numbered family
    bool numbered;
    std::u16string_view name;
};

// Longer stems first: "lbltry" must be tried before "lbl".
constexpr std::array kSpoken = {
    Spoken{"Text1", false, u"תיבת ניחוש"},
    Spoken{"lbltry", true, u"ניסיון"},
    Spoken{"bol", true, u"בול"},
    Spoken{"pgia", true, u"פגיעה"},
    Spoken{"lbl", true, u"ספרה"},
    Spoken{"Label4", false, u"פס הכותרות"},
    Spoken{"Label5", false, u"לוח הניסיונות"},
    Spoken{"Label7", false, u"תיבת המספר הסודי"},
    Spoken{"Line", true, u"קו בלוח"},
};

// The number that follows `stem` in `name`, if all the rest is digits.
bool numberAfter(std::string_view name, std::string_view stem, int& number) {
    if (!name.starts_with(stem) || name.size() == stem.size()) {
        return false;
    }
    const std::string_view digits = name.substr(stem.size());
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
    return error == std::errc() && end == digits.data() + digits.size();
}

}  // namespace

std::u16string_view familyWord(std::string_view controlOrStem) {
    for (const Spoken& spoken : kSpoken) {
        if (controlOrStem == spoken.control) {
            return spoken.name;
        }
    }
    return {};
}

std::u16string accessibleName(std::string_view controlName) {
    for (const Spoken& spoken : kSpoken) {
        int number = 0;
        if (!spoken.numbered && controlName == spoken.control) {
            return std::u16string(spoken.name);
        }
        if (spoken.numbered && numberAfter(controlName, spoken.control, number)) {
            std::u16string name(spoken.name);
            name += u' ';
            for (const char digit : std::to_string(number)) {
                name += static_cast<char16_t>(digit);
            }
            return name;
        }
    }
    return {};
}

}  // namespace form
