// CompareScriptNames and SortedInsertPosition against the order that Wine's
// sorted list box and combo box gave for the same names added in the same
// order (LB_ADDSTRING / CB_ADDSTRING, recorded with a small Win32 program;
// both controls agreed in every case).
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

struct CollationCase {
  const char* label;
  std::vector<std::string> added;   // in this order
  std::vector<std::string> listed;  // as the control then lists them
};

TEST(CollationTest, AgreesWithTheSortedControlsUnderWine) {
  const std::vector<CollationCase> cases = {
      {"case, punctuation and digits",
       {"a_b.rms", "a-b.rms", "a1.rms", "ab.rms", "AB.rms", "b.rms", "_x.rms"},
       {"_x.rms", "a_b.rms", "a1.rms", "AB.rms", "ab.rms", "a-b.rms", "b.rms"}},
      {"names equal but for case: the later one goes first",
       {"AB.rms", "ab.rms", "Ab.rms"},
       {"Ab.rms", "ab.rms", "AB.rms"}},
      {"two names equal but for case", {"ab.rms", "AB.rms"}, {"AB.rms", "ab.rms"}},
      {"punctuation before digits before letters",
       {"a b.rms", "a.rms", "a~.rms", "a'b.rms", "a!.rms", "a(1).rms", "a.b.rms", "aa.rms",
        "a0.rms", "a9.rms", "Z.rms", "e.rms", "f.rms"},
       {"a b.rms", "a!.rms", "a(1).rms", "a.b.rms", "a.rms", "a~.rms", "a0.rms", "a9.rms", "aa.rms",
        "a'b.rms", "e.rms", "f.rms", "Z.rms"}},
      {"the sample game's scripts",
       {"Crater Lakes.rms", "Frozen_Moon.rms", "beach_duel.rms", "Archipelago.rms",
        "demo_pack.rms"},
       {"Archipelago.rms", "beach_duel.rms", "Crater Lakes.rms", "demo_pack.rms",
        "Frozen_Moon.rms"}},
      {"hyphens count only on a tie",
       {"ab-c.rms", "abc.rms", "ab-b.rms", "abd.rms", "a-c.rms"},
       {"ab-b.rms", "abc.rms", "ab-c.rms", "abd.rms", "a-c.rms"}},
      {"the order of the punctuation",
       {"z.rms",  " z.rms", "!z.rms", "#z.rms", "$z.rms", "%z.rms", "&z.rms", "(z.rms", ")z.rms",
        "+z.rms", ",z.rms", ".z.rms", ";z.rms", "=z.rms", "@z.rms", "[z.rms", "]z.rms", "^z.rms",
        "_z.rms", "`z.rms", "{z.rms", "}z.rms", "~z.rms", "0z.rms", "9z.rms"},
       {" z.rms", "!z.rms", "#z.rms", "$z.rms", "%z.rms", "&z.rms", "(z.rms", ")z.rms", ",z.rms",
        ".z.rms", ";z.rms", "@z.rms", "[z.rms", "]z.rms", "^z.rms", "_z.rms", "`z.rms", "{z.rms",
        "}z.rms", "~z.rms", "+z.rms", "=z.rms", "0z.rms", "9z.rms", "z.rms"}},
      {"where hyphens and apostrophes stand",
       {"a-.rms", "a.rms", "-a.rms", "'a.rms", "a--b.rms", "a-b.rms", "a'b.rms", "ab.rms",
        "a-bc.rms", "ab-c.rms"},
       {"a.rms", "a-.rms", "'a.rms", "-a.rms", "ab.rms", "a'b.rms", "a-b.rms", "a--b.rms",
        "ab-c.rms", "a-bc.rms"}},
      {"no numeric order",
       {"x1.rms", "x10.rms", "x2.rms", "x 2.rms", "X2.rms"},
       {"x 2.rms", "x1.rms", "x10.rms", "X2.rms", "x2.rms"}},
  };
  for (const CollationCase& c : cases) {
    EXPECT_EQ(Sorted(c.added), c.listed) << c.label;
  }
}

TEST(CollationTest, CompareIsAnOrder) {
  EXPECT_EQ(CompareScriptNames("ab.rms", "AB.rms"), 0);
  EXPECT_LT(CompareScriptNames("ab.rms", "a-b.rms"), 0);
  EXPECT_GT(CompareScriptNames("a-b.rms", "ab.rms"), 0);
  EXPECT_LT(CompareScriptNames("a.rms", "aa.rms"), 0);
  EXPECT_LT(CompareScriptNames("", "a"), 0);
  EXPECT_EQ(CompareScriptNames("", ""), 0);
  EXPECT_LT(CompareScriptNames("-", "--"), 0);
  // Identical names added twice both stay.
  EXPECT_EQ(Sorted({"a.rms", "a.rms", "a.rms"}),
            (std::vector<std::string>{"a.rms", "a.rms", "a.rms"}));
}

}  // namespace
}  // namespace tolvenek
