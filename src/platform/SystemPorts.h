#pragma once
// The real ports of the platform the program runs on; main/WinMain build them once.

#include <memory>

#include "platform/SystemVersion.h"
#include "platform/TextCompare.h"
#include "platform/mRegistry.h"

struct SystemPorts {
    std::unique_ptr<mRegistry> registry;
    std::unique_ptr<SystemVersion> version;
    std::unique_ptr<TextCompare> textCompare;
};

SystemPorts MakeSystemPorts();
