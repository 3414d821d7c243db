#include "support/Process.h"

#include <chrono>
#include <thread>

#ifdef _WIN32
#include <windows.h>

struct TestProcess::State {
    PROCESS_INFORMATION info{};
};

bool WaitUntil(const std::function<bool()>& condition, int seconds) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end) return condition();
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
        Sleep(20);
    }
    return true;
}

TestProcess::TestProcess(const std::filesystem::path& program,
                         const std::vector<std::string>& arguments,
                         const std::vector<std::string>&)
    : state_(std::make_unique<State>()) {
    std::wstring line = L"\"" + program.wstring() + L"\"";
    for (const std::string& argument : arguments) line += L" " + std::wstring(argument.begin(), argument.end());
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    if (CreateProcessW(program.wstring().c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                       nullptr, &startup, &state_->info))
        CloseHandle(state_->info.hThread);
}

TestProcess::~TestProcess() {
    if (!state_->info.hProcess) return;
    if (Running()) TerminateProcess(state_->info.hProcess, 99);
    CloseHandle(state_->info.hProcess);
}

bool TestProcess::Running() {
    return state_->info.hProcess &&
           WaitForSingleObject(state_->info.hProcess, 0) == WAIT_TIMEOUT;
}

std::optional<int> TestProcess::WaitForExit(int seconds) {
    if (!state_->info.hProcess || !WaitUntil([&] { return !Running(); }, seconds))
        return std::nullopt;
    DWORD code = 0;
    GetExitCodeProcess(state_->info.hProcess, &code);
    return static_cast<int>(code);
}

std::string TestProcess::Output() {
    return {};
}

unsigned long TestProcess::Id() const {
    return state_->info.dwProcessId;
}

#else
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

struct TestProcess::State {
    pid_t pid = -1;
    int output = -1;  // read end of the program's standard output and error
    std::optional<int> exit;
    std::string written;
};

bool WaitUntil(const std::function<bool()>& condition, int seconds) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end) return condition();
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

TestProcess::TestProcess(const std::filesystem::path& program,
                         const std::vector<std::string>& arguments,
                         const std::vector<std::string>& environment)
    : state_(std::make_unique<State>()) {
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) return;
    state_->pid = fork();
    if (state_->pid == 0) {
        dup2(fds[1], 1);
        dup2(fds[1], 2);
        for (const std::string& entry : environment) putenv(const_cast<char*>(entry.c_str()));
        std::vector<char*> argv{const_cast<char*>(program.c_str())};
        for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
        argv.push_back(nullptr);
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    close(fds[1]);
    state_->output = fds[0];
    fcntl(state_->output, F_SETFL, O_NONBLOCK);
}

TestProcess::~TestProcess() {
    if (Running()) {
        kill(state_->pid, SIGKILL);
        waitpid(state_->pid, nullptr, 0);
    }
    if (state_->output >= 0) close(state_->output);
}

bool TestProcess::Running() {
    Output();  // a program blocked on a full pipe would never end
    int status = 0;
    if (state_->pid > 0 && !state_->exit && waitpid(state_->pid, &status, WNOHANG) == state_->pid)
        state_->exit = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return state_->pid > 0 && !state_->exit;
}

std::optional<int> TestProcess::WaitForExit(int seconds) {
    WaitUntil([&] { return !Running(); }, seconds);
    return state_->exit;
}

std::string TestProcess::Output() {
    char buffer[4096];
    ssize_t n;
    while (state_->output >= 0 && (n = read(state_->output, buffer, sizeof buffer)) > 0)
        state_->written.append(buffer, static_cast<std::size_t>(n));
    return state_->written;
}

unsigned long TestProcess::Id() const {
    return static_cast<unsigned long>(state_->pid);
}
#endif
