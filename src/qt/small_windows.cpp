#include "qt/small_windows.h"

#include "qt/clock_driver.h"
#include "qt/pixmap_cache.h"
#include "qt/scaling.h"
#include "qt/theme.h"
#include "rules/events.h"
#include "rules/state.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QScreen>

namespace squeakrun::qt {

// ----------------------------------------------------------------------------------- small window

SmallWindow::SmallWindow(Game& game, ClockDriver& clock, PixmapCache& pictures, const QString& title,
                         QSize clientTwips, std::string closeButton, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      g_(game), clock_(clock), pictures_(pictures), clientTwips_(clientTwips),
      closeButton_(std::move(closeButton)) {
    setWindowTitle(title);
    setAttribute(Qt::WA_OpaquePaintEvent);
    hide();
}

QRect SmallWindow::at(double left, double top, double width, double height) const {
    return pxRect(left, top, width, height, scale_);
}

void SmallWindow::setScale(int scale) {
    if (scale == scale_) return;
    scale_ = scale;
    setFixedSize(at(0, 0, clientTwips_.width(), clientTwips_.height()).size());
    placeControls();
    update();
}

void SmallWindow::click(const std::string& button) {
    clock_.play(Input::click(button));
}

void SmallWindow::followModel() {
    const bool wanted = modelVisible();
    if (!wanted && !isVisible()) return; // a hidden window catches up when it is shown
    updateControls();
    const QString painted = paintedState();
    if (painted != painted_) {
        painted_ = painted;
        update();
    }
    if (wanted && !isVisible()) {
        if (!placed_ && parentWidget()) {
            // First shown over the middle of the main window; afterwards where the player left it.
            placed_ = true;
            const QRect over = parentWidget()->frameGeometry();
            move(over.center() - rect().center());
        }
        show();
        raise();
        activateWindow();
    } else if (!wanted && isVisible()) {
        hide();
        if (parentWidget()) parentWidget()->activateWindow();
    }
}

void SmallWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), theme::kSlate);
    frame(painter, rect(), theme::kSlateEdge);
    paintContent(painter);
}

void SmallWindow::closeEvent(QCloseEvent* e) {
    // The close button of the title bar works as the window's own button, so the game resumes.
    if (g_.exited || !modelVisible()) {
        e->accept();
        return;
    }
    e->ignore();
    click(closeButton_);
}

void SmallWindow::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(e);
}

void SmallWindow::drawPicture(QPainter& painter, const std::string& name, double left, double top) {
    const QPixmap* pm = pictures_.get(name, scale_, devicePixelRatioF());
    const QPoint p = at(left, top, 0, 0).topLeft();
    if (pm)
        painter.drawPixmap(p, *pm);
    else
        drawPlaceholder(painter, QRect(p, QSize(17, 17) * scale_));
}

void SmallWindow::drawCaption(QPainter& painter, const QRect& r, const QString& text, int pixelSize,
                              int flags, const QColor& colour) {
    painter.setFont(theme::font(pixelSize * scale_, true));
    painter.setPen(colour);
    painter.drawText(r, flags, text);
}

void SmallWindow::drawLabel(QPainter& painter, const Control& c, int pixelSize, const QColor& colour) {
    if (!c.visible || c.caption.empty()) return;
    const QRect r = at(c);
    const QString text = QString::fromStdString(c.caption);
    QFont f = theme::font(pixelSize * scale_);
    // A box of one line keeps its caption on one line; a taller box wraps it.
    const bool oneLine = r.height() < 2 * QFontMetrics(f).height();
    const int flags = Qt::AlignCenter | (oneLine ? Qt::TextSingleLine : Qt::TextWordWrap);
    painter.setFont(theme::fittedFont(r, flags, text, pixelSize * scale_, 6 * scale_, false));
    painter.setPen(colour);
    painter.drawText(r, flags, text);
}

void SmallWindow::frame(QPainter& painter, const QRect& r, const QColor& colour) {
    const int w = scale_;
    painter.fillRect(QRect(r.left(), r.top(), r.width(), w), colour);
    painter.fillRect(QRect(r.left(), r.bottom() + 1 - w, r.width(), w), colour);
    painter.fillRect(QRect(r.left(), r.top(), w, r.height()), colour);
    painter.fillRect(QRect(r.right() + 1 - w, r.top(), w, r.height()), colour);
}

void SmallWindow::placeButton(PictureButton* button, const Control& c) {
    button->setScale(scale_);
    button->setGeometry(at(c));
}

void SmallWindow::updateButton(PictureButton* button, const Control& c) {
    button->setPicture(c.picture);
    button->setVisible(c.visible);
    button->setEnabled(c.enabled);
    const QString tip = QString::fromStdString(c.toolTip);
    if (button->toolTip() != tip) button->setToolTip(tip);
}

namespace {
void styleEdit(QWidget* w, int scale) {
    w->setFont(theme::font(10 * scale));
    w->setStyleSheet(QStringLiteral("background: %1; color: %2; border: %3px solid %2; padding: 0 %3px;"
                                    " selection-background-color: %4; selection-color: %2;")
                         .arg(theme::kBox.name(), theme::kInk.name())
                         .arg(scale)
                         .arg(theme::kGold.name()));
}

void setToolTipFrom(QWidget* w, const Control& c) {
    const QString tip = QString::fromStdString(c.toolTip);
    if (w->toolTip() != tip) w->setToolTip(tip);
}
} // namespace

// ------------------------------------------------------------------------------------------ About

AboutDialog::AboutDialog(Game& game, ClockDriver& clock, PixmapCache& pictures, QWidget* parent)
    : SmallWindow(game, clock, pictures, QStringLiteral("About 'Squeakrun!'"), QSize(2895, 2415),
                  controlName(&AboutWindow::okButton), parent),
      ok_(new PictureButton(pictures, this)) {
    connect(ok_, &QAbstractButton::clicked, this, [this] { click(controlName(&AboutWindow::okButton)); });
    setScale(1);
}

bool AboutDialog::modelVisible() const {
    return g_.about.visible;
}

void AboutDialog::placeControls() {
    placeButton(ok_, g_.about.okButton);
}

void AboutDialog::updateControls() {
    updateButton(ok_, g_.about.okButton);
}

QString AboutDialog::paintedState() const {
    const AboutWindow& w = g_.about;
    return QString::fromStdString(w.title.picture + '|' + w.versionLabel.caption + '|' +
                                  w.dedicationLabel.caption + '|' + w.authorLabel.caption);
}

void AboutDialog::paintContent(QPainter& painter) {
    const AboutWindow& w = g_.about;
    // A thin line round the title.
    if (w.title.visible) {
        frame(painter, at(w.title.left - 60, w.title.top - 45, w.title.width + 120, w.title.height + 90),
              theme::kGoldDark);
        drawPicture(painter, w.title.picture, w.title.left, w.title.top);
    }
    drawLabel(painter, w.versionLabel, 10, theme::kCaption);
    drawLabel(painter, w.authorLabel, 9, theme::kCaption);
    // The dedication, in a frame of its own size.
    if (w.dedicationLabel.visible) {
        const QRect r = at(w.dedicationLabel);
        painter.fillRect(r, theme::kSlateLight);
        frame(painter, r, theme::kGold);
        Control inner = w.dedicationLabel;
        inner.left += 60;
        inner.width -= 120;
        drawLabel(painter, inner, 9, theme::kGoldLight);
    }
}

// -------------------------------------------------------------------------------------- Settings

SettingsDialog::SettingsDialog(Game& game, ClockDriver& clock, PixmapCache& pictures, QWidget* parent)
    : SmallWindow(game, clock, pictures, QStringLiteral("Game Settings"), QSize(4335, 3195),
                  controlName(&SettingsWindow::cancelButton), parent),
      name1_(new QLineEdit(this)), name2_(new QLineEdit(this)), combo_(new QComboBox(this)),
      apply_(new PictureButton(pictures, this)), cancel_(new PictureButton(pictures, this)) {
    // What the players type is the boxes' text in the game at once; Apply reads it from there.
    connect(name1_, &QLineEdit::textEdited, this, [this](const QString& text) {
        if (!clock_.play(Input::type(controlName(&SettingsWindow::player1NameBox), text.toStdString())))
            updateControls();
    });
    connect(name2_, &QLineEdit::textEdited, this, [this](const QString& text) {
        if (!clock_.play(Input::type(controlName(&SettingsWindow::player2NameBox), text.toStdString())))
            updateControls();
    });
    connect(combo_, &QComboBox::activated, this, [this](int index) {
        if (!clock_.play(Input::select(controlName(&SettingsWindow::difficultyList), index)))
            updateControls();
    });
    connect(apply_, &QAbstractButton::clicked, this,
            [this] { click(controlName(&SettingsWindow::applyButton)); });
    connect(cancel_, &QAbstractButton::clicked, this,
            [this] { click(controlName(&SettingsWindow::cancelButton)); });
    setScale(1);
}

bool SettingsDialog::modelVisible() const {
    return g_.settings.visible;
}

void SettingsDialog::placeControls() {
    const SettingsWindow& w = g_.settings;
    for (QWidget* edit : {static_cast<QWidget*>(name1_), static_cast<QWidget*>(name2_)})
        styleEdit(edit, scale());
    name1_->setGeometry(at(w.player1NameBox));
    name2_->setGeometry(at(w.player2NameBox));
    combo_->setFont(theme::font(10 * scale()));
    combo_->setGeometry(at(w.difficultyList));
    placeButton(apply_, w.applyButton);
    placeButton(cancel_, w.cancelButton);
}

void SettingsDialog::updateControls() {
    const SettingsWindow& w = g_.settings;
    const std::pair<QLineEdit*, const Control*> edits[] = {{name1_, &w.player1NameBox},
                                                           {name2_, &w.player2NameBox}};
    for (auto [edit, c] : edits) {
        const QString text = QString::fromStdString(c->text);
        if (edit->text() != text) edit->setText(text);
        edit->setVisible(c->visible);
        edit->setEnabled(c->enabled);
        setToolTipFrom(edit, *c);
    }
    if (shownItems_ != w.difficultyList.items) {
        shownItems_ = w.difficultyList.items;
        combo_->clear();
        for (const std::string& item : shownItems_)
            combo_->addItem(QString::fromStdString(item));
    }
    if (combo_->currentIndex() != w.difficultyList.listIndex)
        combo_->setCurrentIndex(w.difficultyList.listIndex);
    combo_->setVisible(w.difficultyList.visible);
    combo_->setEnabled(w.difficultyList.enabled);
    setToolTipFrom(combo_, w.difficultyList);
    updateButton(apply_, w.applyButton);
    updateButton(cancel_, w.cancelButton);
}

QString SettingsDialog::paintedState() const {
    return QString::fromStdString(g_.settings.difficultyLabel.caption) +
           (g_.settings.difficultyLabel.visible ? u'1' : u'0');
}

void SettingsDialog::paintContent(QPainter& painter) {
    const SettingsWindow& w = g_.settings;
    drawPicture(painter, "settings.gif", 240, 60);
    const int left = Qt::AlignLeft | Qt::AlignVCenter;
    drawCaption(painter, at(1320, 480, 1800, 225), QStringLiteral("Player 1 Name:"), 9, left,
                QColor(0xff, 0x5a, 0x50));
    drawCaption(painter, at(1320, 1680, 1800, 225), QStringLiteral("Player 2 Name:"), 9, left,
                QColor(0x66, 0xaa, 0xff));
    drawPicture(painter, "badmouseright.gif", 960, 735);
    drawPicture(painter, "mouseleft.gif", 960, 1935);
    drawCaption(painter, at(2760, 1320, 1500, 225), QStringLiteral("Current Difficulty:"), 9, left,
                theme::kCaption);
    drawCaption(painter, at(2760, 1815, 1500, 225), QStringLiteral("Difficulty Wanted:"), 9, left,
                theme::kCaption);
    // The current difficulty reads like the numbers of the main window's panel.
    if (w.difficultyLabel.visible) {
        const QRect r = at(w.difficultyLabel);
        painter.fillRect(r, theme::kBox);
        frame(painter, r, theme::kInk);
        drawCaption(painter, r, QString::fromStdString(w.difficultyLabel.caption), 10, Qt::AlignCenter,
                    theme::kInk);
    }
}

// ---------------------------------------------------------------------------------------- Scores

ScoresDialog::ScoresDialog(Game& game, ClockDriver& clock, PixmapCache& pictures, QWidget* parent)
    : SmallWindow(game, clock, pictures, QStringLiteral("High Scores"), QSize(4095, 2355),
                  controlName(&ScoresWindow::backButton), parent),
      back_(new PictureButton(pictures, this)) {
    for (QPlainTextEdit*& box : boxes_) {
        box = new QPlainTextEdit(this);
        box->setReadOnly(true);
        box->setFocusPolicy(Qt::NoFocus);
        box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        box->setLineWrapMode(QPlainTextEdit::WidgetWidth);
        box->viewport()->setCursor(Qt::ArrowCursor);
    }
    connect(back_, &QAbstractButton::clicked, this,
            [this] { click(controlName(&ScoresWindow::backButton)); });
    setScale(1);
}

bool ScoresDialog::modelVisible() const {
    return g_.scores.visible;
}

void ScoresDialog::placeControls() {
    const ScoresWindow& w = g_.scores;
    const Control* controls[3] = {&w.scoreBox, &w.nameBox, &w.commentBox};
    for (int i = 0; i < 3; ++i) {
        styleEdit(boxes_[i], scale());
        boxes_[i]->setGeometry(at(*controls[i]));
    }
    placeButton(back_, w.backButton);
}

void ScoresDialog::updateControls() {
    const ScoresWindow& w = g_.scores;
    const Control* controls[3] = {&w.scoreBox, &w.nameBox, &w.commentBox};
    for (int i = 0; i < 3; ++i) {
        const Control& c = *controls[i];
        if (shown_[i] != c.text) {
            shown_[i] = c.text;
            QString text = QString::fromStdString(c.text);
            text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
            boxes_[i]->setPlainText(text);
        }
        boxes_[i]->setVisible(c.visible);
        setToolTipFrom(boxes_[i], c);
    }
    updateButton(back_, w.backButton);
}

void ScoresDialog::paintContent(QPainter& painter) {
    drawPicture(painter, "highscores.gif", 120, 15);
    const int left = Qt::AlignLeft | Qt::AlignVCenter;
    drawCaption(painter, at(360, 405, 1095, 195), QStringLiteral("Name"), 10, left, theme::kGold);
    drawCaption(painter, at(1800, 645, 1815, 195), QStringLiteral("Comment"), 10, left, theme::kGold);
    drawCaption(painter, at(240, 1245, 1335, 195), QStringLiteral("Score"), 10, left, theme::kGold);
}

} // namespace squeakrun::qt
