// CompareScriptNames against the order the Win32 sorted controls give.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "install/custom_scripts.h"

namespace tolvenek {
namespace {

std::vector<std::string> Sorted(const std::vector<std::string>& names) {
  std::vector<std::string> list;
  for (const std::string& name : names) {
    list.insert(list.begin() + long(SortedInsertPosition(list, name)), name);
  }
  return list;
}

TEST(CollationTest, CaseIsIgnoredAndEqualNamesKeepTheirOrder) {
  EXPECT_EQ(CompareScriptNames("ab.rms", "AB.rms"), 0);
  EXPECT_EQ(Sorted({"b.rms", "AB.rms", "ab.rms"}),
            (std::vector<std::string>{"AB.rms", "ab.rms", "b.rms"}));
  EXPECT_EQ(Sorted({"x.rms", "a.rms"}), (std::vector<std::string>{"a.rms", "x.rms"}));
}

}  // namespace
}  // namespace tolvenek
