#include "support/Process.h"

#include <chrono>
#include <thread>

#include "support/TempFolder.h"
#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

bool WaitUntil(const std::function<bool()>& condition, int seconds) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end) return condition();
#ifdef _WIN32
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
#endif
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

std::optional<int> TestProcess::WaitForExit(int seconds) {
    WaitUntil([&] { return !Running(); }, seconds);
    return exit_;
}

std::string TestProcess::Output() const {
    return ReadBytes(output_);
}

#ifdef _WIN32
TestProcess::TestProcess(const std::filesystem::path& program,
                         const std::vector<std::string>& arguments,
                         const std::vector<std::string>&) {
    std::wstring line = L"\"" + program.wstring() + L"\"";
    for (const std::string& argument : arguments)
        line += L" " + std::filesystem::path(argument).wstring();
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    // Wine on a loaded machine now and then refuses a start for a moment: a few tries.
    for (int attempt = 0; attempt < 5 && !handle_; ++attempt) {
        if (attempt) std::this_thread::sleep_for(std::chrono::milliseconds(500));
        if (CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                           nullptr, &startup, &info)) {
            CloseHandle(info.hThread);
            handle_ = info.hProcess;
            id_ = info.dwProcessId;
        }
    }
}

TestProcess::~TestProcess() {
    if (Running()) TerminateProcess(handle_, 99);
    if (handle_) CloseHandle(handle_);
}

bool TestProcess::Running() {
    DWORD code = 0;
    if (handle_ && !exit_ && WaitForSingleObject(handle_, 0) == WAIT_OBJECT_0 &&
        GetExitCodeProcess(handle_, &code))
        exit_ = static_cast<int>(code);
    return handle_ && !exit_;
}
#else
TestProcess::TestProcess(const std::filesystem::path& program,
                         const std::vector<std::string>& arguments,
                         const std::vector<std::string>& environment)
    : output_(std::filesystem::temp_directory_path() /
              ("pellox-output-" + std::to_string(std::random_device{}()))) {
    const pid_t pid = fork();
    if (pid == 0) {
        const int out = open(output_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        dup2(out, 1);
        dup2(out, 2);
        for (const std::string& entry : environment) putenv(const_cast<char*>(entry.c_str()));
        std::vector<char*> argv{const_cast<char*>(program.c_str())};
        for (const std::string& a : arguments) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    id_ = pid > 0 ? static_cast<unsigned long>(pid) : 0;
}

TestProcess::~TestProcess() {
    if (Running()) {
        kill(static_cast<pid_t>(id_), SIGKILL);
        waitpid(static_cast<pid_t>(id_), nullptr, 0);
    }
    std::error_code ignored;
    std::filesystem::remove(output_, ignored);
}

bool TestProcess::Running() {
    int status = 0;
    if (id_ && !exit_ && waitpid(static_cast<pid_t>(id_), &status, WNOHANG) > 0)
        exit_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return id_ && !exit_;
}
#endif
