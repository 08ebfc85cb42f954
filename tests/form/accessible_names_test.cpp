// What a screen reader calls each control: row and position numbers in the
// names, and no control left without any name at all.
#include <gtest/gtest.h>

#include "accessible_names.h"
#include "layout.h"

namespace form {
namespace {

struct NameCase {
    const char* control;
    const char16_t* expected;
};

class AccessibleNameTest : public testing::TestWithParam<NameCase> {};

TEST_P(AccessibleNameTest, CarriesItsRowOrPositionOrNothing) {
    EXPECT_EQ(accessibleName(GetParam().control), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Controls, AccessibleNameTest,
    testing::Values(NameCase{"Text1", u"תיבת ניחוש"},
                    NameCase{"lbltry8", u"ניסיון 8"},  // "lbltry" before its prefix "lbl"
                    NameCase{"lbl1", u"ספרה 1"},
                    NameCase{"bol3", u"בול 3"},
                    NameCase{"pgia7", u"פגיעה 7"},
                    NameCase{"Line15", u"קו בלוח 15"},
                    // Called by their captions, which the toolkit speaks by itself.
                    NameCase{"Command1", u""}, NameCase{"Frame1", u""},
                    NameCase{"Label6", u""},
                    // Not controls of the window: a stem alone, a stem with a tail.
                    NameCase{"bol", u""}, NameCase{"bol3x", u""}));

TEST(AccessibleNames, NoControlIsLeftWithoutAnyName) {
    for (const Control& control : kLayout) {
        EXPECT_TRUE(!accessibleName(control.name).empty() || !control.caption.empty())
            << control.name;
    }
}

}  // namespace
}  // namespace form
