#pragma once
// Factories of the Win32 adapters.

#include <memory>

#include "platform/SystemVersion.h"
#include "platform/TextCompare.h"
#include "platform/TextEncoding.h"
#include "platform/mRegistry.h"

std::unique_ptr<mRegistry> MakeWin32Registry();
std::unique_ptr<SystemVersion> MakeWin32Version();
std::unique_ptr<TextCompare> MakeWin32TextCompare();
// The system's ANSI code page.
const CodePage& Win32AnsiCodePage();
