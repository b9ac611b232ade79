// The real message and input boxes show title, text and buttons; a cancelled input box answers empty.
// Each box is answered by a timer from inside its own event loop; the clock driver hears it open and close.
#include "qt/qt_platform.h"

#include <QDialogButtonBox>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>

using namespace squeakrun;
using namespace squeakrun::qt;

namespace {

// Once the box is up, `act` looks at it and closes it; a box left open by a failed check is
// cancelled, so a failure never hangs the test.
void whenBoxOpens(const std::function<void(QWidget*)>& act) {
    QTimer::singleShot(0, [act] {
        auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        QVERIFY(box);
        act(box);
        if (box->isVisible()) box->reject();
    });
}

void press(QWidget* box, const QString& text) {
    for (QPushButton* b : box->findChildren<QPushButton*>())
        if (b->text().remove(QLatin1Char('&')) == text) {
            b->click();
            return;
        }
    QFAIL(qPrintable(QStringLiteral("no button %1").arg(text)));
}

} // namespace

class QtPlatformTest : public QObject {
    Q_OBJECT
  private slots:
    void messageBoxTitleTextAndButtons();
    void inputBoxOffersItsDefaultAndCancelAnswersEmpty();
};

void QtPlatformTest::messageBoxTitleTextAndButtons() {
    QtPlatform platform;
    bool openWhileShown = false;
    whenBoxOpens([&](QWidget* box) {
        openWhileShown = platform.boxOpen();
        QCOMPARE(box->windowTitle(), QStringLiteral("Squeakrun!")); // no title of its own
        QCOMPARE(static_cast<QMessageBox*>(box)->text(), QStringLiteral("Ouch!"));
        QCOMPARE(box->findChildren<QPushButton*>().size(), 1);
        press(box, QStringLiteral("OK"));
    });
    QCOMPARE(platform.messageBox("Ouch!", Buttons::OK, ""), Button::OK);
    QVERIFY(openWhileShown);
    QVERIFY(!platform.boxOpen());
    QCOMPARE(platform.boxesClosed(), std::int64_t{1});

    whenBoxOpens([](QWidget* box) {
        QCOMPARE(box->windowTitle(), QStringLiteral("Proceed with changes?"));
        press(box, QStringLiteral("No"));
    });
    QCOMPARE(platform.messageBox("Sure?", Buttons::YesNo, "Proceed with changes?"), Button::No);
    QCOMPARE(platform.boxesClosed(), std::int64_t{2});
}

void QtPlatformTest::inputBoxOffersItsDefaultAndCancelAnswersEmpty() {
    QtPlatform platform;
    whenBoxOpens([](QWidget* box) {
        QCOMPARE(box->windowTitle(), QStringLiteral("Name Entry"));
        QCOMPARE(static_cast<QInputDialog*>(box)->labelText(), QStringLiteral("Player 1 - Enter your name:"));
        QCOMPARE(static_cast<QInputDialog*>(box)->textValue(), QStringLiteral("Skitter"));
        press(box, QStringLiteral("OK"));
    });
    QCOMPARE(platform.inputBox("Player 1 - Enter your name:", "Name Entry", "Skitter"),
             std::string("Skitter"));

    whenBoxOpens([](QWidget* box) { press(box, QStringLiteral("Cancel")); });
    QCOMPARE(platform.inputBox("Enter Difficulty: (1-Easy|2-Average|3-Hard)", "Enter Difficulty", "2"),
             std::string());
    QCOMPARE(platform.boxesClosed(), std::int64_t{2});
}

QTEST_MAIN(QtPlatformTest)
#include "qt_platform_test.moc"
