// Test support: locating the generated test set and reading and converting its files.
#include "tests/conversion/test_files.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

// A path of the build machine, usable on this system: under Wine through drive Z:.
std::string SystemPath(std::string path)
{
#ifdef _WIN32
    if (!path.empty() && path[0] == '/') {
        path = "Z:" + path;
    }
#endif
    return path;
}

std::string FolderFromEnvironment(const char* variable, const char* fallback)
{
    const char* dir = std::getenv(variable);
    return SystemPath(dir != nullptr ? dir : fallback);
}

}  // namespace

std::string TestDataPath(const std::string& name)
{
    return FolderFromEnvironment("GLIMMER_TEST_CAMS", "test-cams") + "/" + name;
}

std::string ScratchFolder(const std::string& name)
{
    const std::string folder =
        FolderFromEnvironment("GLIMMER_TEST_SCRATCH", "scratch") + "/" + name;
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    std::filesystem::create_directories(folder);
    return folder;
}

Bytes ReadWholeStream(FILE* stream)
{
    Bytes bytes;
    unsigned char chunk[4096];
    size_t got;
    while ((got = fread(chunk, 1, sizeof chunk, stream)) > 0) {
        bytes.insert(bytes.end(), chunk, chunk + got);
    }
    return bytes;
}

Bytes ReadWholeFile(const std::string& path)
{
    FILE* file = fopen(path.c_str(), "rb");
    if (file == nullptr) {
        return {};
    }
    Bytes bytes = ReadWholeStream(file);
    fclose(file);
    return bytes;
}

FILE* StreamOf(const Bytes& bytes)
{
    FILE* stream = tmpfile();
    if (stream != nullptr && !bytes.empty()) {
        fwrite(bytes.data(), 1, bytes.size(), stream);
    }
    if (stream != nullptr) {
        rewind(stream);
    }
    return stream;
}

Conversion ConvertTestCam(const std::string& name)
{
    Conversion conversion;
    FILE* cam = fopen(TestDataPath(name).c_str(), "rb");
    if (cam == nullptr) {
        return conversion;
    }
    CamDirectory directory;
    conversion.directoryRead = ReadDirectory(directory, cam);
    if (conversion.directoryRead) {
        FILE* out = tmpfile();
        conversion.result = WritePicture(directory, cam, out);
        rewind(out);
        conversion.output = ReadWholeStream(out);
        fclose(out);
    }
    fclose(cam);
    return conversion;
}

Bytes Slice(const Bytes& data, size_t offset, size_t count)
{
    if (offset >= data.size()) {
        return {};
    }
    const size_t end = offset + count < data.size() ? offset + count : data.size();
    return Bytes(data.begin() + offset, data.begin() + end);
}

std::vector<ExpectedOutcome> ExpectedOutcomes()
{
    std::vector<ExpectedOutcome> outcomes;
    std::ifstream table(SystemPath(GLIMMER_OUTCOME_TEXTS));
    std::string line;
    while (std::getline(table, line)) {
        if (line.empty() || line[0] == '#') continue;
        ExpectedOutcome outcome;
        std::istringstream(line) >> outcome.file >> outcome.identifier;
        for (size_t text = 0; text < kTextCount && !outcome.known; ++text) {
            outcome.text = static_cast<TextId>(text);
            outcome.known = outcome.identifier == TextName(outcome.text);
        }
        outcomes.push_back(outcome);
    }
    return outcomes;
}
