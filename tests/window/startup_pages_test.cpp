// The start-up pages handed back: the resident set shrinks and the program
// runs on, every dropped page coming back from its file when used.
#include <gtest/gtest.h>

#include <fstream>

#include "form1_driver.h"
#include "startup_pages.h"

namespace window::testing {
namespace {

long residentPages() {
    std::ifstream statm("/proc/self/statm");
    long size = 0;
    long resident = 0;
    statm >> size >> resident;
    return resident;
}

TEST(StartupPages, ReleasingThemShrinksTheResidentSetAndTheGameStillPlays) {
#ifndef __linux__
    GTEST_SKIP() << "pages are handed back on Linux only";
#endif
    const long before = residentPages();
    releaseStartupPages();
    EXPECT_LT(residentPages(), before);

    // Code and constants of Qt and of the game, dropped above, run again.
    Form1Driver driver;
    driver.guess("1234");
    EXPECT_EQ(driver.text("lbltry1"), "1234");
}

}  // namespace
}  // namespace window::testing
