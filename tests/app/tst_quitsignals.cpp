// A termination signal closes the program's windows on the GUI thread, a box over the window
// first, and once the object is gone the signals have their default action again.
#include "app/QuitSignals.h"

#include <QDialog>
#include <QSignalSpy>
#include <QWidget>
#include <QtTest>

#include <csignal>

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
