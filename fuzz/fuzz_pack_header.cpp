// The header list over arbitrary names. Input: up to 100 names separated by
// kPieceSeparator. Line ends inside names are turned into '_' first: neither
// captions nor file names on the game's system can hold them.
#include <string>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "pack/byte_sink.h"
#include "pack/pack_header.h"

namespace tolvenek {
namespace {

const std::string kLeadIn = "/* Maps included in this pack: ";
const std::string kContinuation = "/*" + std::string(29, ' ');
constexpr size_t kBoxedLine = 106;  // lead-in, 72 for names and fill, " */"

void CheckHeader(const std::vector<std::string>& names) {
  ByteSink out;
  WritePackHeader(out, std::vector<std::string_view>(names.begin(), names.end()));
  const std::string& header = out.collected();

  std::vector<std::string_view> lines;
  std::string_view rest = header;
  while (!rest.empty()) {
    const size_t end = rest.find("\r\n");
    FUZZ_CHECK(end != std::string_view::npos, "every line ends in CR LF");
    lines.push_back(rest.substr(0, end));
    rest.remove_prefix(end + 2);
  }
  FUZZ_CHECK(lines.size() >= 6, "banner, two notices, an empty line, the list, an empty line");
  FUZZ_CHECK(lines[0] == kPackBanner, "the banner comes first");
  for (int i = 1; i <= 2; ++i) {
    FUZZ_CHECK(lines[i].starts_with("/*") && lines[i].ends_with("*/"), "notices are comments");
  }
  FUZZ_CHECK(lines[3].empty() && lines.back().empty(), "empty lines around the list");

  const std::vector<std::string_view> list(lines.begin() + 4, lines.end() - 1);
  FUZZ_CHECK(list.size() <= (names.empty() ? 1 : names.size()), "no line without a name");
  std::string joined;  // the names' area of every line, in order
  for (size_t i = 0; i < list.size(); ++i) {
    const std::string_view line = list[i];
    FUZZ_CHECK(line.starts_with(i == 0 ? kLeadIn : kContinuation), "each line has its lead-in");
    FUZZ_CHECK(line.ends_with(" */"), "each list line ends in \" */\"");
    FUZZ_CHECK(line.size() >= kBoxedLine, "a line is never shorter than the box");
    joined += line.substr(kLeadIn.size(), line.size() - kLeadIn.size() - 3);
    joined += '\n';
  }
  size_t at = 0;
  for (const std::string& name : names) {
    const size_t found = joined.find(name, at);
    FUZZ_CHECK(found != std::string::npos, "every name appears, in order");
    at = found + name.size();
  }
}

}  // namespace
}  // namespace tolvenek

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tolvenek;
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  std::vector<std::string> names;
  for (std::string_view piece : SplitPieces(input, 100)) {
    std::string name(piece);
    for (char& c : name) c = (c == '\r' || c == '\n') ? '_' : c;
    names.push_back(std::move(name));
  }
  CheckHeader(names);
  return 0;
}
