// The game's boxes, sounds and folders on a real desktop: modal QMessageBox and QInputDialog, the
// speaker, where the artwork and the records live, and ending the program once the running handler
// has returned.
#pragma once

#include "window/platform.h"

#include <QPointer>
#include <QSettings>
#include <QWidget>

#include <cstdint>
#include <functional>

namespace squeakrun::qt {

// What the clock driver needs to know about modal boxes: while one is open the game clock stands
// still, and the time it was open is dropped.
class Speaker;

class ModalWatch {
  public:
    virtual ~ModalWatch() = default;
    virtual bool boxOpen() const = 0;
    // How many boxes have been closed since the program started.
    virtual std::int64_t boxesClosed() const = 0;
};

class QtPlatform : public Platform, public ModalWatch {
  public:
    // The artwork lies in images/ beside the program (the self-contained folder, the build folder) or,
    // installed, in ../share/games/squeakrun/images. The records stay beside the program when the
    // artwork does and the program may write there; otherwise they live in the player's data folder
    // (XDG_DATA_HOME/squeakrun), and records shipped with the game are read until the player has own.
    QtPlatform();
    QtPlatform(const std::filesystem::path& programFolder, std::filesystem::path playerFolder);

    Button messageBox(const std::string& text, Buttons buttons, const std::string& title) override;
    std::string inputBox(const std::string& prompt, const std::string& title,
                         const std::string& defaultAnswer) override;
    std::filesystem::path appFolder() override { return appFolder_; }
    std::filesystem::path recordFolder() override { return recordFolder_; }
    void quit() override;
    // Heard through the speaker, when there is one.
    void cue(Cue cue) override;
    void setSpeaker(Speaker* speaker) { speaker_ = speaker; }
    // The keys' names come from the players' bindings once they are known.
    std::string keyName(char letter) override {
        return keyNames_ ? keyNames_(letter) : Platform::keyName(letter);
    }
    void setKeyNames(std::function<std::string(char)> names) { keyNames_ = std::move(names); }

    bool boxOpen() const override { return open_ > 0; }
    std::int64_t boxesClosed() const override { return closed_; }

    // Boxes are centred over this window once it is on screen.
    void setDialogParent(QWidget* parent) { parent_ = parent; }
    // Called just before a box opens, so the window can show the game as it stands behind the box.
    void setBeforeBox(std::function<void()> hook) { beforeBox_ = std::move(hook); }

  private:
    QWidget* dialogParent() const;
    // Keeps the open count right even if a box's event loop is left by an exception.
    struct OpenBox {
        explicit OpenBox(QtPlatform& p) : p(p) { ++p.open_; }
        ~OpenBox() {
            --p.open_;
            ++p.closed_;
        }
        QtPlatform& p;
    };

    std::filesystem::path appFolder_, recordFolder_;
    QPointer<QWidget> parent_;
    Speaker* speaker_ = nullptr;
    std::function<void()> beforeBox_;
    std::function<std::string(char)> keyNames_;
    int open_ = 0;
    std::int64_t closed_ = 0;
    bool quitting_ = false;
};

// The players' own choices kept between runs (the Options menu's): squeakrun/squeakrun.conf in the
// player's config folder (XDG_CONFIG_HOME, ~/.config when it is not set).
QSettings playersChoices();

} // namespace squeakrun::qt
