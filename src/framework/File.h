#pragma once
#include <string>

namespace fw {

// Reads a whole file, opened for reading while others may not write to it. False when
// it cannot be opened or read, or holds more than maxBytes.
bool ReadWholeFile(const std::string& path, std::string& bytes, std::size_t maxBytes = 256u * 1024 * 1024);

// Replaces a file's contents in one step: the bytes go to a temporary file beside it,
// which then takes the file's place. A failure at any point leaves the old file as it
// was, so a full disk or a crash during a save never costs the only copy.
bool ReplaceFileContents(const std::string& path, const std::string& bytes);

} // namespace fw
