// A termination signal closes the program's windows on the GUI thread, a box over the window
// first, and once the object is gone the signals have their default action again.
#include "app/QuitSignals.h"
#include "common/UnattendedPrompts.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QSignalSpy>
#include <QWidget>
#include <QtTest>

#include <csignal>

namespace {

// A window that has something to say as it closes, as the main window has when its settings
// cannot be saved.
class SayingWindow : public QWidget
{
public:
    void closeEvent(QCloseEvent *event) override
    {
        UserPrompts::instance()->critical(this, "Error", "The settings could not be saved");
        QWidget::closeEvent(event);
    }
};

} // namespace

class TestQuitSignals : public QObject
{
    Q_OBJECT
private slots:
    void signalClosesTheWindows_data()
    {
        QTest::addColumn<int>("number");
        QTest::newRow("SIGTERM") << SIGTERM;
        QTest::newRow("SIGINT") << SIGINT;
        QTest::newRow("SIGHUP") << SIGHUP;
    }
    void signalClosesTheWindows()
    {
        QFETCH(int, number);
        QWidget window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QDialog box(&window);
        box.setModal(true);
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        QSignalSpy rejected(&box, &QDialog::rejected);
        QuitSignals quitSignals;
        QVERIFY(quitSignals.isActive());
        QVERIFY(::raise(number) == 0);
        // Nothing happens inside the handler; the GUI thread closes them.
        QVERIFY(window.isVisible());
        QTRY_VERIFY(!window.isVisible());
        QVERIFY(!box.isVisible());
        QCOMPARE(rejected.count(), 1);
    }

    // Nobody may be there to answer: the box is not waited on, and is said at the next start.
    void signalNeverWaitsOnABox()
    {
        QCoreApplication::setOrganizationName("Quillmore");
        QCoreApplication::setApplicationName("Document Camera");
        UnattendedPrompts::takeLeftMessages();
        SayingWindow window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        bool waited = false;
        // A box shown is closed after a while, so that a failure does not hang the test.
        QTimer watchdog;
        watchdog.setInterval(3000);
        connect(&watchdog, &QTimer::timeout, this, [&waited] {
            if (QWidget *box = QApplication::activeModalWidget()) {
                waited = true;
                box->close();
            }
        });
        watchdog.start();
        QuitSignals quitSignals;
        QVERIFY(::raise(SIGTERM) == 0);
        QTRY_VERIFY(!window.isVisible());
        QVERIFY(!waited);
        QCOMPARE(UnattendedPrompts::takeLeftMessages(), QStringList{"The settings could not be saved"});
        QCOMPARE(UnattendedPrompts::takeLeftMessages(), QStringList());
        UserPrompts::install(nullptr);
    }

    void onlyOneOwnerAndDefaultsRestored()
    {
        {
            QuitSignals first;
            QVERIFY(first.isActive());
            QuitSignals second;
            QVERIFY(!second.isActive());
        }
        for (const int number : {SIGTERM, SIGINT, SIGHUP}) {
            struct sigaction current = {};
            QVERIFY(::sigaction(number, nullptr, &current) == 0);
            QVERIFY(current.sa_handler == SIG_DFL);
        }
        // And a new owner takes them again.
        QuitSignals again;
        QVERIFY(again.isActive());
    }

    void signalsInARowCloseOnce()
    {
        QWidget window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QuitSignals quitSignals;
        for (int i = 0; i < 100; ++i)
            QVERIFY(::raise(SIGTERM) == 0);
        QTRY_VERIFY(!window.isVisible());
        // The pipe is drained: the next signal closes what is open then.
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTest::qWait(50);
        QVERIFY(window.isVisible());
        QVERIFY(::raise(SIGINT) == 0);
        QTRY_VERIFY(!window.isVisible());
    }
};

QTEST_MAIN(TestQuitSignals)
#include "tst_quitsignals.moc"
