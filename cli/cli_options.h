// Command line of glimmer-convert: the options, their parsing and the help text.
#pragma once

#include <string>
#include <vector>

#include "conversion/texts/text_catalogue.h"

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

// A usage error: the catalogue's text and the words it names.
struct UsageError {
    TextId text = TextId::NoPathGiven;
    std::vector<std::string> words;
};

// False for a usage error, with the reason in `error`.
bool ParseOptions(const std::vector<std::string>& args, CliOptions& options, UsageError& error);

extern const char kHelpText[];
