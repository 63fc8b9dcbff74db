// Starting the converter as a child process under a seccomp filter and limits of the test's
// choosing.
#include "tests/robustness/converter_process.h"

#include <dirent.h>
#include <fcntl.h>
#include <linux/audit.h>
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <signal.h>
#include <stddef.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace {

// A filter of rules, each "this system call, with these argument bits, fails with this
// error"; every other call is allowed.
class Filter {
public:
    Filter()
    {
        // Only the x86-64 calls are known here; anything else is let through unchanged.
        Add(BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, arch)));
        Add(BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, AUDIT_ARCH_X86_64, 1, 0));
        Add(BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW));
    }

    // The call fails whatever its arguments.
    void Refuse(int call, int error) { Rule(call, -1, 0, false, error); }
    // The call fails when the low word of argument `arg` has any of `bits` set.
    void RefuseWithBits(int call, int arg, uint32_t bits, int error)
    {
        Rule(call, arg, bits, false, error);
    }
    // The call fails when argument `arg` (a pointer) is not null.
    void RefuseWithPointer(int call, int arg, int error) { Rule(call, arg, 0, true, error); }

    bool Install()
    {
        Add(BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW));
        sock_fprog program = {static_cast<unsigned short>(code_.size()), code_.data()};
        return prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) == 0 &&
               prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &program) == 0;
    }

private:
    void Add(sock_filter instruction) { code_.push_back(instruction); }

    static uint32_t Low(int arg) { return offsetof(seccomp_data, args) + 8 * arg; }

    void Rule(int call, int arg, uint32_t bits, bool pointer, int error)
    {
        // Each rule skips to the next one when its call or its arguments do not match.
        const unsigned char length = arg < 0 ? 1 : pointer ? 5 : 3;
        Add(BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr)));
        Add(BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, static_cast<uint32_t>(call), 0, length));
        if (arg >= 0 && !pointer) {
            Add(BPF_STMT(BPF_LD | BPF_W | BPF_ABS, Low(arg)));
            Add(BPF_JUMP(BPF_JMP | BPF_JSET | BPF_K, bits, 0, 1));
        } else if (pointer) {
            // Null only when both halves are zero.
            Add(BPF_STMT(BPF_LD | BPF_W | BPF_ABS, Low(arg)));
            Add(BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, 0, 0, 2));
            Add(BPF_STMT(BPF_LD | BPF_W | BPF_ABS, Low(arg) + 4));
            Add(BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, 0, 1, 0));
        }
        Add(BPF_STMT(BPF_RET | BPF_K,
                     SECCOMP_RET_ERRNO | (static_cast<uint32_t>(error) & SECCOMP_RET_DATA)));
    }

    std::vector<sock_filter> code_;
};

std::string ReadText(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

[[noreturn]] void StartInChild(const std::vector<std::string>& args, const std::string& outPath,
                               const std::string& errPath, const Refusals& refusals)
{
    // A clean slate: the test's own signal settings must not reach the program.
    for (int signal = 1; signal < NSIG; ++signal) {
        ::signal(signal, SIG_DFL);
    }
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);

    const int in = open("/dev/null", O_RDONLY);
    const int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (refusals.errorPipeClosed) {
        int ends[2];
        if (pipe(ends) != 0) _exit(121);
        close(ends[0]);
        err = ends[1];
    }
    if (in < 0 || out < 0 || err < 0) _exit(122);
    dup2(in, 0);
    dup2(out, 1);
    dup2(err, 2);
    // The program gets the three standard streams and nothing more of the test's.
    for (const int extra : {in, out, err}) {
        if (extra > 2) close(extra);
    }

    const rlimit noCore = {0, 0};
    setrlimit(RLIMIT_CORE, &noCore);
    if (refusals.fileSizeLimit > 0) {
        const rlimit limit = {static_cast<rlim_t>(refusals.fileSizeLimit),
                              static_cast<rlim_t>(refusals.fileSizeLimit)};
        if (setrlimit(RLIMIT_FSIZE, &limit) != 0) _exit(123);
    }
    if (refusals.openFilesLimit > 0) {
        const rlimit limit = {static_cast<rlim_t>(refusals.openFilesLimit),
                              static_cast<rlim_t>(refusals.openFilesLimit)};
        if (setrlimit(RLIMIT_NOFILE, &limit) != 0) _exit(120);
    }
    Filter filter;
    if (refusals.copyFileRange != 0) {
        filter.Refuse(SYS_copy_file_range, refusals.copyFileRange);
    }
    if (refusals.unnamedFiles) {
        // O_TMPFILE without O_DIRECTORY: the bit that asks for an unnamed file.
        filter.RefuseWithBits(SYS_openat, 2, 020000000, EOPNOTSUPP);
        filter.RefuseWithBits(SYS_open, 1, 020000000, EOPNOTSUPP);
    }
    if (refusals.timesByPath) {
        filter.RefuseWithPointer(SYS_utimensat, 1, EPERM);
        filter.Refuse(SYS_utimes, EPERM);
        filter.Refuse(SYS_utime, EPERM);
    }
    if (!filter.Install()) _exit(124);

    // Under an open-files limit, the build whose sanitizers need no descriptor of their own.
    const char* program = std::getenv(refusals.openFilesLimit > 0 ? "GLIMMER_CONVERT_AT_FILE_LIMIT"
                                                                  : "GLIMMER_CONVERT");
    if (program == nullptr) _exit(125);
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program));
    for (const std::string& arg : args) {
        argv.push_back(const_cast<char*>(arg.c_str()));
    }
    argv.push_back(nullptr);
    execv(program, argv.data());
    _exit(126);
}

}  // namespace

ConverterProcess::ConverterProcess(const std::vector<std::string>& args, const std::string& scratch,
                                   const Refusals& refusals)
    : outPath_(scratch + "/stdout"), errPath_(scratch + "/stderr")
{
    pid_ = fork();
    if (pid_ == 0) {
        StartInChild(args, outPath_, errPath_, refusals);
    }
}

ConverterProcess::~ConverterProcess()
{
    if (pid_ > 0 && !waited_) {
        kill(pid_, SIGKILL);
        Wait();
    }
}

int ConverterProcess::Wait()
{
    if (!waited_ && pid_ > 0) {
        while (waitpid(pid_, &status_, 0) < 0 && errno == EINTR) {
        }
        waited_ = true;
    }
    return status_;
}

int ConverterProcess::ExitCode()
{
    const int status = Wait();
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string ConverterProcess::Out() const
{
    return ReadText(outPath_);
}

std::string ConverterProcess::Err() const
{
    return ReadText(errPath_);
}

bool OpenFileIn(pid_t pid, const std::string& folder, std::string& link, std::string& target)
{
    const std::string fds = "/proc/" + std::to_string(pid) + "/fd";
    DIR* dir = opendir(fds.c_str());
    if (dir == nullptr) return false;
    bool found = false;
    while (const dirent* entry = readdir(dir)) {
        char path[4096];
        const std::string entryPath = fds + "/" + entry->d_name;
        const ssize_t length = readlink(entryPath.c_str(), path, sizeof path - 1);
        if (length > 0 && std::string(path, static_cast<size_t>(length))
                                  .compare(0, folder.size() + 1, folder + "/") == 0) {
            link = entryPath;
            target.assign(path, static_cast<size_t>(length));
            found = true;
        }
    }
    closedir(dir);
    return found;
}
