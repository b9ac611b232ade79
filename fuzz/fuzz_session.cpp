// Fuzz entry point for the reader of scenario lines on bytes as they come: any file someone was given
// to watch or to check. Whatever the reader accepts plays headless to its end through the runner.
// Nothing may crash, hang or trip the sanitizers, and a file accepted as a recorded session must be
// accepted as a scenario too: a session is a scenario file.
#include "scenario_bytes.h"

#include "headless/scenario.h"
#include "session/script.h"

#include <cstdlib>
#include <sstream>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace squeakrun;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto scenario = readScript(text, Dialect::Test);
    const auto* script = std::get_if<Script>(&scenario);
    if (std::holds_alternative<Script>(readScript(text, Dialect::Session)) && !script) std::abort();
    // Hours of play are allowed, but would slow the fuzzer to a crawl.
    if (script && script->gameMs <= fuzz::kMaxGameMs) {
        std::ostringstream out;
        runScenario(text, "fuzz.scn", out);
    }
    return 0;
}
