#pragma once
#include "NoteLook.h"

#include <string>
#include <string_view>

// The settings file keeps the look given to new notes: 46 bytes, "PLOGIC", version 1,
// then the look in the note file's order.
constexpr std::size_t kSettingsFileSize = 46;

std::string EncodeSettings(const NoteLook& look);

// Reads the first 46 bytes; anything after them is ignored. False for another magic or
// version, or a file shorter than 46 bytes; look is then unchanged.
bool DecodeSettings(std::string_view file, NoteLook& look);
