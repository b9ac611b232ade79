// The game window: the menu bar, the playfield view and the three small windows, all following the
// model after every event. Typed characters go to the game's key box as they are; Ctrl shortcuts go
// to the menu. Nothing here decides anything about the game: every choice is the core's.
#pragma once

#include "rules/state.h"
#include "session/inputs.h"

#include <QMainWindow>
#include <QStringList>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QMessageBox;

namespace squeakrun::qt {

class AboutDialog;
class ClockDriver;
class ComputerChoice;
class ControlsWindow;
class Gamepads;
class KeyBindings;
class PixmapCache;
class PlayfieldView;
class ScoresDialog;
class SettingsDialog;
class Speaker;

class GameWindow : public QMainWindow {
    Q_OBJECT
  public:
    // The platform answers the game's boxes and names its folder (images/ lies there); the clock
    // driver runs the game clock and lets events in; `seed` is the game's, from which the computer's drivers
    // draw their own slips.
    GameWindow(Game& game, Platform& platform, ClockDriver& clock, std::uint64_t seed,
               QWidget* parent = nullptr);
    ~GameWindow() override;

    // To be called before the application object is made. On X11 the window's frames go to the
    // server through its socket rather than through shared memory: a frame repaints a few small
    // places, and with shared memory each paint of a place the previous frame touched first waits
    // for a round trip to the server. The event loop is Qt's own rather than GLib's. Each is left
    // alone when the user chose otherwise.
    static void prepareWindowSystem();

    PlayfieldView* view() const { return view_; }
    AboutDialog* aboutWindow() const { return about_; }
    SettingsDialog* settingsWindow() const { return settings_; }
    ScoresDialog* scoresWindow() const { return scores_; }
    PixmapCache& pictures() const { return *pictures_; }
    // Who drives each car; its seatChanged tells when that changes.
    ComputerChoice& computer() const { return *computer_; }

    // The players' keys, by their place on the keyboard.
    KeyBindings& keys() const { return *keys_; }
    // Options > Controls…
    ControlsWindow* controlsWindow() const { return controls_; }
    Gamepads& gamepads() const { return *pads_; }
    // What the game window last told the players about their pads, if anything.
    QMessageBox* padNotice() const { return padNotice_; }

    // The Options menu, between File and Help, made on first use: the players' own choices, which
    // change no rule of the game.
    QMenu* optionsMenu();

    // Adds the player's switch for the sound (Ctrl+M) to the Options menu.
    void addSoundEntry(Speaker& speaker);

    // The menu entry standing for a menu control of the model (&MainWindow::pauseEntry), or null.
    QAction* action(Control MainWindow::*control) const;

    // Sizes the window so its content shows at `scale`.
    void resizeForScale(int scale);
    // The scale the window opens at on its screen.
    int openingScale() const;

    // Follows the model: menu captions and states, the small windows, and a repaint if needed.
    void followModel();

    // The game's pictures that cannot be found; the first call tells the players once, in one box.
    QStringList missingArtwork();
    void reportMissingArtwork();

  protected:
    void keyPressEvent(QKeyEvent*) override;
    void closeEvent(QCloseEvent*) override;
    bool focusNextPrevChild(bool) override { return false; }

  private:
    struct ShownEntry {
        QAction* action;
        Control MainWindow::*control;
        std::string caption;        // as last given to the action, so that an unchanged one costs nothing
        std::optional<Input> input; // what choosing it plays; none for a menu of its own
    };
    void buildMenus();
    void addControlsEntry();
    // Types the players' keys into the game, but for a car the computer drives.
    void playKeys(std::vector<std::string> typed);
    void padLost(int player);

    Game& g_;
    Platform& platform_;
    ClockDriver& clock_;
    std::unique_ptr<PixmapCache> pictures_;
    std::unique_ptr<KeyBindings> keys_;
    PlayfieldView* view_;
    AboutDialog* about_;
    SettingsDialog* settings_;
    ScoresDialog* scores_;
    ComputerChoice* computer_;
    ControlsWindow* controls_ = nullptr;
    Gamepads* pads_ = nullptr;
    QMessageBox* padNotice_ = nullptr;
    QMenu* options_ = nullptr;
    std::vector<ShownEntry> entries_;
    bool missingReported_ = false;
};

} // namespace squeakrun::qt
