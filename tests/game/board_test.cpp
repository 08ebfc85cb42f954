#include <gtest/gtest.h>
#include "board.h"
TEST(Board, Placeholder) { game::Board b; EXPECT_TRUE(b.text(game::Cell::Text1).empty()); }
