// Test helper: every row of a case table through one function, compared with the row's
// expected value; a failure names the row's input.
#pragma once

#include <gtest/gtest.h>

namespace umbrix::test {

/// Each row is {input, expected}: a pair or a struct of two members.
template <typename Table, typename Function>
void ExpectEachRow(const Table& rows, Function&& function) {
  for (const auto& [input, expected] : rows) {
    SCOPED_TRACE(input);
    EXPECT_EQ(function(input), expected);
  }
}

}  // namespace umbrix::test
