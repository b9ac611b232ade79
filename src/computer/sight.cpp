// Reading one player's view off the window model.
#include "computer/sight.h"

#include "rules/devices.h"
#include "rules/pausing.h"

namespace squeakrun {

Sight::Sight(const MainWindow& window, int player)
    : w(window), row(kPlayers[player]), otherRow(kPlayers[1 - player]), self(w.*row.car),
      other(w.*otherRow.car) {
    running = !w.startButton.visible;
    paused = w.pauseEntry.caption == kResumeCaption;
    heading = shownHeading(row, self.picture);
    const Control& countdown = w.*row.countdownLabel;
    splattered =
        self.picture == row.cheeseCrashPicture && !(countdown.visible && countdown.caption == kGoCaption);
    shopping = !self.visible && (w.*row.gauge).visible;
    if (shopping) gauge = shownGauge(w.*row.gauge);
    gas = shownNumber((w.*row.gasLabel).caption);
    score = shownNumber((w.*row.scoreLabel).caption);
    lives = shownNumber((w.*row.livesLabel).caption);
    device = shownDevice((w.*row.deviceLabel).picture);
    stock = shownStock((w.*row.stockLabel).caption);
}

int bonusKindShown(std::string_view picture) {
    for (std::size_t k = 0; k < kBonusKinds.size(); ++k)
        if (picture == kBonusKinds[k].picture) return static_cast<int>(k);
    return -1;
}

} // namespace squeakrun
