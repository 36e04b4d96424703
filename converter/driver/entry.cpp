#include "driver/entry.h"

#include "driver/conversion_job.h"
#include "driver/normalise_path.h"
#include "model/output_lines.h"

bool applyOptions(ConversionJob& job, const std::vector<std::string>& args) {
  // A value is visited in its turn as well, so "-pn -ext h" both names the
  // project "-ext" and adds the extension h.
  for (std::size_t i = 1; i < args.size(); ++i) {
    const std::string& arg = args[i];
    const bool isOption =
        arg == "-pn" || arg == "-mp" || arg == "-ap" || arg == "-cp" || arg == "-ext";
    if (!isOption) continue;
    if (i + 1 >= args.size()) return false;
    const std::string& value = args[i + 1];
    if (arg == "-pn") job.projectName = value;
    else if (arg == "-mp") job.messagePersonality = normalisePath(value);
    else if (arg == "-ap") job.analyserPersonality = normalisePath(value);
    else if (arg == "-cp") job.compilerPersonality = normalisePath(value);
    else job.addFileExtensions(value);
  }
  return true;
}

int plovikMain(const std::vector<std::string>& args) {
  if (args.size() < 5) {
    printLine("Usage: Plovik <source_proj> <source_wrproj> <windriver_workspace_dir> "
              "<dest_folder> [-pn dest_proj_name]");
    printLine("[-mp message_personality] [-ap analyser_personality] "
              "[-cp compiler_personality] [-ext file_extension]");
    return 0;
  }
  try {
    std::string sourceProject = normalisePath(args[1]);
    std::string buildSettings = normalisePath(args[2]);
    std::string destFolder = normalisePath(args[4]);
    ConversionJob job(std::move(sourceProject), std::move(buildSettings), args[3],
                      std::move(destFolder));
    if (!applyOptions(job, args)) return 1;
    return job.run() ? 0 : 1;
  } catch (...) {
    // Anything the run does not handle (memory, a library error) ends the
    // program quietly with a failure status.
    return 1;
  }
}
