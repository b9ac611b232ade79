// The High Scores window: it reads the three record files once, when it is first loaded (later
// records reach its boxes from the end of a game), and its button closes it.
#include "game/handlers.h"
#include "game/record_file.h"
#include "game/window/ops.h"

namespace squeakrun {

void Form4_Form_Load(Game& g) {
    Form4& w = g.f4;
    w.RichTextBox1.Text = loadRecordFile(appFile(g, "hscore.txt"));
    w.RichTextBox2.Text = loadRecordFile(appFile(g, "name.txt"));
    w.RichTextBox3.Text = loadRecordFile(appFile(g, "comment.txt"));
}

// Closing resumes the game; the keyboard stays away from the key box until the field is clicked.
void Form4_Command1_Click(Game& g) {
    resumeGame(g);
    g.f4.Visible = false;
}

} // namespace squeakrun
