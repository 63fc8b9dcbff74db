// One run of glimmer-convert: collecting the CAM files, deciding about existing outputs,
// converting each through a temporary file, and the messages, summary and exit status.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "cli/cli_options.h"
#include "conversion/texts/text_catalogue.h"

enum class ExitStatus { Converted = 0, Failed = 1, Usage = 2 };

struct RunStreams {
    FILE* out;      // summary, help and version
    FILE* err;      // progress, warnings, errors and the overwrite question
    FILE* in;       // answers to the overwrite question
    bool progress;  // show "n/m path" lines: standard error is a terminal
    bool canAsk;    // standard input is a terminal, so --overwrite defaults to ask
    Language language = Language::English;  // of the messages, the summary and the question
};

// The whole program after its arguments were turned into UTF-8 strings; returns the exit status.
ExitStatus RunCommandLine(const std::vector<std::string>& args, const RunStreams& streams);
