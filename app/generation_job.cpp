#include "app/generation_job.h"

#include "base/status_record.h"
#include "gamedata/drs_archive.h"
#include "pack/build_pack.h"

namespace tolvenek {

JobOutcome RunGenerationJob(FileSystem& fs, const JobInputs& inputs) {
  StatusRecord status;
  std::optional<std::string> land_resources =
      LookupDrsResource(fs, inputs.game_folder, kLandResourcesId, status);
  if (land_resources) {
    PackJob job;
    job.game_folder = inputs.game_folder;
    job.builtin = SelectBuiltinMaps(inputs.selection);
    job.custom_names = inputs.custom_names;
    job.output_name = inputs.output_name;
    job.land_resources = std::move(*land_resources);
    BuildPackScript(fs, job, status);
  }
  JobOutcome outcome;
  outcome.failed = status.flag;
  if (status.flag) {
    outcome.message = std::string(status.Text());
  } else {
    outcome.message = std::string(kScriptGenerated);
    outcome.written_path =
        fs.DisplayPath(JoinPath(JoinPath(inputs.game_folder, "random"), inputs.output_name));
  }
  return outcome;
}

}  // namespace tolvenek
