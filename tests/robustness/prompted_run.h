// Test support: glimmer-convert's command line run in process, either without a terminal or
// with a scripted terminal user who, while the run waits for an answer about an existing
// output, may change the file system under it (the moment a fault is injected).
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "conversion/texts/text_catalogue.h"

struct CliRun {
    int status = -1;
    std::string out;
    std::string err;
    std::string exception;  // what escaped RunCommandLine, if anything did
};

// No terminal: nothing is asked. `around` runs with true right before the run and with false
// right after it, so that a test can change the process's conditions for the run alone.
CliRun RunCli(const std::vector<std::string>& args,
              const std::function<void(bool)>& around = nullptr);

// On a terminal: each question about an existing output calls `answer` with the output path
// as printed; the run waits until it returns the answer line ("y", "n", ...).
CliRun RunAnswering(const std::vector<std::string>& args,
                    const std::function<std::string(const std::string& output)>& answer);

// A text of the catalogue in English, filled in as glimmer-convert fills it.
std::string ConverterText(TextId text, const std::vector<std::string>& words = {});

// Names in a folder, sorted; empty for a missing folder.
std::vector<std::string> FolderNames(const std::string& folder);

// Names left in a folder by an unfinished write: the converter's temporary files.
std::vector<std::string> TemporaryNames(const std::string& folder);
