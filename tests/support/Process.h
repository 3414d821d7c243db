#pragma once
// A program started by a test: its exit code and what it wrote to standard output and error. It
// is killed when the test leaves it running. Waits are long (a loaded two-core machine, Wine)
// and nothing is timed.

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// Asks the condition until it holds or the seconds are up, and returns its last answer. On
// Windows the test's own windows are served meanwhile (a preview host answers its child).
bool WaitUntil(const std::function<bool()>& condition, int seconds = 60);

class TestProcess {
  public:
    // The arguments are joined by spaces into the command line on Windows; environment entries
    // "NAME=value" are added on Linux (on Windows the program inherits the test's).
    TestProcess(const std::filesystem::path& program, const std::vector<std::string>& arguments,
                const std::vector<std::string>& environment = {});
    ~TestProcess();
    TestProcess(const TestProcess&) = delete;
    TestProcess& operator=(const TestProcess&) = delete;

    bool Running();
    // The exit code once it has ended within the wait; nullopt while it still runs.
    std::optional<int> WaitForExit(int seconds = 60);
    // What it wrote so far (Linux; the Windows programs write nothing).
    std::string Output();
    unsigned long Id() const;

  private:
    struct State;
    std::unique_ptr<State> state_;
};
