#pragma once
// Identifiers of the program's resources.
#define IDC_OVANTA_HAND 101
