// Command line of glimmer-convert: the options, their parsing and the help text.
#pragma once

#include <string>
#include <vector>

enum class Overwrite { Unset, Ask, Skip, Replace };

// The most conversions a run does at once.
constexpr unsigned kMaxJobs = 128;

struct CliOptions {
    std::vector<std::string> paths;
    std::string output = ".";
    Overwrite overwrite = Overwrite::Unset;
    unsigned jobs = 0;  // 0: one per processor
    bool recursive = false;
    bool flat = false;  // with recursive: every output straight into the output folder
    bool quiet = false;
    bool help = false;
    bool version = false;
};

// False for a usage error, with the reason in `error`.
bool ParseOptions(const std::vector<std::string>& args, CliOptions& options, std::string& error);

extern const char kHelpText[];
