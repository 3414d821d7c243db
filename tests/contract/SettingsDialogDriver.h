#pragma once
// The settings dialog of one platform with its real catalogue, store and clock file: pelloxss.scr
// /c under Wine through window messages, or the GTK dialog through its widgets. The store starts
// empty, the program's folder holds no clock file, and the Local row's zone is Tokyo.

#include <filesystem>
#include <memory>
#include <string>

#include "platform/ProgramPorts.h"

enum class Control { Update, Cancel, Daylight, Other };
enum class Obstacle { ReadOnlyFolder, LockedClockFile, NoCatalogue };

class SettingsDialogDriver {
  public:
    virtual ~SettingsDialogDriver() = default;
    // The folder of the program's clock file, and the store it uses.
    virtual std::filesystem::path Folder() = 0;
    virtual SettingsStore& Store() = 0;
    // Where the clock file goes when the program's folder refuses it; empty: nowhere else.
    virtual std::filesystem::path UserFolder() { return {}; }
    // Makes the next opening meet the obstacle (with a clock file "old clock file" where it
    // needs one); false when this platform cannot make it.
    virtual bool Prepare(Obstacle obstacle) = 0;

    // Opens the dialog; false when none appeared (a report may be showing instead).
    virtual bool Open() = 0;
    virtual int Selected(int row) = 0;  // -1: nothing selected
    virtual int Count(int row) = 0;
    virtual std::wstring Caption(int row) = 0;
    virtual int Check(int row) = 0;          // 0 unchecked, 1 checked, 2 greyed
    virtual std::wstring Hint(int row) = 0;  // beside the DST box
    virtual Control Focused() = 0;
    virtual Control NextInTabOrder() = 0;  // from Update

    virtual void Select(int row, int position) = 0;  // as the user chooses
    virtual void SetCaption(int row, const std::wstring& text) = 0;
    virtual void ClickCheck(int row) = 0;
    virtual void Click(Control button) = 0;
    virtual void CloseWindow() = 0;
    // Clicks the maker label; returns the address it had opened once that is known.
    virtual std::wstring ClickMaker() = 0;

    // Waits until the dialog has closed and the program has ended without a report.
    virtual bool Closed() = 0;
    // Waits for the message the program shows, dismisses it and returns its text once the
    // program has ended.
    virtual std::wstring Report() = 0;
};

std::unique_ptr<SettingsDialogDriver> MakeSettingsDialogDriver();
