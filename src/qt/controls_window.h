// Options > Controls…: both players' seven actions with their keys as the players' keyboard labels
// them. Click an action and press a key to bind it (Esc cancels); a key another action has is refused
// with a line saying whose it is. Every key held lights up, so that two players can see whether their
// keyboard takes their combination at all before they blame the game.
#pragma once

#include "qt/key_bindings.h"

#include <QDialog>

#include <array>
#include <optional>
#include <vector>

class QLabel;
class QPushButton;

namespace squeakrun::qt {

class Gamepads;

class ControlsWindow : public QDialog {
    Q_OBJECT
  public:
    ControlsWindow(KeyBindings& keys, Gamepads& pads, QWidget* parent = nullptr);

    QPushButton* button(Seat seat) const;
    QPushButton* restoreButton() const { return restore_; }
    QPushButton* swapButton() const { return swap_; }
    // Which pad drives which player, as the window says it.
    QString padsText() const;
    // The last word to the players: what a key press did, or why it was refused.
    QString line() const;
    // The keys held now, as the panel lists them.
    QString held() const;

    // Shows every key with its current caption (the layout may have changed since).
    void refresh();

  protected:
    bool event(QEvent* e) override;
    void showEvent(QShowEvent* e) override;

  private:
    void choose(Seat seat);
    void bindPressed(const QKeyEvent& e);
    void hold(const QKeyEvent& e, bool down);
    void showHeld();
    void restoreDefaults();
    void showPads();

    KeyBindings& keys_;
    Gamepads& pads_;
    std::array<std::array<QPushButton*, kActionCount>, 2> buttons_{};
    QPushButton* restore_;
    QPushButton* swap_;
    QLabel* padsLine_;
    QLabel* line_;
    QLabel* held_;
    std::optional<Seat> waiting_;
    struct Held {
        quint64 id; // the key's place, or its Qt key where the platform tells no place
        QString caption;
    };
    std::vector<Held> down_; // in the order pressed
};

} // namespace squeakrun::qt
