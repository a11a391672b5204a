#include "pack/section_blocks.h"

#include "pack/random_block.h"

namespace tolvenek {

namespace {

void WriteConditionalBlock(ByteSink& out, size_t map_number, std::string_view content) {
  out.PutLine("");
  out.PutLine("if ZOQ_MAP" + std::to_string(map_number));
  out.PutLine(content);
  out.PutLine("endif");
}

void BlankFirst(std::string& text, std::string_view include) {
  const int32_t position = FindTextPosition(include, text, static_cast<int64_t>(text.size()));
  if (position != -1) BlankText(text, size_t(position - 1), include.size());
}

}  // namespace

void BlankText(std::string& buffer, size_t index, size_t length) {
  if (index >= buffer.size()) return;
  if (length > buffer.size() - index) length = buffer.size() - index;
  buffer.replace(index, length, length, ' ');
}

void WriteSectionBlocks(ByteSink& out, std::vector<MapSections>& maps,
                        std::string_view land_resources) {
  for (size_t n = 0; n < maps.size(); ++n) {
    BlankFirst(maps[n].preamble, kMapDefinitionsInclude);
    WriteConditionalBlock(out, n, maps[n].preamble);
    std::string().swap(maps[n].preamble);
  }
  for (int s = 0; s < kSectionCount; ++s) {
    const SectionKind kind = SectionKind(s);
    out.PutLine("");
    out.PutLine(SectionTag(kind));
    if (kind == SectionKind::kObjectsGeneration) {
      out.PutLine("");
      out.PutLine("if ZOQ_LANDRES");
      out.PutLine(land_resources);
      out.PutLine("endif");
    }
    for (size_t n = 0; n < maps.size(); ++n) {
      std::optional<std::string>& section = maps[n].Section(kind);
      if (section && kind == SectionKind::kObjectsGeneration) {
        BlankFirst(*section, kLandResourcesInclude);
      }
      WriteConditionalBlock(out, n, section ? SectionBody(*section) : std::string_view());
      section.reset();
    }
  }
}

}  // namespace tolvenek
