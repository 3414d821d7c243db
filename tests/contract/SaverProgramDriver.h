#pragma once
// The saver program of one platform as the shared suite drives it, with a clock file beside it:
// pelloxss.scr under Wine or pelloxss under Xvfb (see each platform's SaverProgramDriver.cpp).

#include <memory>
#include <string>

#include "support/Process.h"

class SaverProgramDriver {
  public:
    virtual ~SaverProgramDriver() = default;

    // Starts the program with the argument text.
    virtual std::unique_ptr<TestProcess> Start(const std::string& arguments) = 0;
    // Waits until a window of the program covers the whole screen above the others, with clocks
    // drawn over it.
    virtual bool CoversTheScreen(TestProcess& program) = 0;
    virtual void MovePointer(int x, int y) = 0;
    // A key with a character ('a'), or without one (0: Shift), while the program has the keys.
    virtual void PressKey(TestProcess& program, char key) = 0;
    // A window standing in for the display settings' preview area; returns its handle.
    virtual std::string OpenHost() = 0;
    // Waits until a window of the program fills the host as its child, drawn, without having
    // taken the focus.
    virtual bool FillsHost() = 0;
    virtual void CloseHost() = 0;
    // A top-level window titled "Display Properties".
    virtual void OpenDisplayProperties() = 0;
    // Waits for the failure report the program shows and returns its text; the program then
    // ends.
    virtual std::string Report(TestProcess& program) = 0;
};

std::unique_ptr<SaverProgramDriver> MakeSaverProgramDriver();

// The clock file the drivers put beside the program.
inline const char* const kClockFile =
    "<?xml version=\"1.0\"?><serie><value name=\"A\">GMT+00:00</value><value name=\"B\">GMT-05:00"
    "</value><value name=\"C\">GMT+05:30</value><value name=\"D\">GMT+08:00</value><value "
    "name=\"E\">GMT+01:00</value></serie>";
