// The record files the game keeps between runs, such as "hscore.txt".
#pragma once

#include "rules/state.h"

#include <string>
#include <string_view>

namespace squeakrun {

// A record file such as "hscore.txt": the record folder's own copy, else the one shipped in the
// application folder; empty text when there is neither.
std::string loadRecord(Game& g, std::string_view name);
// Saves a record file in the record folder, making the folder if needed; false when it fails.
bool saveRecord(Game& g, std::string_view name, std::string_view text);

} // namespace squeakrun
