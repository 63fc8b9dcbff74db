// Test support: the generated CAM files and pieces, whole-file reads, and one-call conversion.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "conversion/jpeg_writer.h"
#include "conversion/texts/text_catalogue.h"

using Bytes = std::vector<unsigned char>;

// Path of a file in the generated test set (GLIMMER_TEST_CAMS), usable on this system:
// under Wine the generator's Unix path is reached through drive Z:.
std::string TestDataPath(const std::string& name);

// An empty folder of the test's own under GLIMMER_TEST_SCRATCH, made afresh on each call.
std::string ScratchFolder(const std::string& name);

Bytes ReadWholeFile(const std::string& path);
Bytes ReadWholeStream(FILE* stream);

// A stream over a scratch file holding `bytes`, positioned at its start.
FILE* StreamOf(const Bytes& bytes);

struct Conversion {
    bool directoryRead = false;
    ConversionResult result = ConversionResult::NoPicture;
    Bytes output;
};

// Reads the directory of the generated CAM file `name` and writes its picture to a scratch
// stream, as a converter does.
Conversion ConvertTestCam(const std::string& name);

// Bytes of `data` from `offset`, `count` long (shorter if data ends first).
Bytes Slice(const Bytes& data, size_t offset, size_t count);

// A file of the generated set and the text its conversion shows, from the table every front
// end's tests share (tests/outcome_texts.txt). `known` is false for an identifier that is no
// text of the catalogue.
struct ExpectedOutcome {
    std::string file;
    std::string identifier;
    TextId text = TextId::FatalTitle;
    bool known = false;
};
std::vector<ExpectedOutcome> ExpectedOutcomes();
