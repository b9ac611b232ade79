// Everything the game needs from the world outside its own state: boxes, its folder, and ending.
#pragma once

#include <filesystem>
#include <string>

namespace squeakrun {

enum class Buttons { OK, YesNo };
enum class Button { OK, Yes, No };

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
    // The Exit command: close every window and end the program once the current handler returns.
    virtual void quit() = 0;
};

} // namespace squeakrun
