#pragma once
// Factories of the Linux adapters.

#include <memory>

#include "platform/SystemVersion.h"
#include "platform/TextCompare.h"
#include "platform/mRegistry.h"

std::unique_ptr<TextCompare> MakeIcuTextCompare();
