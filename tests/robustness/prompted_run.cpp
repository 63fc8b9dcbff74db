// In-process runs of glimmer-convert over pipes, with a scripted user on the other end.
#include "tests/robustness/prompted_run.h"

#include <algorithm>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <thread>

#include "cli/cli_texts.h"
#include "cli/convert_run.h"
#include "tests/conversion/test_files.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#else
#include <unistd.h>
#endif

namespace {

std::string TextOf(FILE* stream)
{
    rewind(stream);
    const Bytes bytes = ReadWholeStream(stream);
    fclose(stream);
    return std::string(bytes.begin(), bytes.end());
}

bool MakePipe(int (&ends)[2])
{
#ifdef _WIN32
    return _pipe(ends, 65536, _O_BINARY) == 0;
#else
    return pipe(ends) == 0;
#endif
}

int Run(const std::vector<std::string>& args, const RunStreams& streams, std::string& exception)
{
    try {
        return static_cast<int>(RunCommandLine(args, streams));
    } catch (const std::exception& e) {
        exception = e.what();
    } catch (...) {
        exception = "unknown exception";
    }
    return -1;
}

// The output path in the last question of the text: the question's words around its "%s".
std::string QuestionedPath(const std::string& text)
{
    const std::string form = TextUtf8(TextId::ReplaceQuestion, Language::English);
    const std::string before = "glimmer-convert: " + form.substr(0, form.find("%s"));
    const std::string after = form.substr(form.find("%s") + 2);
    const size_t end = text.rfind(after);
    const size_t start = text.rfind(before, end);
    return end == std::string::npos || start == std::string::npos
               ? ""
               : text.substr(start + before.size(), end - start - before.size());
}

}  // namespace

CliRun RunCli(const std::vector<std::string>& args, const std::function<void(bool)>& around)
{
    CliRun run;
    FILE* in = StreamOf({});
    const RunStreams streams{tmpfile(), tmpfile(), in, false, false};
    if (around) around(true);
    run.status = Run(args, streams, run.exception);
    if (around) around(false);
    run.out = TextOf(streams.out);
    run.err = TextOf(streams.err);
    fclose(in);
    return run;
}

CliRun RunAnswering(const std::vector<std::string>& args,
                    const std::function<std::string(const std::string& output)>& answer)
{
    CliRun run;
    int answers[2], errors[2];
    if (!MakePipe(answers) || !MakePipe(errors)) {
        run.exception = "no pipe";
        return run;
    }
    FILE* in = fdopen(answers[0], "rb");
    FILE* toRun = fdopen(answers[1], "wb");
    FILE* err = fdopen(errors[1], "wb");
    FILE* fromRun = fdopen(errors[0], "rb");
    const RunStreams streams{tmpfile(), err, in, false, true};
    std::thread worker([&] {
        run.status = Run(args, streams, run.exception);
        fclose(err);
    });
    const std::string prompt = ConverterText(TextId::ReplaceAnswers);
    int c;
    while ((c = fgetc(fromRun)) != EOF) {
        run.err += static_cast<char>(c);
        if (run.err.size() >= prompt.size() &&
            run.err.compare(run.err.size() - prompt.size(), prompt.size(), prompt) == 0) {
            fprintf(toRun, "%s\n", answer(QuestionedPath(run.err)).c_str());
            fflush(toRun);
        }
    }
    worker.join();
    fclose(toRun);
    fclose(fromRun);
    fclose(in);
    run.out = TextOf(streams.out);
    return run;
}

std::string ConverterText(TextId text, const std::vector<std::string>& words)
{
    return TextOf(Language::English, text, words);
}

std::vector<std::string> FolderNames(const std::string& folder)
{
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& item : std::filesystem::directory_iterator(folder, error)) {
        names.push_back(item.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<std::string> TemporaryNames(const std::string& folder)
{
    std::vector<std::string> names;
    for (const std::string& name : FolderNames(folder)) {
        if (name.rfind(".glimmer-", 0) == 0) names.push_back(name);
    }
    return names;
}
