#include "qt/qt_platform.h"

#include "qt/speaker.h"

#include <QApplication>
#include <QFileInfo>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QStandardPaths>
#include <QTimer>

namespace squeakrun::qt {

namespace {
QString windowTitle(const std::string& title) {
    // A box without a title of its own carries the game's name.
    return title.empty() ? QStringLiteral("Squeakrun!") : QString::fromStdString(title);
}
} // namespace

QWidget* QtPlatform::dialogParent() const {
    return parent_ && parent_->isVisible() ? parent_.data() : nullptr;
}

Button QtPlatform::messageBox(const std::string& text, Buttons buttons, const std::string& title) {
    QMessageBox box(dialogParent());
    box.setWindowTitle(windowTitle(title));
    box.setText(QString::fromStdString(text));
    box.setIcon(QMessageBox::NoIcon);
    box.setWindowModality(Qt::ApplicationModal);
    if (buttons == Buttons::YesNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::No);
    } else {
        box.setStandardButtons(QMessageBox::Ok);
        box.setDefaultButton(QMessageBox::Ok);
        box.setEscapeButton(QMessageBox::Ok);
    }
    int result;
    {
        OpenBox open(*this);
        if (beforeBox_) beforeBox_();
        result = box.exec();
    }
    if (buttons == Buttons::YesNo) return result == QMessageBox::Yes ? Button::Yes : Button::No;
    return Button::OK;
}

std::string QtPlatform::inputBox(const std::string& prompt, const std::string& title,
                                 const std::string& defaultAnswer) {
    QInputDialog dialog(dialogParent());
    dialog.setWindowTitle(windowTitle(title));
    dialog.setLabelText(QString::fromStdString(prompt));
    dialog.setInputMode(QInputDialog::TextInput);
    dialog.setTextValue(QString::fromStdString(defaultAnswer));
    dialog.setWindowModality(Qt::ApplicationModal);
    // The offered answer starts selected, so typing replaces it and Enter takes it.
    QTimer::singleShot(0, &dialog, [&dialog] {
        if (auto* edit = dialog.findChild<QLineEdit*>()) {
            edit->setFocus();
            edit->selectAll();
        }
    });
    int result;
    {
        OpenBox open(*this);
        if (beforeBox_) beforeBox_();
        result = dialog.exec();
    }
    // A cancelled box answers empty text.
    return result == QDialog::Accepted ? dialog.textValue().toStdString() : std::string();
}

QtPlatform::QtPlatform()
    : QtPlatform(QCoreApplication::applicationDirPath().toStdString(),
                 QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation).toStdString() +
                     "/squeakrun") {}

QtPlatform::QtPlatform(const std::filesystem::path& programFolder, std::filesystem::path playerFolder)
    : appFolder_(programFolder), recordFolder_(std::move(playerFolder)) {
    const std::filesystem::path installed = programFolder / "../share/games/squeakrun";
    const auto hasArtwork = [](const std::filesystem::path& folder) {
        return QFileInfo(QString::fromStdString((folder / "images").string())).isDir();
    };
    if (!hasArtwork(programFolder) && hasArtwork(installed))
        appFolder_ = installed.lexically_normal();
    else if (QFileInfo(QString::fromStdString(programFolder.string())).isWritable())
        recordFolder_ = programFolder;
}

void QtPlatform::cue(Cue cue) {
    if (speaker_) speaker_->play(cue);
}

void QtPlatform::quit() {
    if (quitting_) return;
    quitting_ = true;
    // The handler that asked is still running: end once it has returned to the event loop.
    QTimer::singleShot(0, qApp, [] {
        QApplication::closeAllWindows();
        QCoreApplication::quit();
    });
}

QSettings playersChoices() {
    return QSettings(QStringLiteral("squeakrun"), QStringLiteral("squeakrun"));
}

} // namespace squeakrun::qt
