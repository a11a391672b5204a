#include "pack/build_pack.h"

#include <memory>
#include <new>

#include "base/letter_case.h"
#include "gamedata/drs_archive.h"
#include "pack/byte_sink.h"
#include "pack/chances.h"
#include "pack/map_sections.h"
#include "pack/pack_header.h"
#include "pack/random_block.h"
#include "pack/section_blocks.h"

namespace tolvenek {

namespace {

// Reads a custom script whole. "" on success, else the player's message.
std::string ReadCustomScript(FileSystem& fs, const std::string& game_folder,
                             const std::string& name, std::string* text) {
  const std::string shown = "random\\" + name;
  // Only scripts inside the random folder belong in a pack...
  // Nor the pack being written, which would end up inside itself.
  if (!StaysInsideFolder(name) || EqualIgnoringCase(name, kTempPackName)) {
    return "Cannot open " + shown;
  }
  FsError error = FsError::kOk;
  std::unique_ptr<ReadableFile> file = fs.OpenForReading(JoinPath(game_folder, shown), &error);
  if (!file) return "Cannot open " + shown;
  const uint64_t size = file->Size();
  if (size > kMaxScriptSize) {
    return "Cannot open " + shown + ": larger than " +
           std::to_string(kMaxScriptSize / (1024 * 1024)) + " MB";
  }
  try {
    text->assign(static_cast<size_t>(size), '\0');
  } catch (const std::bad_alloc&) {
    return "Cannot open " + shown + ": not enough memory";
  }
  size_t got = 0;
  if (size > 0 &&
      (file->ReadAt(0, size_t(size), text->data(), &got) != FsError::kOk || got != size)) {
    return "Cannot read " + shown + " whole";
  }
  return "";
}

std::string WriteFailure(FsError error) {
  return "Cannot write temp file: " + std::string(DescribeFsError(error));
}

// Steps after the target probe: the temporary pack, every map, the replace.
// False with `status` set on the first failure.
bool WritePackThroughTemp(FileSystem& fs, const PackJob& job, const std::string& random_folder,
                          const std::string& target, StatusRecord& status) {
  const size_t map_count = job.builtin.size() + job.custom_names.size();
  const std::vector<int> chances = SplitChances(static_cast<int>(map_count));

  const std::string temp = JoinPath(random_folder, kTempPackName);
  FsError error = FsError::kOk;
  std::unique_ptr<WritableFile> file = fs.CreateForWriting(temp, &error);
  if (!file) {
    SetStatus(status, "Cannot write temp file");
    return false;
  }
  ByteSink out(file.get());
  const auto fail = [&](std::string_view message) {
    file->Close();
    SetStatus(status, message);
    return false;
  };

  std::vector<std::string_view> names;
  for (const BuiltinMap& map : job.builtin) names.push_back(map.label);
  for (const std::string& name : job.custom_names) names.push_back(name);
  WritePackHeader(out, names);
  if (out.Flush() != FsError::kOk) return fail(WriteFailure(out.error()));

  std::vector<MapSections> maps;
  maps.reserve(map_count);
  for (const BuiltinMap& builtin : job.builtin) {
    std::optional<std::string> text = LookupDrsResource(fs, job.game_folder, builtin.id, status);
    if (!text) {
      file->Close();
      return false;  // the lookup has set the status
    }
    maps.push_back(SplitMapScript(*text));
  }
  for (const std::string& name : job.custom_names) {
    std::string text;
    std::string problem = ReadCustomScript(fs, job.game_folder, name, &text);
    if (!problem.empty()) return fail(problem);
    maps.push_back(SplitMapScript(text));
  }

  WriteRandomBlock(out, chances, maps);
  WriteSectionBlocks(out, maps, job.land_resources);
  maps.clear();

  // The target is replaced only by a complete pack that is on the disk.
  if ((error = out.Flush()) != FsError::kOk || (error = file->Sync()) != FsError::kOk ||
      (error = file->Close()) != FsError::kOk) {
    return fail(WriteFailure(error));
  }
  file.reset();
  if ((error = fs.MoveFileOver(temp, target)) != FsError::kOk) {
    SetStatus(status,
              "Cannot replace " + job.output_name + ": " + std::string(DescribeFsError(error)));
    return false;
  }
  return true;
}

}  // namespace

std::string CheckOutputName(std::string_view name) {
  const bool has_folder = name.find_first_of("\\/:") != std::string_view::npos;
  if (has_folder || name == "." || name == "..") {
    return "File name must be a plain file name inside the random folder";
  }
  if (EqualIgnoringCase(name, kTempPackName)) {
    return std::string(kTempPackName) + " is Tolvenek's own temporary file; choose another name";
  }
  return "";
}

void BuildPackScript(FileSystem& fs, const PackJob& job, StatusRecord& status) {
  const size_t map_count = job.builtin.size() + job.custom_names.size();
  if (map_count == 0) return SetStatus(status, "Select at least one map");
  if (job.output_name.size() > kMaxOutputNameLength) {
    return SetStatus(status, "File name exceeds 20 characters");
  }
  if (std::string problem = CheckOutputName(job.output_name); !problem.empty()) {
    return SetStatus(status, problem);
  }

  // Nothing may be created outside the game folder, so a missing random folder
  // ends the build before any file is touched.
  const std::string random_folder = JoinPath(job.game_folder, "random");
  if (job.output_name.empty() || !fs.IsFolder(random_folder)) {
    return SetStatus(status, "Cannot write file");
  }
  const std::string target = JoinPath(random_folder, job.output_name);
  bool created = false;
  if (fs.ProbeWritable(target, &created) != FsError::kOk) {
    return SetStatus(status, "Cannot write file");
  }

  if (!WritePackThroughTemp(fs, job, random_folder, target, status) && created) {
    // The probe made an empty file that the failed build never filled; an empty
    // script in the random folder would only show up as a broken map.
    fs.RemoveFile(target);
  }
}

}  // namespace tolvenek
