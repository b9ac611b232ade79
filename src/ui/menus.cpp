#include "game/handlers.h"

namespace squeakrun {

void Form1_mnuFilePause_Click(Game&) {}
void Form1_mnuFileSettings_Click(Game&) {}
void Form1_mnuFileScores_Click(Game&) {}
void Form1_mnuFileExit_Click(Game&) {}
void Form1_mnuHelpRules_Click(Game&) {}
void Form1_mnuHelpControls_Click(Game&) {}
void Form1_mnuHelpAbout_Click(Game&) {}
void Form1_lblp1gas_Click(Game&) {}
void Form1_lblp2gas_Click(Game&) {}
void Form1_Picture2_Click(Game&) {}

} // namespace squeakrun
