// Parsing glimmer-convert's command line, GNU style: short options may be grouped, long
// options take their value after "=" or as the next argument, and "--" ends the options.
#include "cli/cli_options.h"

const char kHelpText[] =
    "Usage: glimmer-convert [OPTIONS] PATH...\n"
    "Converts camera CAM files into JPEG files, without decoding a pixel.\n"
    "Each PATH is a CAM file or a folder, whose *.cam files are converted; a folder\n"
    "named RECYCLED or a symbolic link named on the command line is converted too.\n"
    "Each output is named after its CAM file, with the extension .jpg.\n"
    "\n"
    "  -o, --output DIR       write the JPEG files into DIR, an existing folder\n"
    "                         (default: the current folder)\n"
    "  -r, --recursive        also convert the CAM files of all sub-folders, each into\n"
    "                         the same sub-folder of DIR, made as needed (folders named\n"
    "                         RECYCLED and symbolic links met there are skipped)\n"
    "      --flat             with -r, write every JPEG straight into DIR\n"
    "      --overwrite=MODE   when an output exists: ask, skip or replace\n"
    "                         (default: ask on a terminal, skip otherwise)\n"
    "  -j, --jobs N           convert up to N files at once, N from 1 to 128 (default: one\n"
    "                         per processor); files, messages and exit status are the\n"
    "                         same for every N\n"
    "  -q, --quiet            no progress and no summary\n"
    "      --help             show this help and exit\n"
    "      --version          show the version and exit\n"
    "\n"
    "The summary counts each file once: converted; incomplete (its data ends early,\n"
    "the partial picture is written); skipped (its output exists and is kept, as\n"
    "--overwrite or the answer said); not converted (refused: another file of the run\n"
    "has the same output name, the output is one of the run's files, the name is a\n"
    "device's, or the file is no longer a regular file); failed.\n"
    "Exit status: 0 when every file was converted or skipped, 1 when any file was\n"
    "incomplete, not converted or failed, 2 for a usage error; a signal ends it as\n"
    "that signal does (a shell shows 130 for Ctrl+C). On Windows: 130 for Ctrl+C,\n"
    "131 for Ctrl+Break, 129 when the console closes, 143 at logoff or shutdown.\n";

namespace {

bool ParseOverwrite(const std::string& value, Overwrite& mode)
{
    if (value == "ask") {
        mode = Overwrite::Ask;
    } else if (value == "skip") {
        mode = Overwrite::Skip;
    } else if (value == "replace") {
        mode = Overwrite::Replace;
    } else {
        return false;
    }
    return true;
}

bool ParseJobs(const std::string& value, unsigned& jobs, UsageError& error)
{
    unsigned number = 0;
    for (const char c : value) {
        if (c < '0' || c > '9' || number > kMaxJobs) {
            number = kMaxJobs + 1;
            break;
        }
        number = number * 10 + static_cast<unsigned>(c - '0');
    }
    if (value.empty() || number < 1 || number > kMaxJobs) {
        error = {TextId::JobsOutOfRange, {"1", std::to_string(kMaxJobs), value}};
        return false;
    }
    jobs = number;
    return true;
}

}  // namespace

bool ParseOptions(const std::vector<std::string>& args, CliOptions& options, UsageError& error)
{
    bool optionsEnded = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
            options.paths.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        if (arg[1] == '-') {
            const size_t equals = arg.find('=');
            const std::string name =
                arg.substr(2, equals == std::string::npos ? std::string::npos : equals - 2);
            const bool hasValue = equals != std::string::npos;
            std::string value = hasValue ? arg.substr(equals + 1) : std::string();
            const bool takesValue = name == "output" || name == "overwrite" || name == "jobs";
            if (takesValue && !hasValue) {
                if (i + 1 == args.size()) {
                    error = {TextId::OptionNeedsValue, {"--" + name}};
                    return false;
                }
                value = args[++i];
            } else if (!takesValue && hasValue) {
                error = {TextId::OptionTakesNoValue, {"--" + name}};
                return false;
            }
            if (name == "output") {
                options.output = value;
            } else if (name == "overwrite") {
                if (!ParseOverwrite(value, options.overwrite)) {
                    error = {TextId::OverwriteModeUnknown, {value}};
                    return false;
                }
            } else if (name == "jobs") {
                if (!ParseJobs(value, options.jobs, error)) {
                    return false;
                }
            } else if (name == "recursive") {
                options.recursive = true;
            } else if (name == "flat") {
                options.flat = true;
            } else if (name == "quiet") {
                options.quiet = true;
            } else if (name == "help") {
                options.help = true;
            } else if (name == "version") {
                options.version = true;
            } else {
                error = {TextId::UnknownOption, {"--" + name}};
                return false;
            }
            continue;
        }
        for (size_t j = 1; j < arg.size(); ++j) {
            const char letter = arg[j];
            if (letter == 'r') {
                options.recursive = true;
            } else if (letter == 'q') {
                options.quiet = true;
            } else if (letter == 'h') {
                options.help = true;
            } else if (letter == 'o' || letter == 'j') {
                std::string value;
                if (j + 1 < arg.size()) {
                    value = arg.substr(j + 1);
                } else if (i + 1 < args.size()) {
                    value = args[++i];
                } else {
                    error = {letter == 'o' ? TextId::OptionNeedsFolder : TextId::OptionNeedsNumber,
                             {}};
                    return false;
                }
                if (letter == 'o') {
                    options.output = value;
                } else if (!ParseJobs(value, options.jobs, error)) {
                    return false;
                }
                break;
            } else {
                error = {TextId::UnknownOption, {std::string("-") + letter}};
                return false;
            }
        }
    }
    if (options.output.empty()) {
        error = {TextId::OutputFolderEmpty, {}};
        return false;
    }
    if (options.paths.empty() && !options.help && !options.version) {
        error = {TextId::NoPathGiven, {}};
        return false;
    }
    return true;
}
