#pragma once
// A program started by a test, killed if the test leaves it running; and waits, which are long
// (a loaded two-core machine, Wine) and never timed.

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// Asks until the condition holds or the seconds are up; its last answer. On Windows the test's
// own windows are served meanwhile (a preview host answers its child).
bool WaitUntil(const std::function<bool()>& condition, int seconds = 60);

class TestProcess {
  public:
    // Windows joins the arguments into the command line; Linux adds the environment entries
    // ("NAME=value") and keeps standard output and error for Output().
    TestProcess(const std::filesystem::path& program, const std::vector<std::string>& arguments,
                const std::vector<std::string>& environment = {});
    ~TestProcess();
    TestProcess(const TestProcess&) = delete;
    TestProcess& operator=(const TestProcess&) = delete;

    bool Running();
    // The exit code once it has ended within the wait.
    std::optional<int> WaitForExit(int seconds = 60);
    std::string Output() const;
    unsigned long Id() const { return id_; }

  private:
    void* handle_ = nullptr;
    unsigned long id_ = 0;
    std::optional<int> exit_;
    std::filesystem::path output_;
};
