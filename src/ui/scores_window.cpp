// The High Scores window reads the three record files once, when it is first loaded.
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

} // namespace squeakrun
