#include "qt/main_window.h"

#include "qt/clock_driver.h"
#include "qt/computer_choice.h"
#include "qt/controls_window.h"
#include "qt/gamepads.h"
#include "qt/key_bindings.h"
#include "qt/pixmap_cache.h"
#include "qt/playfield_painter.h"
#include "qt/playfield_view.h"
#include "qt/scaling.h"
#include "qt/signature.h"
#include "qt/small_windows.h"
#include "qt/speaker.h"
#include "rules/events.h"
#include "rules/key_box.h"
#include "rules/ticks.h"
#include "rules/ui/menus.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QScreen>
#include <QShortcut>
#include <QStyle>

#include <cstring>

namespace squeakrun::qt {

namespace {

// Every picture the game may show, so that a missing one is reported at start-up rather than
// discovered in the middle of a game.
const char* const kArtwork[] = {
    "field.gif",        "strip.gif",           "panel.gif",       "station1.gif",   "station11.gif",
    "station12.gif",    "station112.gif",      "gasstation.gif",  "badmouseup.gif", "badmousedown.gif",
    "badmouseleft.gif", "badmouseright.gif",   "mouseup.gif",     "mousedown.gif",  "mouseleft.gif",
    "mouseright.gif",   "bcrash.gif",          "crash.gif",       "bcrashc.gif",    "crashc.gif",
    "trapup.gif",       "trapdown.gif",        "trapleft.gif",    "trapright.gif",  "trapselect.gif",
    "cheeseselect.gif", "raspslickselect.gif", "cheesepiece.gif", "raspslick.gif",  "cheese.gif",
    "strawb.gif",       "slickpup.gif",        "cheeseblob.gif",  "title.gif",      "settings.gif",
    "highscores.gif",   "btnok.gif",           "btnapply.gif",    "btncancel.gif",  "btnback.gif",
};

} // namespace

GameWindow::GameWindow(Game& game, Platform& platform, ClockDriver& clock, std::uint64_t seed,
                       QWidget* parent)
    : QMainWindow(parent), g_(game), platform_(platform), clock_(clock),
      pictures_(std::make_unique<PixmapCache>(platform.appFolder() / "images")),
      keys_(std::make_unique<KeyBindings>(KeyBindings::remembered())),
      computer_(new ComputerChoice(game, clock, seed, this)) {
    setWindowTitle(QStringLiteral("Squeakrun!"));
    setFocusPolicy(Qt::StrongFocus);
    view_ = new PlayfieldView(g_, clock_, *pictures_, this);
    setCentralWidget(view_);
    buildMenus();
    computer_->addEntries(optionsMenu());
    addControlsEntry();

    about_ = new AboutDialog(g_, clock_, *pictures_, this);
    settings_ = new SettingsDialog(g_, clock_, *pictures_, this);
    scores_ = new ScoresDialog(g_, clock_, *pictures_, this);
    connect(view_, &PlayfieldView::scaleChanged, this, [this](int s) {
        for (SmallWindow* w : {static_cast<SmallWindow*>(about_), static_cast<SmallWindow*>(settings_),
                               static_cast<SmallWindow*>(scores_)})
            w->setScale(s);
    });
    connect(&clock_, &ClockDriver::modelTouched, this, &GameWindow::followModel);
    // Switching to another application pauses a running game; the game's own boxes and windows do not.
    connect(qGuiApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState state) {
        if (state != Qt::ApplicationActive) clock_.play(Input::switchAway());
    });
    // F11 toggles full screen; the view scales the field by whole factors and centres it.
    connect(new QShortcut(QKeySequence(Qt::Key_F11), this), &QShortcut::activated, this,
            [this] { setWindowState(windowState() ^ Qt::WindowFullScreen); });
    // The clock wakes at the frames of this screen at which what the window shows changes.
    if (const QScreen* s = screen(); s && s->refreshRate() > 1)
        clock_.setFrameNanos(static_cast<std::int64_t>(1e9 / s->refreshRate()));
    // The key box upkeep only ever empties the key box, which the window does not show.
    clock_.setSignature(shownSignature, 1u << static_cast<int>(TickTimer::KeyBoxUpkeep));

    resizeForScale(openingScale());
    followModel();
    setFocus();
}

GameWindow::~GameWindow() {
    clock_.setSignature({});
}

void GameWindow::prepareWindowSystem() {
    if (!qEnvironmentVariableIsSet("QT_XCB_NO_MITSHM")) qputenv("QT_XCB_NO_MITSHM", "1");
    // The game needs no GLib sources, and each wake-up of Qt's own loop costs less.
    if (!qEnvironmentVariableIsSet("QT_NO_GLIB")) qputenv("QT_NO_GLIB", "1");
}

void GameWindow::buildMenus() {
    QMenu* menu = nullptr;
    for (const MainControl& c : kMainControls) {
        if (c.shown != Shown::Menu) continue;
        const std::string& caption = (g_.window.*c.member).caption;
        const MenuEntry* item = menuEntry(c.member);
        if (!item) {
            menu = menuBar()->addMenu(QString::fromStdString(caption));
            entries_.push_back({menu->menuAction(), c.member, caption, std::nullopt});
            continue;
        }
        if (item->separatorBefore) menu->addSeparator();
        QAction* a = menu->addAction(QString::fromStdString(caption));
        a->setShortcut(QKeySequence(QString::fromLatin1(item->shortcut.data(), item->shortcut.size())));
        a->setShortcutContext(Qt::WindowShortcut);
        a->setShortcutVisibleInContextMenu(true);
        const Input chosen = Input::menu(std::string(c.scenarioName));
        connect(a, &QAction::triggered, this, [this, chosen] { clock_.play(chosen); });
        entries_.push_back({a, c.member, caption, chosen});
    }
}

QMenu* GameWindow::optionsMenu() {
    if (!options_) {
        options_ = new QMenu(QStringLiteral("&Options"), this);
        menuBar()->insertMenu(action(&MainWindow::helpMenu), options_);
    }
    return options_;
}

void GameWindow::addControlsEntry() {
    // A pad's push is its player's key press; Start is the pause entry.
    pads_ = new Gamepads(
        [this](Seat seat) {
            playKeys({std::string(
                1, static_cast<char>(QChar::toLower(static_cast<char32_t>(commandLetter(seat)))))});
        },
        [this] { action(&MainWindow::pauseEntry)->trigger(); }, this);
    connect(pads_, &Gamepads::padLost, this, &GameWindow::padLost);
    controls_ = new ControlsWindow(*keys_, *pads_, this);
    optionsMenu()->addSeparator();
    QAction* entry = optionsMenu()->addAction(QStringLiteral("&Controls…"));
    connect(entry, &QAction::triggered, this, [this] {
        // The window takes the keyboard from the cars: a running game waits, as when the players
        // switch to another program.
        clock_.play(Input::switchAway());
        controls_->show();
        controls_->raise();
        controls_->activateWindow();
    });
}

void GameWindow::addSoundEntry(Speaker& speaker) {
    QMenu* options = optionsMenu();
    options->addSeparator();
    // The sound is the players' business alone: the game goes on the same with it on or off.
    QAction* sound = options->addAction(QStringLiteral("&Sound"));
    sound->setCheckable(true);
    sound->setChecked(!speaker.muted());
    sound->setShortcut(QKeySequence(QStringLiteral("Ctrl+M")));
    sound->setShortcutContext(Qt::WindowShortcut);
    sound->setShortcutVisibleInContextMenu(true);
    connect(sound, &QAction::toggled, this, [&speaker](bool on) {
        speaker.setMuted(!on);
        Speaker::choose(on);
    });
}

QAction* GameWindow::action(Control MainWindow::*control) const {
    for (const ShownEntry& e : entries_)
        if (e.control == control) return e.action;
    return nullptr;
}

int GameWindow::openingScale() const {
    const QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen();
    if (!s) return 1;
    // What the window needs round its content: the menu bar, and the frame and title bar the
    // window manager adds (known once the window is on screen, estimated before).
    QSize frame = frameGeometry().size() - geometry().size();
    if (!isVisible() || frame.isEmpty())
        frame = QSize(2 * style()->pixelMetric(QStyle::PM_DefaultFrameWidth) + 8,
                      style()->pixelMetric(QStyle::PM_TitleBarHeight) + 12);
    const QSize chrome(frame.width(), frame.height() + menuBar()->sizeHint().height());
    return qt::openingScale(s->availableGeometry().size(), clientPixels(), chrome);
}

void GameWindow::resizeForScale(int scale) {
    view_->setPreferredScale(scale);
    resize(clientPixels().width() * scale, clientPixels().height() * scale + menuBar()->sizeHint().height());
}

void GameWindow::followModel() {
    // Runs after every run of the clock and every event: nothing is made or given to Qt unless it
    // changed.
    for (ShownEntry& e : entries_) {
        const Control& c = g_.window.*e.control;
        if (e.caption != c.caption) {
            e.caption = c.caption;
            e.action->setText(QString::fromStdString(c.caption));
        }
        // A disabled entry's shortcut does nothing, as the entry itself.
        const bool enabled = c.enabled && (!e.input || clock_.mayPlay(*e.input));
        if (e.action->isEnabled() != enabled) e.action->setEnabled(enabled);
        if (e.action->isVisible() != c.visible) e.action->setVisible(c.visible);
    }
    about_->followModel();
    settings_->followModel();
    scores_->followModel();
    view_->followModel();
    if (g_.exited) clock_.stop();
}

void GameWindow::keyPressEvent(QKeyEvent* e) {
    // Ctrl and Alt combinations belong to the menu; the rest goes to the key box, the players' keys as
    // their command letters.
    if (e->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) {
        QMainWindow::keyPressEvent(e);
        return;
    }
    std::vector<std::string> typed = keys_->typed(*e);
    if (typed.empty()) {
        QMainWindow::keyPressEvent(e);
        return;
    }
    e->accept();
    playKeys(std::move(typed));
}

void GameWindow::playKeys(std::vector<std::string> typed) {
    std::erase_if(typed, [this](const std::string& c) { return computer_->ownsKey(c); });
    for (const std::string& c : typed)
        clock_.play(Input::key(c));
}

void GameWindow::padLost(int player) {
    // A car whose driver lost the pad would drive on unsteered: a running game waits for the player.
    if (computer_->seating().drives(player) || g_.paused) return;
    clock_.play(Input::switchAway());
    if (!g_.paused) return;
    if (!padNotice_) {
        padNotice_ = new QMessageBox(QMessageBox::Information, QStringLiteral("Gamepad unplugged"), QString(),
                                     QMessageBox::Ok, this);
        padNotice_->setModal(false);
    }
    padNotice_->setText(QStringLiteral("Player %1's gamepad was unplugged, so the game is paused. Plug it in "
                                       "again or steer with the keys, and un-pause with Ctrl+P.")
                            .arg(player + 1));
    padNotice_->show();
}

void GameWindow::closeEvent(QCloseEvent* e) {
    // Closing the game window is the Exit command.
    if (g_.exited) {
        e->accept();
        return;
    }
    e->ignore();
    clock_.play(Input::menu(controlName(&MainWindow::exitEntry)));
}

QStringList GameWindow::missingArtwork() {
    QStringList names;
    for (const char* n : kArtwork)
        names.append(QString::fromLatin1(n));
    return pictures_->missingOf(names);
}

void GameWindow::reportMissingArtwork() {
    if (missingReported_) return;
    missingReported_ = true;
    const QStringList missing = missingArtwork();
    if (missing.isEmpty()) return;
    const std::string text =
        QStringLiteral("Some of the game's pictures could not be loaded from\n%1\n\nMissing: %2\n\n"
                       "The game goes on and shows a marked box in their place.")
            .arg(QString::fromStdString(pictures_->folder().string()), missing.join(QStringLiteral(", ")))
            .toStdString();
    clock_.runEvent([this, &text](Game&) { platform_.messageBox(text, Buttons::OK, "Missing artwork"); });
}

} // namespace squeakrun::qt
