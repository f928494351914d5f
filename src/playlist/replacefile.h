#pragma once

#include <span>
#include <string>

// Replaces the file at path with bytes, or leaves it exactly as it was: the bytes go to a new
// file in the same folder, which is flushed to the disk and only then renamed over the old one;
// the folder is synced after the rename. A path that names a symbolic link replaces the file the
// link points to, and a replaced file keeps its mode (and its owner where that can be kept). Only
// a regular file or a name not yet taken is replaced. False when any step fails; a failure before
// the rename changes nothing.
bool ReplaceFile(const std::string& path, std::span<const unsigned char> bytes);
