#include <gtest/gtest.h>

#include "fakes/FakeProgramPorts.h"
#include "shell/OpenWebLink.h"

namespace {

TEST(OpenWebLink, OpensTheAddressWithTheHourglassShownDuringTheCall) {
    FakePointer pointer;
    FakeShell shell(&pointer);
    OpenWebLink(shell, pointer, Windows1252CodePage(), L"https://example.com/caf\u00e9");
    ASSERT_EQ(shell.calls.size(), 1u);
    const FakeShell::Call& call = shell.calls[0];
    EXPECT_EQ(call.owner, 0u);
    EXPECT_EQ(call.verb, "open");
    EXPECT_EQ(call.file, "https://example.com/caf\xe9");  // ANSI code page
    EXPECT_EQ(call.parameters, "");
    EXPECT_FALSE(call.directory.has_value());
    EXPECT_EQ(call.show, kSwShowNormal);
    EXPECT_EQ(call.pointerDuringCall, PointerShape::Hourglass);
    EXPECT_EQ(pointer.history,
              (std::vector<PointerShape>{PointerShape::Hourglass, PointerShape::Default}));
}

TEST(OpenWebLink, PointerEndsClearedWhateverFails) {
    // The shell fails.
    FakePointer pointer;
    FakeShell shell(&pointer);
    shell.fail = true;
    EXPECT_NO_THROW(OpenWebLink(shell, pointer, Utf8CodePage(), L"https://example.com/"));
    EXPECT_EQ(pointer.current, PointerShape::Default);

    // An empty address opens nothing and still clears an override set before the call.
    FakePointer busy;
    busy.current = PointerShape::Hourglass;
    FakeShell idle(&busy);
    OpenWebLink(idle, busy, Utf8CodePage(), L"");
    OpenWebLink(idle, busy, Utf8CodePage(), L"   ");
    EXPECT_TRUE(idle.calls.empty());
    EXPECT_EQ(busy.current, PointerShape::Default);

    // Setting the hourglass fails: the shell is still asked and the pointer reset.
    FakePointer broken;
    broken.failSetting = true;
    FakeShell shell2(&broken);
    EXPECT_NO_THROW(OpenWebLink(shell2, broken, Utf8CodePage(), L"https://example.com/"));
    EXPECT_EQ(shell2.calls.size(), 1u);
    EXPECT_EQ(broken.current, PointerShape::Default);
}

}  // namespace
