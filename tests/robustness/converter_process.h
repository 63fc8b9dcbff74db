// Test support (POSIX): the built glimmer-convert run as a process of its own, with the kernel
// made to refuse what the test chooses (a seccomp filter set in the child before the program
// starts), a file-size limit, or a standard error whose reader is gone.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

struct Refusals {
    int copyFileRange = 0;         // copy_file_range fails with this error number
    bool unnamedFiles = false;     // open with O_TMPFILE fails with EOPNOTSUPP
    bool timesByPath = false;      // utimensat on a path (not on an open file) fails with EPERM
    long long fileSizeLimit = 0;   // RLIMIT_FSIZE in bytes when not 0
    long long openFilesLimit = 0;  // RLIMIT_NOFILE when not 0 (GLIMMER_CONVERT_AT_FILE_LIMIT runs)
    bool errorPipeClosed = false;  // standard error is a pipe nobody reads any more
};

class ConverterProcess {
public:
    // The program named by GLIMMER_CONVERT, started with `args`; standard output and standard
    // error go to files in `scratch`, standard input is empty.
    ConverterProcess(const std::vector<std::string>& args, const std::string& scratch,
                     const Refusals& refusals = {});
    ~ConverterProcess();

    bool Started() const { return pid_ > 0; }
    pid_t Pid() const { return pid_; }

    // Waits for the end and returns the raw wait status.
    int Wait();
    // The exit code, or -1 when a signal ended the process.
    int ExitCode();

    std::string Out() const;
    std::string Err() const;

private:
    pid_t pid_ = -1;
    int status_ = 0;
    bool waited_ = false;
    std::string outPath_;
    std::string errPath_;
};

// A file the process has open in `folder`: `link` is its entry under /proc (stat follows it
// to the file, named or not), `target` what the entry points to, ending in "(deleted)" for a
// file without a name. False when there is none.
bool OpenFileIn(pid_t pid, const std::string& folder, std::string& link, std::string& target);
