// The three small windows: About, Game Settings and High Scores. Each is a modeless top-level
// window that exists from the start and is only shown and hidden, following its window's visible flag in
// the model. They are laid out in twips like the main window and drawn at its scale. Closing one with
// the title bar's close button does what its own button does.
#pragma once

#include "qt/picture_button.h"
#include "window/controls.h"

#include <QWidget>

#include <string>

class QComboBox;
class QLineEdit;
class QPlainTextEdit;

namespace squeakrun {
struct Game;
}

namespace squeakrun::qt {

class ClockDriver;
class PixmapCache;

class SmallWindow : public QWidget {
    Q_OBJECT
  public:
    // `closeButton` names the window's own button; the title bar's close button clicks it too.
    SmallWindow(Game& game, ClockDriver& clock, PixmapCache& pictures, const QString& title,
                QSize clientTwips, std::string closeButton, QWidget* parent);

    void setScale(int scale);
    int scale() const { return scale_; }

    // Follows the model after every event: shown or hidden as the model says, controls updated.
    void followModel();

  protected:
    virtual bool modelVisible() const = 0;
    virtual void placeControls() = 0;  // child widgets at the current scale
    virtual void updateControls() = 0; // child widgets from the model
    virtual void paintContent(QPainter& painter) = 0;
    // What paintContent draws from the model, to repaint only when it changes.
    virtual QString paintedState() const { return QString(); }

    // Twips of this window as pixels at its scale.
    QRect at(double left, double top, double width, double height) const;
    QRect at(const Control& c) const { return at(c.left, c.top, c.width, c.height); }
    void drawPicture(QPainter& painter, const std::string& name, double left, double top);
    // A caption in light lettering; `flags` as QPainter::drawText.
    void drawCaption(QPainter& painter, const QRect& r, const QString& text, int pixelSize, int flags,
                     const QColor& colour);
    // A label's caption, shrunk to fit its box if the text is long.
    void drawLabel(QPainter& painter, const Control& c, int pixelSize, const QColor& colour);
    void frame(QPainter& painter, const QRect& r, const QColor& colour);
    // Clicks a button of the window, by its scenario name, through the clock driver.
    void click(const std::string& button);
    void placeButton(PictureButton* button, const Control& c);
    void updateButton(PictureButton* button, const Control& c);

    void paintEvent(QPaintEvent*) override;
    void closeEvent(QCloseEvent*) override;
    void keyPressEvent(QKeyEvent*) override;

    Game& g_;
    ClockDriver& clock_;
    PixmapCache& pictures_;

  private:
    QSize clientTwips_;
    std::string closeButton_;
    int scale_ = 0;
    bool placed_ = false;
    QString painted_;
};

// About: the title picture, two credit lines, the OK picture button and the dedication in a frame.
class AboutDialog : public SmallWindow {
    Q_OBJECT
  public:
    AboutDialog(Game& game, ClockDriver& clock, PixmapCache& pictures, QWidget* parent);
    PictureButton* okButton() const { return ok_; }

  protected:
    bool modelVisible() const override;
    void placeControls() override;
    void updateControls() override;
    void paintContent(QPainter& painter) override;
    QString paintedState() const override;

  private:
    PictureButton* ok_;
};

// Game Settings: both names, the current and the wanted difficulty, Apply and Cancel.
class SettingsDialog : public SmallWindow {
    Q_OBJECT
  public:
    SettingsDialog(Game& game, ClockDriver& clock, PixmapCache& pictures, QWidget* parent);
    QLineEdit* name1() const { return name1_; }
    QLineEdit* name2() const { return name2_; }
    QComboBox* difficulty() const { return combo_; }
    PictureButton* applyButton() const { return apply_; }
    PictureButton* cancelButton() const { return cancel_; }

  protected:
    bool modelVisible() const override;
    void placeControls() override;
    void updateControls() override;
    void paintContent(QPainter& painter) override;
    QString paintedState() const override;

  private:
    QLineEdit* name1_;
    QLineEdit* name2_;
    QComboBox* combo_;
    PictureButton* apply_;
    PictureButton* cancel_;
    std::vector<std::string> shownItems_;
};

// High Scores: the stored score, its holder's name and comment, and the Back picture button.
class ScoresDialog : public SmallWindow {
    Q_OBJECT
  public:
    ScoresDialog(Game& game, ClockDriver& clock, PixmapCache& pictures, QWidget* parent);
    QPlainTextEdit* scoreBox() const { return boxes_[0]; }
    QPlainTextEdit* nameBox() const { return boxes_[1]; }
    QPlainTextEdit* commentBox() const { return boxes_[2]; }
    PictureButton* backButton() const { return back_; }

  protected:
    bool modelVisible() const override;
    void placeControls() override;
    void updateControls() override;
    void paintContent(QPainter& painter) override;

  private:
    QPlainTextEdit* boxes_[3];
    std::string shown_[3];
    PictureButton* back_;
};

} // namespace squeakrun::qt
