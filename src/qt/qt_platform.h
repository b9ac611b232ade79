// The game's boxes and its folder on a real desktop: modal QMessageBox and QInputDialog, the folder
// of the executable, and ending the program once the running handler has returned.
#pragma once

#include "window/platform.h"

#include <QPointer>
#include <QWidget>

#include <cstdint>
#include <functional>

namespace squeakrun::qt {

// What the clock driver needs to know about modal boxes: while one is open the game clock stands
// still, and the time it was open is dropped.
class ModalWatch {
  public:
    virtual ~ModalWatch() = default;
    virtual bool boxOpen() const = 0;
    // How many boxes have been closed since the program started.
    virtual std::int64_t boxesClosed() const = 0;
};

class QtPlatform : public Platform, public ModalWatch {
  public:
    Button messageBox(const std::string& text, Buttons buttons, const std::string& title) override;
    std::string inputBox(const std::string& prompt, const std::string& title,
                         const std::string& defaultAnswer) override;
    std::filesystem::path appFolder() override;
    void quit() override;

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

    QPointer<QWidget> parent_;
    std::function<void()> beforeBox_;
    int open_ = 0;
    std::int64_t closed_ = 0;
    bool quitting_ = false;
};

} // namespace squeakrun::qt
