// quellan-cli: the command line companion of the window tool. It finds the
// devices, changes their settings and checks that the change took, for
// installers who script their work.
#include <string>
#include <vector>

#include "cli/commands/adapter_check.h"
#include "cli/commands/commands.h"
#include "cli/commands/options.h"
#include "cli/commands/report_output.h"
#include "cli/format/messages.h"
#include "core/engine/local_adapters.h"
#include "platform/program_arguments.h"

int main(int argc, char** argv) {
  const std::vector<std::string> args = ProgramArguments(argc, argv);
  const cli::ParseResult parsed = cli::ParseCommandLine(args);
  if (!parsed.ok) {
    cli::Tell(parsed.error);
    cli::Tell("run 'quellan-cli " +
              std::string(parsed.options.command == cli::Command::None
                              ? ""
                              : args[0] + " ") +
              "--help' for the options");
    return cli::EXIT_REFUSED;
  }
  const cli::Options& options = parsed.options;
  // Before anything is written beside the line.
  cli::SetProgress(options.progress);
  if (options.help) {
    cli::Emit(cli::UsageText(options.command));
    return cli::EXIT_DONE;
  }
  if (options.version) {
    cli::Emit(QUELLAN_VERSION "\n");
    return cli::EXIT_DONE;
  }
  const std::string outputProblem = cli::OutputProblem(options);
  if (!outputProblem.empty()) {
    cli::Tell(outputProblem);
    return cli::EXIT_REFUSED;
  }
  const std::string adapterProblem =
      cli::UnknownAdapterText(options.adapter, LocalAdapters());
  if (!adapterProblem.empty()) {
    cli::Tell(adapterProblem);
    return cli::EXIT_NETWORK_FAILURE;
  }
  cli::InstallEngineNotifier();
  // In the order of Command's values; a line that parsed names a command
  // unless it asked for help or the version.
  static int (*const RUN[])(const cli::Options&) = {
      nullptr, cli::SearchCommand, cli::SetCommand, cli::PlanCommand,
      cli::WatchCommand};
  if (options.command == cli::Command::None) return cli::EXIT_REFUSED;
  return RUN[static_cast<int>(options.command)](options);
}
