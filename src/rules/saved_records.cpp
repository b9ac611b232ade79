#include "rules/saved_records.h"

#include "records/record_file.h"
#include <filesystem>

namespace squeakrun {

std::string loadRecord(Game& g, std::string_view name) {
    const std::filesystem::path own = g.platform.recordFolder() / name;
    std::error_code error;
    return loadRecordFile(std::filesystem::exists(own, error) ? own : g.platform.appFolder() / name);
}

bool saveRecord(Game& g, std::string_view name, std::string_view text) {
    const std::filesystem::path folder = g.platform.recordFolder();
    std::error_code error; // a folder that cannot be made fails the save below
    std::filesystem::create_directories(folder, error);
    return saveRecordFile(folder / name, text);
}

} // namespace squeakrun
