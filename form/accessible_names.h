// What a screen reader calls each control of the window.
#pragma once

#include <string>
#include <string_view>

namespace form {

// The Hebrew accessible name of the control `controlName` ("בול 3" for bol3).
// Empty for controls that are best called by their caption (buttons, the
// panel, the headings and the credit label), which the toolkit then speaks.
std::u16string accessibleName(std::string_view controlName);

}  // namespace form
