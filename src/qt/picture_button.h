// The game's picture buttons (OK, Apply, Cancel, Back): a button drawn as its picture, crisp at the
// window's scale, that sinks when pressed and lightens under the pointer.
#pragma once

#include <QAbstractButton>

#include <string>

namespace squeakrun::qt {

class PixmapCache;

// A button that is a picture (the game's picture buttons), drawn crisp at the window's scale.
class PictureButton : public QAbstractButton {
    Q_OBJECT
  public:
    PictureButton(PixmapCache& pictures, QWidget* parent);
    void setPicture(const std::string& name);
    void setScale(int scale);
    QSize sizeHint() const override;

  protected:
    void paintEvent(QPaintEvent*) override;
    void enterEvent(QEnterEvent*) override;
    void leaveEvent(QEvent*) override;

  private:
    PixmapCache& pictures_;
    std::string picture_;
    int scale_ = 1;
    bool hover_ = false;
};

} // namespace squeakrun::qt
