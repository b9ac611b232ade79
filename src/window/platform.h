// Everything the game needs from the world outside its own state: boxes, its folder, the sounds it
// makes, and ending.
#pragma once

#include <array>
#include <filesystem>
#include <string>
#include <string_view>

namespace squeakrun {

enum class Buttons { OK, YesNo };
enum class Button { OK, Yes, No };

// What a player should hear. The game announces each cue at the moment it decides the event; whether
// and how it is heard is the platform's business.
enum class Cue {
    Start,
    Crash,
    Empty,
    Trap,
    Drop,
    Cheese,
    Slick,
    Points,
    Stock,
    Refuel,
    Shop,
    GameOver,
    Record
};
// Each cue's name: the scenario files' word for it and the name of its sound file.
inline constexpr std::array<std::string_view, 13> kCueNames = {
    "start",  "crash", "empty",  "trap", "drop",     "cheese", "slick",
    "points", "stock", "refuel", "shop", "gameover", "record"};
inline std::string_view cueName(Cue cue) {
    return kCueNames[static_cast<std::size_t>(cue)];
}

class Platform {
  public:
    virtual ~Platform() = default;
    // A modal message box; returns the button that closed it. An empty title means the game's own.
    virtual Button messageBox(const std::string& text, Buttons buttons, const std::string& title) = 0;
    // A modal input box; a cancelled box answers empty text.
    virtual std::string inputBox(const std::string& prompt, const std::string& title,
                                 const std::string& defaultAnswer) = 0;
    // The folder that holds images/ and any record files shipped with the game.
    virtual std::filesystem::path appFolder() = 0;
    // The folder the record files (hscore.txt, name.txt, comment.txt) are saved in and read from
    // first; the first save makes it when it is missing.
    virtual std::filesystem::path recordFolder() { return appFolder(); }
    // Something happened that a player should hear; it must never hold up the game.
    virtual void cue(Cue cue) = 0;
    // The Exit command: close every window and end the program once the current handler returns.
    virtual void quit() = 0;
    // How the players' keyboard labels the key that types the game's command letter `letter` (upper
    // case): the letter itself, unless the players' keys lie elsewhere.
    virtual std::string keyName(char letter) { return std::string(1, letter); }
};

} // namespace squeakrun
