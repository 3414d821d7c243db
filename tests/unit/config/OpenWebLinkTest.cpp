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
    EXPECT_EQ(call.file, "https://example.com/caf\xe9");  // the ANSI code page
    EXPECT_EQ(call.parameters, "");
    EXPECT_FALSE(call.directory.has_value());
    EXPECT_EQ(call.show, kSwShowNormal);
    EXPECT_EQ(call.pointerDuringCall, PointerShape::Hourglass);
    EXPECT_EQ(pointer.history, (std::vector{PointerShape::Hourglass, PointerShape::Default}));
}

TEST(OpenWebLink, PointerEndsClearedWhateverFails) {
    for (int failing : {0, 1, 2}) {  // the shell, the hourglass, nothing (an empty address)
        FakePointer pointer;
        FakeShell shell(&pointer);
        shell.fail = failing == 0;
        pointer.failSetting = failing == 1;
        pointer.current = PointerShape::Hourglass;  // set before the call
        const std::wstring address = failing == 2 ? L"   " : L"https://example.com/";
        EXPECT_NO_THROW(OpenWebLink(shell, pointer, Utf8CodePage(), address));
        EXPECT_EQ(shell.calls.size(), failing == 2 ? 0u : 1u) << failing;
        EXPECT_EQ(pointer.current, PointerShape::Default) << failing;
    }
}

}  // namespace
