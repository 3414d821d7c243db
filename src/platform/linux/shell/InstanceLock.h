#pragma once
// The full-screen instance guard on Linux: a lock on a file of a folder that belongs to the
// user alone, so that no other local user can hold the lock or plant a link in its place.

#include <memory>
#include <string>

#include "platform/mScreenSaver.h"

// folder: where the lock file "pelloxss.fullscreen.lock" lives; empty means the user's
// runtime folder, looked for when the guard is first asked: $XDG_RUNTIME_DIR when it is a
// private folder of the user's, else "pelloxss" under $XDG_CACHE_HOME (or ~/.cache, made when
// missing), never a shared folder such as /tmp. The folder is made 0700 when missing; a
// folder or lock file that is a link, is not the user's, or that others may enter or read is
// refused, and the lock then counts as held by another instance.
std::unique_ptr<InstanceGuard> MakeFileLockInstanceGuard(const std::string& folder = "");
