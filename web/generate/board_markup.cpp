// Form1's markup and stylesheet from the layout table, the stored fonts and
// the accessible names. Rectangles are relative to Form1 (or to the panel for
// its buttons): the table's wrappers are static and take no place.
#include "board_markup.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <set>
#include <stdexcept>
#include <string_view>
#include <utility>
#include <vector>

#include "accessible_names.h"
#include "board.h"
#include "layout.h"
#include "stored_fonts.h"
#include "utf8.h"

namespace web {

namespace {

// Text for an element's content or a quoted attribute.
std::string escaped(std::u16string_view text) {
    std::string out;
    for (const char c : form::utf8(text)) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            default: out += c;
        }
    }
    return out;
}

std::string colour(std::uint32_t rgb) {
    std::array<char, 8> text{};
    std::snprintf(text.data(), text.size(), "#%06x", static_cast<unsigned>(rgb));
    return text.data();
}

std::string number(double value) {
    std::array<char, 32> text{};
    std::snprintf(text.data(), text.size(), "%g", value);
    return text.data();
}

std::string attribute(std::string_view name, std::u16string_view value) {
    return " " + std::string(name) + R"(=")" + escaped(value) + R"(")";
}

const form::Control& control(std::string_view name) {
    const form::Control* found = form::findControl(name);
    if (found == nullptr) {
        throw std::logic_error("no control " + std::string(name) + " in the layout");
    }
    return *found;
}

// The accessible name as an attribute, where the shared table gives one.
std::string nameAttribute(const form::Control& c) {
    const std::u16string name = form::accessibleName(c.name);
    return name.empty() ? "" : attribute("aria-label", name);
}

std::string hiddenAttribute(const form::Control& c) {
    return c.has(form::Hidden) ? " hidden" : "";
}

// One control's element; `role` is its part in the board's table, if any.
// A control kind without a case here does not compile (-Wswitch).
std::string element(const form::Control& c, std::string_view role = "",
                    const std::string& inner = "") {
    const std::string id = R"( id=")" + std::string(c.name) + R"(")";
    switch (c.kind) {
        case form::Kind::Button:
            return R"(<button type="button")" + id + hiddenAttribute(c) + ">" +
                   escaped(c.caption) + "</button>";
        case form::Kind::TextBox:
            // Digits are what a guess holds, so a phone offers its number pad;
            // letters stay accepted, as on the desktop.
            return R"(<input type="text")" + id + nameAttribute(c) + hiddenAttribute(c) +
                   R"( inputmode="numeric" autocomplete="off" spellcheck="false" dir="auto")" +
                   (c.has(form::MaxLength4)
                        ? R"( maxlength=")" + std::to_string(game::kText1MaxLength) + R"(")"
                        : std::string()) +
                   attribute("value", c.caption) + ">";
        case form::Kind::Frame:
            // Called by its title, which the screen reader then need not read twice.
            return "<div" + id + R"( class="frame" role="group")" +
                   attribute("aria-label", c.caption) + hiddenAttribute(c) +
                   R"(><div class="edge"></div><span class="title" aria-hidden="true">)" +
                   escaped(c.caption) + "</span>" + inner + "</div>";
        case form::Kind::Label: {
            std::string classes = "label";
            for (const auto& [flag, word] : {std::pair{form::Border, " border"},
                                             std::pair{form::Transparent, " transparent"},
                                             std::pair{form::AutoSize, " autoSize"}}) {
                if (c.has(flag)) {
                    classes += word;
                }
            }
            const std::string roleAttributes =
                role.empty() ? "" : R"( role=")" + std::string(role) + R"(")" + nameAttribute(c);
            return "<div" + id + R"( class=")" + classes + R"(" dir="auto")" + roleAttributes +
                   hiddenAttribute(c) + ">" + escaped(c.caption) + "</div>";
        }
        case form::Kind::Line:
            return "<div" + id + R"( class="line"></div>)";
    }
    throw std::logic_error("control " + std::string(c.name) + " of an unknown kind");
}

// The board's table, row by row in reading order; each row's cells right to
// left as the player reads them: the guess, its hits, its bulls.
std::vector<std::vector<std::string>> tableRows() {
    std::vector<std::vector<std::string>> rows{{"Label1", "Label2", "Label3"}};
    for (int row = 1; row <= game::kRowCount; ++row) {
        const std::string n = std::to_string(row);
        rows.push_back({"lbltry" + n, "pgia" + n, "bol" + n});
    }
    rows.push_back({"Label7", "lbl1", "lbl2", "lbl3", "lbl4"});
    return rows;
}

// The controls of `parent` outside the table, in the window's tab order.
std::vector<const form::Control*> beside(std::string_view parent,
                                         const std::set<std::string_view>& inTable) {
    std::vector<const form::Control*> found;
    for (const form::Control& c : form::kLayout) {
        if (c.parent == parent && !c.has(form::Decoration) && !inTable.contains(c.name)) {
            found.push_back(&c);
        }
    }
    std::stable_sort(found.begin(), found.end(), [](const form::Control* a, const form::Control* b) {
        return a->tabIndex < b->tabIndex;
    });
    return found;
}

}  // namespace

std::string boardMarkup() {
    std::string out = R"(<h1 class="unseen">)" + escaped(form::kForm1Caption) + "</h1>\n";
    out += R"(<div id="Form1" data-face=")" + std::string(form::kBoardFamilySubstitute) + "\">\n";

    // What is only drawn is hidden from screen readers.
    out += R"(<div class="wrap" aria-hidden="true">)";
    for (const form::Control& c : form::kLayout) {
        if (c.has(form::Decoration)) {
            out += element(c);
        }
    }
    out += "</div>\n";

    std::set<std::string_view> inTable;
    out += R"(<div class="wrap" role="table")" + nameAttribute(control("Label5")) + ">\n";
    bool headings = true;
    for (const auto& row : tableRows()) {
        out += R"(<div class="wrap" role="row">)";
        for (const std::string& name : row) {
            out += element(control(name), headings ? "columnheader" : "cell");
            inTable.insert(control(name).name);
        }
        out += "</div>\n";
        headings = false;
    }
    out += "</div>\n";

    for (const form::Control* c : beside("", inTable)) {
        std::string inner;
        for (const form::Control* child : beside(c->name, inTable)) {
            inner += element(*child);
        }
        out += element(*c, "", inner) + "\n";
    }
    out += "</div>\n";
    out += "<div id=\"news\" class=\"unseen\" role=\"status\"></div>\n";
    return out;
}

std::string boardStyle() {
    const std::string boardFamilies = R"(")" + std::string(form::kBoardFamily) + R"(", ")" +
                                      std::string(form::kBoardFamilySubstitute) + R"(")";
    std::string out = "#Form1 { width: " + std::to_string(form::pixels(form::kForm1ClientWidth)) +
                      "px; height: " + std::to_string(form::pixels(form::kForm1ClientHeight)) +
                      "px; background-color: " + colour(form::kForm1BackColour) + "; }\n";
    // Among labels and lines the table's order decides, the first row
    // topmost; those flagged AboveLabels (the text box, the buttons and the
    // panel) lie above them all.
    const int count = static_cast<int>(form::kLayout.size());
    for (int index = 0; index < count; ++index) {
        const form::Control& c = form::kLayout[static_cast<std::size_t>(index)];
        const form::PixelRect rect = form::pixelRect(c);
        const bool above = c.has(form::AboveLabels);
        // The rectangle as custom properties: page.css places every control
        // from them, each edge on a whole device pixel.
        out += "#" + std::string(c.name) + " { --l: " + std::to_string(rect.left) +
               "px; --t: " + std::to_string(rect.top) +
               "px; z-index: " + std::to_string(above ? 2 * count - index : count - index) + ";";
        if (!c.has(form::AutoSize)) {
            out += " --w: " + std::to_string(rect.width) + "px; --h: " +
                   std::to_string(rect.height) + "px;";
        }
        if (c.backColour && !c.has(form::Transparent)) {
            out += " background-color: " + colour(*c.backColour) + ";";
        }
        if (c.kind != form::Kind::Line) {
            if (const form::StoredFont* stored = form::storedFont(c.font)) {
                out += " font-family: " + boardFamilies + "; font-size: " +
                       number(stored->points) + "pt; font-weight: " +
                       std::to_string(stored->weight) + ";";
            } else {
                out += " font-family: system-ui, sans-serif; font-size: " +
                       number(form::kDialogPoints) + "pt;";
            }
        }
        out += " }\n";
    }
    return out;
}

std::string boardSize() {
    return std::to_string(form::pixels(form::kForm1ClientWidth)) + " " +
           std::to_string(form::pixels(form::kForm1ClientHeight));
}

std::string captionCharacters(form::Font font) {
    std::set<char16_t> characters;
    for (const form::Control& c : form::kLayout) {
        if (c.font == font) {
            characters.insert(c.caption.begin(), c.caption.end());
        }
    }
    return form::utf8(std::u16string(characters.begin(), characters.end()));
}

}  // namespace web
