#include <gtest/gtest.h>

#include "fakes/RecordingScreenSaver.h"

namespace {

// The window and the player control, recording into the same call list.
class FakeWindow : public SaverWindowHost, public SaverPlayerControl {
  public:
    explicit FakeWindow(std::vector<std::string>& calls) : calls_(calls) {}
    bool minimized = false;
    std::wstring appPath = L"C:\\Program Files\\Pellox";

    ss::Window Handle() override { return 0x77; }
    bool IsMinimized() override { return minimized; }
    int Width() override { return 1920; }
    int Height() override { return 1080; }
    std::wstring AppPath() override { return appPath; }
    void ClearPointerOverride() override { calls_.push_back("ClearPointerOverride"); }
    void TerminateProcess() override { calls_.push_back("TerminateProcess"); }

    void SetMovie(const std::wstring& path) override {
        calls_.push_back("Movie=" + std::string(path.begin(), path.end()));
    }
    void SetTop(int v) override { calls_.push_back("Top=" + std::to_string(v)); }
    void SetLeft(int v) override { calls_.push_back("Left=" + std::to_string(v)); }
    void SetWidth(int v) override { calls_.push_back("Width=" + std::to_string(v)); }
    void SetHeight(int v) override { calls_.push_back("Height=" + std::to_string(v)); }

  private:
    std::vector<std::string>& calls_;
};

struct Saver {
    RecordingScreenSaver system;
    FakeWindow window{system.calls};
    std::int32_t runMode = 1;
    frmMain form{system, runMode, window, window};
};

const std::vector<std::string> kEndSaver = {
    "ShowCursor(true)",
    "SetWindowPos(119, -2, 0, 0, 0, 0, 0x1)",
    "SystemParametersInfoA(97, 0x0, ptr, 0)",
    "TerminateProcess",
};

TEST(SaverWindowTest, LoadSetsTheMovieBesideTheProgram) {
    Saver saver;
    saver.form.Form_Load();
    saver.window.appPath = L"D:\\";  // a drive root already ends in a backslash
    saver.form.Form_Load();
    EXPECT_EQ(saver.system.calls,
              (std::vector<std::string>{"Movie=C:\\Program Files\\Pellox\\PELLOXSS1.SWF",
                                        "Movie=D:\\PELLOXSS1.SWF"}));
}

TEST(SaverWindowTest, ResizeFillsTheWindowUnlessMinimised) {
    Saver saver;
    saver.window.minimized = true;
    saver.form.Form_Resize();
    EXPECT_TRUE(saver.system.calls.empty());
    saver.window.minimized = false;
    saver.form.Form_Resize();
    EXPECT_EQ(saver.system.calls,
              (std::vector<std::string>{"Top=0", "Left=0", "Width=1920", "Height=1080"}));
}

TEST(SaverWindowTest, FourthMouseMoveEnds) {
    Saver saver;
    for (int i = 0; i < 3; ++i) saver.form.swf_FSCommand(L"MOUSEMOVE", L"");
    EXPECT_EQ(saver.form.MouseMoveCount, 3);
    EXPECT_TRUE(saver.system.calls.empty());
    saver.form.swf_FSCommand(L"MOUSEMOVE", L"ignored");
    EXPECT_EQ(saver.system.calls, kEndSaver);
    EXPECT_EQ(saver.form.MouseMoveCount, 3);
}

TEST(SaverWindowTest, KeyCommandsAndKeyPressEndAtOnce) {
    for (const wchar_t* command : {L"KEYDOWN", L"KEYUP"}) {
        Saver saver;
        saver.form.swf_FSCommand(command, L"");
        EXPECT_EQ(saver.system.calls, kEndSaver);
    }
    Saver saver;
    saver.form.Form_KeyPress('x');
    EXPECT_EQ(saver.system.calls, kEndSaver);
}

TEST(SaverWindowTest, OtherCommandsAreIgnoredCaseSensitively) {
    Saver saver;
    for (const wchar_t* command :
         {L"mousemove", L"keydown", L"KeyUp", L"QUIT", L"", L"MOUSEMOVE "}) {
        saver.form.swf_FSCommand(command, L"");
    }
    EXPECT_TRUE(saver.system.calls.empty());
    EXPECT_EQ(saver.form.MouseMoveCount, 0);
}

TEST(SaverWindowTest, UnloadRestoresTheCursorOnlyInFullScreen) {
    Saver full;
    EXPECT_FALSE(full.form.Form_Unload());
    EXPECT_EQ(full.system.calls,
              (std::vector<std::string>{"ShowCursor(true)", "ClearPointerOverride"}));
    Saver preview;
    preview.runMode = 4;
    EXPECT_FALSE(preview.form.Form_Unload());
    EXPECT_EQ(preview.system.calls, std::vector<std::string>{"ClearPointerOverride"});
}

}  // namespace
