// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
//
// The one folder of per-user state: the keyboard's contents kept before each
// write (backups/) and the autosave of the working profile.
#pragma once

#include <filesystem>

// $XDG_STATE_HOME/velkorondrix (default ~/.local/state/velkorondrix);
// %LOCALAPPDATA%\VelkorOndrix on Windows. Not created here: writers make
// the folders they write into. Empty when no home folder is known.
std::filesystem::path userStateFolder();
