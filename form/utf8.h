// The tables' UTF-16 texts as UTF-8, for the programs that write them into
// files: the page's markup, the tests' vocabulary.
#pragma once

#include <string>
#include <string_view>

namespace form {

// A surrogate pair becomes one four-byte sequence; a lone surrogate is
// written as it stands (three bytes), since no table holds one.
std::string utf8(std::u16string_view text);

}  // namespace form
