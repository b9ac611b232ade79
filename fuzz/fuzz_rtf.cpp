// Fuzz entry point for the rich-text reader and writer of the high-score record: any bytes must read
// without crashing into valid UTF-8 of bounded size, and text must survive the writer and reader unchanged.
#include "records/rtf.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    // The bytes as a record file.
    const std::string text = squeakrun::rtfToText(bytes);
    if (text.size() > 3 * size) std::abort();
    // The writer replaces every byte that is not UTF-8, so only valid text comes back equal.
    if (squeakrun::rtfToText(squeakrun::textToRtf(text)) != text) std::abort();

    // The bytes as a name or comment: what reads back writes the same document again.
    const std::string document = squeakrun::textToRtf(bytes);
    if (squeakrun::textToRtf(squeakrun::rtfToText(document)) != document) std::abort();
    return 0;
}
