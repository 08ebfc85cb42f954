// The sixty controls of Form1 as the window stores them.
#include "layout.h"

#include <algorithm>
#include <cstdlib>

namespace form {

namespace {

constexpr std::optional<std::uint32_t> kNoColour = std::nullopt;
constexpr std::optional<int> kNoTab = std::nullopt;

constexpr std::uint32_t kBulls = 0xFFC080;
constexpr std::uint32_t kHits = 0xFF80FF;
constexpr std::uint32_t kGuess = 0x80FF80;
constexpr std::uint32_t kSecret = 0xC0FFFF;
constexpr std::uint32_t kStrip = 0xFFE0C0;
constexpr std::uint32_t kCodes = 0xC0C0FF;

constexpr unsigned kCell = Border;  // a bordered, opaque board cell in font A

}  // namespace

// clang-format off
constexpr std::array<Control, kControlCount> kLayout = {{
    //  name       kind           parent    x1    y1    x2    y2   caption                            back      font         flags                                tab
    {"Command3", Kind::Button,  "",       240, 6720,  855,  615, u"חדש",                          kNoColour, Font::Default, AboveLabels,                        29},
    {"Command2", Kind::Button,  "",      1320, 6720,  855,  615, u"מה המספר",                     kNoColour, Font::Default, AboveLabels,                        28},
    {"Command1", Kind::Button,  "",      4920, 1320,  975,  495, u"בדוק",                         kNoColour, Font::Default, AboveLabels,                        12},
    {"Text1",    Kind::TextBox, "",      3720, 1320,  975,  495, u"",                             kNoColour, Font::A,       MaxLength4 | AboveLabels,           11},
    {"Frame1",   Kind::Frame,   "",      3720, 3480, 2055, 3975, u"קודים",                        kCodes,    Font::Default, Hidden | AboveLabels,               39},
    {"Command8", Kind::Button,  "Frame1", 240, 2880, 1575,  855, u"מחק את כל ניסיונותי עד עכשיו", kNoColour, Font::Default, AboveLabels,                        44},
    {"Command7", Kind::Button,  "Frame1", 240, 2160, 1575,  495, u"מה הספרה הרביעית",             kNoColour, Font::Default, AboveLabels,                        43},
    {"Command6", Kind::Button,  "Frame1", 240, 1560, 1575,  495, u"מה הספרה השלישית",             kNoColour, Font::Default, AboveLabels,                        42},
    {"Command5", Kind::Button,  "Frame1", 240,  960, 1575,  495, u"מה הספרה השניה",               kNoColour, Font::Default, AboveLabels,                        41},
    {"Command4", Kind::Button,  "Frame1", 240,  360, 1575,  495, u"מה הספרה הראשונה",             kNoColour, Font::Default, AboveLabels,                        40},
    {"Label5",   Kind::Label,   "",       120,  240, 3495, 7215, u"",                             kNoColour, Font::Default, Transparent | Border | Decoration,  31},
    {"bol8",     Kind::Label,   "",       240, 6000,  855,  495, u"0",                            kBulls,    Font::A,       kCell,                              38},
    {"bol7",     Kind::Label,   "",       240, 5280,  855,  495, u"0",                            kBulls,    Font::A,       kCell,                              37},
    {"pgia8",    Kind::Label,   "",      1320, 6000,  855,  495, u"0",                            kHits,     Font::A,       kCell,                              36},
    {"pgia7",    Kind::Label,   "",      1320, 5280,  855,  495, u"0",                            kHits,     Font::A,       kCell,                              35},
    {"Line15",   Kind::Line,    "",      3600, 6600,  120, 6600, u"",                             kNoColour, Font::Default, Decoration,                         kNoTab},
    {"Line14",   Kind::Line,    "",      3600, 5880,  120, 5880, u"",                             kNoColour, Font::Default, Decoration,                         kNoTab},
    {"lbltry8",  Kind::Label,   "",      2400, 6000, 1095,  465, u"",                             kGuess,    Font::A,       kCell,                              34},
    {"lbltry7",  Kind::Label,   "",      2400, 5280, 1095,  465, u"",                             kGuess,    Font::A,       kCell,                              33},
    {"Label6",   Kind::Label,   "",      3840,  480, 1965,  300, u"נבנה ע\"י טרמבלי",             kNoColour, Font::B,       AutoSize | Transparent | Border,    32},
    {"pgia5",    Kind::Label,   "",      1320, 3840,  855,  495, u"0",                            kHits,     Font::A,       kCell,                              27},
    {"pgia4",    Kind::Label,   "",      1320, 3120,  855,  495, u"0",                            kHits,     Font::A,       kCell,                              26},
    {"pgia6",    Kind::Label,   "",      1320, 4560,  855,  495, u"0",                            kHits,     Font::A,       kCell,                              25},
    {"pgia2",    Kind::Label,   "",      1320, 1680,  855,  495, u"0",                            kHits,     Font::A,       kCell,                              24},
    {"pgia3",    Kind::Label,   "",      1320, 2400,  855,  495, u"0",                            kHits,     Font::A,       kCell,                              23},
    {"pgia1",    Kind::Label,   "",      1320,  960,  855,  495, u"0",                            kHits,     Font::A,       kCell,                              22},
    {"bol1",     Kind::Label,   "",       240,  960,  855,  495, u"0",                            kBulls,    Font::A,       kCell,                              21},
    {"bol2",     Kind::Label,   "",       240, 1680,  855,  495, u"0",                            kBulls,    Font::A,       kCell,                              20},
    {"bol3",     Kind::Label,   "",       240, 2400,  855,  495, u"0",                            kBulls,    Font::A,       kCell,                              19},
    {"bol4",     Kind::Label,   "",       240, 3120,  855,  495, u"0",                            kBulls,    Font::A,       kCell,                              18},
    {"bol5",     Kind::Label,   "",       240, 3840,  855,  495, u"0",                            kBulls,    Font::A,       kCell,                              17},
    {"bol6",     Kind::Label,   "",       240, 4560,  855,  495, u"0",                            kBulls,    Font::A,       kCell,                              16},
    {"Line13",   Kind::Line,    "",       120, 7440,  120,  240, u"",                             kNoColour, Font::Default, Decoration,                         kNoTab},
    {"Label2",   Kind::Label,   "",      1320,  360,  915,  420, u"פגיעה",                        kNoColour, Font::A,       AutoSize | Transparent,             15},
    {"Label3",   Kind::Label,   "",       480,  360,  615,  495, u"בול",                          kNoColour, Font::A,       Transparent,                        14},
    {"Line12",   Kind::Line,    "",       120, 1560, 3600, 1560, u"",                             kNoColour, Font::Default, Decoration,                         kNoTab},
    {"Line11",   Kind::Line,    "",       120, 2280, 3600, 2280, u"",                             kNoColour, Font::Default, Decoration,                         kNoTab},
    {"Line10",   Kind::Line,    "",       120, 3000, 3600, 3000, u"",                             kNoColour, Font::Default, Decoration,                         kNoTab},
    {"Line9",    Kind::Line,    "",       120, 3720, 3600, 3720, u"",                             kNoColour, Font::Default, Decoration,                         kNoTab},
    {"Line8",    Kind::Line,    "",       120, 4440, 3600, 4440, u"",                             kNoColour, Font::Default, Decoration,                         kNoTab},
    {"Line7",    Kind::Line,    "",       120, 5160, 3600, 5160, u"",                             kNoColour, Font::Default, Decoration,                         kNoTab},
    {"Line6",    Kind::Line,    "",      3600, 7440,  120, 7440, u"",                             kNoColour, Font::Default, Decoration,                         kNoTab},
    {"Line5",    Kind::Line,    "",      1200, 7440, 1200,  240, u"",                             kNoColour, Font::Default, Decoration,                         kNoTab},
    {"Line4",    Kind::Line,    "",       120,  240, 3600,  240, u"",                             kNoColour, Font::Default, Decoration,                         kNoTab},
    {"Label1",   Kind::Label,   "",      2520,  360,  930,  420, u"ניסיון",                       kNoColour, Font::A,       AutoSize | Transparent,             13},
    {"lbltry6",  Kind::Label,   "",      2400, 4560, 1095,  465, u"",                             kGuess,    Font::A,       kCell,                               9},
    {"lbltry5",  Kind::Label,   "",      2400, 3840, 1095,  465, u"",                             kGuess,    Font::A,       kCell,                               8},
    {"lbltry4",  Kind::Label,   "",      2400, 3120, 1095,  465, u"",                             kGuess,    Font::A,       kCell,                               7},
    {"lbltry3",  Kind::Label,   "",      2400, 2400, 1095,  465, u"",                             kGuess,    Font::A,       kCell,                               6},
    {"lbltry2",  Kind::Label,   "",      2400, 1680, 1095,  465, u"",                             kGuess,    Font::A,       kCell,                               5},
    {"lbltry1",  Kind::Label,   "",      2400,  960, 1095,  465, u"",                             kGuess,    Font::A,       kCell,                               4},
    {"Line3",    Kind::Line,    "",       120,  840, 3600,  840, u"",                             kNoColour, Font::Default, Decoration,                         kNoTab},
    {"Line2",    Kind::Line,    "",      3600,  240, 3600, 7440, u"",                             kNoColour, Font::Default, Decoration,                         kNoTab},
    {"Line1",    Kind::Line,    "",      2280,  240, 2280, 7440, u"",                             kNoColour, Font::Default, Decoration,                         kNoTab},
    {"lbl1",     Kind::Label,   "",      2520, 6840,  195,  420, u"1",                            kSecret,   Font::A,       Hidden | AutoSize,                   3},
    {"lbl2",     Kind::Label,   "",      2760, 6840,  195,  420, u"2",                            kSecret,   Font::A,       Hidden | AutoSize,                   2},
    {"lbl3",     Kind::Label,   "",      3000, 6840,  195,  420, u"3",                            kSecret,   Font::A,       Hidden | AutoSize,                   1},
    {"lbl4",     Kind::Label,   "",      3240, 6840,  195,  420, u"4",                            kSecret,   Font::A,       Hidden | AutoSize,                   0},
    {"Label7",   Kind::Label,   "",      2400, 6720, 1095,  615, u"",                             kSecret,   Font::Default, Border,                             10},
    {"Label4",   Kind::Label,   "",       120,  240, 3495,  615, u"",                             kStrip,    Font::Default, Decoration,                         30},
}};
// clang-format on

namespace {

// Each front end finds its controls, and the Board its cells, by name.
constexpr bool everyNameGiven() {
    return std::none_of(kLayout.begin(), kLayout.end(),
                        [](const Control& control) { return control.name.empty(); });
}

constexpr bool everyNameOnce() {
    for (std::size_t row = 0; row < kLayout.size(); ++row) {
        for (std::size_t earlier = 0; earlier < row; ++earlier) {
            if (kLayout[earlier].name == kLayout[row].name) {
                return false;
            }
        }
    }
    return true;
}

static_assert(everyNameGiven(), "a row of the layout has no name");
static_assert(everyNameOnce(), "two rows of the layout have the same name");

}  // namespace

const Control* findControl(std::string_view name) {
    const auto* const found = std::find_if(kLayout.begin(), kLayout.end(),
                                     [name](const Control& control) { return control.name == name; });
    return found == kLayout.end() ? nullptr : &*found;
}

PixelRect pixelRect(const Control& control) {
    if (control.kind != Kind::Line) {
        return {pixels(control.x1), pixels(control.y1), pixels(control.x2), pixels(control.y2)};
    }
    const int left = pixels(std::min(control.x1, control.x2));
    const int top = pixels(std::min(control.y1, control.y2));
    return {left, top, pixels(std::abs(control.x2 - control.x1)) + 1,
            pixels(std::abs(control.y2 - control.y1)) + 1};
}

}  // namespace form
