// The Game Settings window: loading it fills the difficulty list and copies the players' names.
#include "game/handlers.h"
#include "game/state.h"

namespace squeakrun {

void Form3_Form_Load(Game& g) {
    Form3& w = g.f3;
    w.Combo1.Items = {"Easy", "Average", "Hard"};
    w.Combo1.ListIndex = 0;
    w.txtp1name.Text = g.f1.lblpname1.Caption;
    w.txtp2name.Text = g.f1.lblpname.Caption;
}

} // namespace squeakrun
