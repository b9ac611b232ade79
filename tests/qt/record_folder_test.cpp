// Where the records live: beside the program while it may write there, else in the player's data
// folder, where a new record lands and is found again at the next start, while a read-only program
// folder keeps only what it shipped with. Runs as an ordinary user (root writes anywhere).
#include "qt/qt_platform.h"
#include "records/record_file.h"
#include "rules/events.h"
#include "rules/state.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

using namespace squeakrun;
namespace fs = std::filesystem;

namespace {

// The real folders, with every box answered at once with its default.
class AnsweredPlatform : public qt::QtPlatform {
  public:
    using QtPlatform::QtPlatform;
    Button messageBox(const std::string&, Buttons, const std::string&) override { return Button::OK; }
    std::string inputBox(const std::string&, const std::string&, const std::string& answer) override {
        return answer;
    }
};

QStringList contents(const fs::path& folder) {
    return QDir(QString::fromStdString(folder.string())).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
}

} // namespace

class RecordFolderTest : public QObject {
    Q_OBJECT
  private slots:
    void init() {
        if (geteuid() == 0) QSKIP("root writes into read-only folders: run as an ordinary user");
    }
    void theLayoutDecides();
    void aReadOnlyProgramFolderSendsTheRecordToThePlayersFolder();
};

void RecordFolderTest::theLayoutDecides() {
    QTemporaryDir dir;
    const fs::path root = dir.path().toStdString(), player = root / "data";
    fs::create_directories(root / "own/images");
    fs::create_directories(root / "usr/games");
    fs::create_directories(root / "usr/share/games/squeakrun/images");

    AnsweredPlatform selfContained(root / "own", player);
    QCOMPARE(selfContained.appFolder(), root / "own");
    QCOMPARE(selfContained.recordFolder(), root / "own");
    // Installed: the artwork in share/, the records never beside the program, even where it may write.
    AnsweredPlatform installed(root / "usr/games", player);
    QCOMPARE(installed.appFolder(), root / "usr/share/games/squeakrun");
    QCOMPARE(installed.recordFolder(), player);
}

void RecordFolderTest::aReadOnlyProgramFolderSendsTheRecordToThePlayersFolder() {
    QTemporaryDir dir;
    const fs::path program = fs::path(dir.path().toStdString()) / "game";
    const fs::path player = fs::path(dir.path().toStdString()) / "data/squeakrun";
    fs::create_directories(program / "images");
    QVERIFY(saveRecordFile(program / "hscore.txt", "5"));
    fs::permissions(program, fs::perms::owner_write, fs::perm_options::remove);
    const QStringList shipped = contents(program);

    AnsweredPlatform first(program, player);
    Game g(first, 1);
    startUp(g);
    QCOMPARE(g.window.highScoreBox.text, std::string("5")); // the shipped record, until there is one
    pressStartButton(g);
    g.players[1].score = 12;
    endGame(g);
    QCOMPARE(contents(player), QStringList({"comment.txt", "hscore.txt", "name.txt"}));
    QCOMPARE(contents(program), shipped);
    QCOMPARE(loadRecordFile(program / "hscore.txt"), std::string("5"));

    AnsweredPlatform next(program, player);
    Game again(next, 1);
    startUp(again);
    loadScoresWindow(again);
    QCOMPARE(again.window.highScoreBox.text, std::string("12"));
    QCOMPARE(again.scores.nameBox.text, std::string("Scamper"));
    fs::permissions(program, fs::perms::owner_write, fs::perm_options::add);
}

QTEST_MAIN(RecordFolderTest)
#include "record_folder_test.moc"
