// The rich-text layer of the high-score record: reading the plain text out of any RTF document (or of a
// plain-text file) and writing the one-paragraph document the game keeps its score, name and comment in.
#pragma once

#include <string>
#include <string_view>

namespace squeakrun {

// Plain text of any RTF document, or of a file of plain text (no "{\rtf" at its start). Result is UTF-8.
// Paragraph marks (\par) and \line inside the text become "\r\n"; the closing paragraph mark (a trailing
// \par, or one trailing line break of a plain-text file) is not part of the text. Never crashes, hangs or
// grows without bound on hostile input: the text is at most three bytes per byte of the document.
std::string rtfToText(std::string_view document);

// A one-paragraph document of the game's documented shape holding `text` (UTF-8) exactly, CR LF line
// breaks. rtfToText gives back `text` for every valid UTF-8 text; invalid bytes are written as U+FFFD.
std::string textToRtf(std::string_view text);

} // namespace squeakrun
