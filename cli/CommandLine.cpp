#include "cli/CommandLine.h"

#include <map>
#include <ostream>
#include <tuple>

#include <CLI/CLI.hpp>

namespace pictavo::cli {

namespace {

using SetTriple = std::tuple<std::string, std::string, std::string>;

void AddSettingsOption(CLI::App& command, CliOptions& options) {
  command.add_option("--settings", options.settingsFile,
                     "Settings file to read (default: the user's settings file; a missing "
                     "file means the defaults)");
}

void AddSetOption(CLI::App& command, std::vector<SetTriple>& sets) {
  command
      .add_option("--set", sets, "Override one Options\\ key for this run: --set SECTION KEY VALUE")
      ->take_all();
}

void AddVerboseOption(CLI::App& command, CliOptions& options) {
  command.add_flag("-v,--verbose", options.verbose,
                   "Print the image libraries' warnings (damaged files read through)");
}

void AddBuildCommand(CLI::App& app, CliOptions& options, std::vector<SetTriple>& sets) {
  BuildOptions& build = options.build;
  CLI::App* command = app.add_subcommand("build", "List FOLDER and write its album");
  command->callback([&options] { options.command = Command::Build; });
  AddSettingsOption(*command, options);
  command->add_option("--styles", options.stylesFolder, "Another styles folder");
  command->add_option("--location", build.location, "Folder in which the album folder is made");
  command->add_option("--name", build.name, "Name of the album folder");
  command->add_option("--title", build.title, "Page title");
  command->add_option("--header", build.header, "Page heading");
  const std::map<std::string, int> styles = {{"thumbnail", 0}, {"album", 1}, {"slideshow", 2}};
  command->add_option("--style", build.style, "Output style: thumbnail, album or slideshow")
      ->transform(CLI::CheckedTransformer(styles, CLI::ignore_case));
  command->add_option("--design", build.design, "Design style, by its id");
  command->add_option("--notes", build.notes, "Notes file to load before the run");
  AddSetOption(*command, sets);
  command->add_flag("--preview", build.preview, "Write into a fresh preview folder instead");
  command->add_flag("--open", build.open, "Open the first page with the desktop");
  command->add_flag("--skip-unreadable", build.skipUnreadable,
                    "Untick the items whose image cannot be read, naming each");
  command->add_flag("--no-cache", build.noCache,
                    "Decode every photo again instead of reusing earlier runs' images");
  command->add_flag("-q,--quiet", options.quiet, "No progress and no completion message");
  AddVerboseOption(*command, options);
  command->add_option("FOLDER", build.folder, "Folder of photos")->required();
}

void AddListCommand(CLI::App& app, CliOptions& options, std::vector<SetTriple>& sets) {
  ListOptions& list = options.list;
  CLI::App* command =
      app.add_subcommand("list", "Print the listed items of FOLDER as comma-separated text");
  command->callback([&options] { options.command = Command::List; });
  AddSettingsOption(*command, options);
  command->add_option("--sort", list.sortColumn, "Sort column: its title or number 0 to 19");
  command->add_flag("--descending", list.descending, "Sort in descending order");
  AddSetOption(*command, sets);
  AddVerboseOption(*command, options);
  command->add_option("FOLDER", list.folder, "Folder of photos")->required();
}

void AddConfigCommand(CLI::App& app, CliOptions& options) {
  ConfigOptions& config = options.config;
  CLI::App* command = app.add_subcommand("config", "Read or change the settings file");
  AddSettingsOption(*command, options);
  command->require_subcommand(1);

  CLI::App* get = command->add_subcommand("get", "Print one value");
  get->callback([&options] {
    options.command = Command::Config;
    options.config.action = ConfigAction::Get;
  });
  get->add_option("SECTION", config.section, "Section, for example Options\\Output")->required();
  get->add_option("KEY", config.key, "Key")->required();

  CLI::App* set = command->add_subcommand("set", "Change one value and save the file");
  set->callback([&options] {
    options.command = Command::Config;
    options.config.action = ConfigAction::Set;
  });
  set->add_option("SECTION", config.section, "Section")->required();
  set->add_option("KEY", config.key, "Key")->required();
  set->add_option("VALUE", config.value, "Value")->required();

  CLI::App* list = command->add_subcommand("list", "Print every value");
  list->callback([&options] {
    options.command = Command::Config;
    options.config.action = ConfigAction::List;
  });
}

}  // namespace

std::optional<int> ParseCommandLine(int argc, const char* const* argv, CliOptions& options,
                                    std::ostream& out, std::ostream& err) {
  CLI::App app{"Turns a folder of photos into a static HTML photo album.", "pictavo-cli"};
  app.require_subcommand(1);
  // A later option wins, so wrappers can give defaults that the user's options override.
  app.option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
  app.set_version_flag("--version", std::string(PICTAVO_VERSION));
  std::vector<SetTriple> sets;
  std::vector<SetTriple> listSets;
  AddBuildCommand(app, options, sets);
  AddListCommand(app, options, listSets);
  AddConfigCommand(app, options);
  // CLI11 would only say that a command is missing; name the word that was not one.
  const auto isCommand = [&app](const std::string& word) {
    for (const CLI::App* command : app.get_subcommands({})) {
      if (command->check_name(word)) return true;
    }
    return false;
  };
  if (argc > 1 && argv[1][0] != '-' && !isCommand(argv[1])) {
    err << "pictavo-cli: unknown command \"" << argv[1] << "\" (build, list or config)\n"
        << "Run with --help for more information.\n";
    return kExitUsage;
  }
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    const int status = app.exit(e, out, err);
    return status == 0 ? kExitSuccess : kExitUsage;
  }
  for (auto& [section, key, value] : sets) {
    options.build.overrides.push_back({section, key, value});
  }
  for (auto& [section, key, value] : listSets) {
    options.list.overrides.push_back({section, key, value});
  }
  return std::nullopt;
}

}  // namespace pictavo::cli
