// What a screen reader calls each control of the window.
#pragma once

#include <string>
#include <string_view>

namespace form {

// The Hebrew accessible name of the control `controlName` ("בול 3" for bol3).
// Empty for controls that are best called by their caption (buttons, the
// panel, the headings and the credit label), which the toolkit then speaks.
std::u16string accessibleName(std::string_view controlName);

// The word a whole control or a numbered family is called by, without any
// number: "בול" for "bol", "תיבת ניחוש" for "Text1"; empty for other names.
std::u16string_view familyWord(std::string_view controlOrStem);

}  // namespace form
