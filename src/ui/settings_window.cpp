// The Game Settings window: loading it fills the difficulty list and copies the players' names;
// Apply writes new names and difficulty into the main window and asks for a reset, Cancel closes it.
#include "game/handlers.h"
#include "game/window/ops.h"

namespace squeakrun {

void Form3_Form_Load(Game& g) {
    Form3& w = g.f3;
    w.Combo1.Items = {"Easy", "Average", "Hard"};
    w.Combo1.ListIndex = 0;
    w.txtp1name.Text = g.f1.lblpname1.Caption;
    w.txtp2name.Text = g.f1.lblpname.Caption;
}

// Applying throws away the game in progress, so the players confirm first. The movement tick sees
// `changed` and puts the main window back to the state before the start button.
void Form3_cmdupdate_Click(Game& g) {
    if (message(g, "This will reset your game, are you sure you want to proceed?", Buttons::YesNo,
                "Proceed with changes?") == Button::No)
        return;
    Form3& w = g.f3;
    g.f1.lblpname1.Caption = w.txtp1name.Text;
    g.f1.lblpname.Caption = w.txtp2name.Text;

    for (Player& pl : g.p)
        pl.tgas = 30;
    for (int i : {1, 0})
        showNumber(g.ctl(kPlayers[i].gasLabel), g.p[i].tgas);

    static constexpr const char* kLevels[] = {"1", "2", "3"};
    if (w.Combo1.ListIndex >= 0 && w.Combo1.ListIndex < 3) g.dif = kLevels[w.Combo1.ListIndex];

    // The game stays paused until the reset; `allowed` lets the movement tick run to perform it,
    // and the first bonus item is not placed again before a new game starts.
    g.paused = true;
    g.allowed = true;
    g.f1.mnuFilePause.Caption = "Pause Game";
    g.changed = true;
    g.items[0].loaded = true;
    w.Visible = false;
}

// Cancel resumes the game; what was typed stays in the boxes for the next opening.
void Form3_cmdcancel_Click(Game& g) {
    resumeGame(g);
    g.f3.Visible = false;
}

} // namespace squeakrun
