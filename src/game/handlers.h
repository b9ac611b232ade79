// Every event handler of the game, named after its window, control and event.
#pragma once

namespace squeakrun {

struct Game;

// Main window: start-up, the start button, reviving a player and the end of a game.
void Form1_Form_Load(Game& g);
void Form1_Command3_Click(Game& g);
void undead(Game& g);
void dead(Game& g);

// Keyboard.
void Form1_Text3_Change(Game& g);
void Form1_Timer8_Timer(Game& g);

// The simulation ticks.
void Form1_Timer1_Timer(Game& g);
void Form1_Timer2_Timer(Game& g);
void Form1_Timer3_Timer(Game& g);
void Form1_Timer4_Timer(Game& g);
void Form1_Timer5_Timer(Game& g);
void Form1_Timer6_Timer(Game& g);
void Form1_Timer7_Timer(Game& g);

// Menus and focus clicks.
void Form1_mnuFilePause_Click(Game& g);
void Form1_mnuFileSettings_Click(Game& g);
void Form1_mnuFileScores_Click(Game& g);
void Form1_mnuFileExit_Click(Game& g);
void Form1_mnuHelpRules_Click(Game& g);
void Form1_mnuHelpControls_Click(Game& g);
void Form1_mnuHelpAbout_Click(Game& g);
void Form1_lblp1gas_Click(Game& g);
void Form1_lblp2gas_Click(Game& g);
void Form1_Picture2_Click(Game& g);

// The small windows.
void Form2_Command1_Click(Game& g);
void Form3_Form_Load(Game& g);
void Form3_cmdupdate_Click(Game& g);
void Form3_cmdcancel_Click(Game& g);
void Form4_Form_Load(Game& g);
void Form4_Command1_Click(Game& g);

} // namespace squeakrun
