// The High Scores window: it reads the three record files once, when it is first loaded (later
// records reach its boxes from the end of a game), and its button closes it.
#include "rules/events.h"
#include "rules/pausing.h"
#include "rules/saved_records.h"

namespace squeakrun {

void loadScoresWindow(Game& g) {
    ScoresWindow& w = g.scores;
    w.scoreBox.text = loadRecord(g, "hscore.txt");
    w.nameBox.text = loadRecord(g, "name.txt");
    w.commentBox.text = loadRecord(g, "comment.txt");
}

// Closing resumes the game; the keyboard stays away from the key box until the field is clicked.
void closeHighScores(Game& g) {
    resumeGame(g);
    g.scores.visible = false;
}

} // namespace squeakrun
