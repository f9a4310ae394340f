#include "sources/media/BusBridge.h"
#include "sources/media/MediaFramework.h"
#include "sources/media/MediaGraph.h"

#include <QCoreApplication>
#include <QSignalSpy>
#include <QtTest>

// Without GLib's main context in Qt's event loop the bridge polls the bus with its timer and
// still delivers every signal on the GUI thread.
class TestBusBridgePolling : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { QVERIFY(MediaFramework::initialize()); }
    void cleanupTestCase() { MediaFramework::shutdown(); }

    void pollsWithoutGlibLoop()
    {
        MediaGraph graph("polled");
        GstElement *src = graph.addElement("videotestsrc", "Source");
        g_object_set(src, "num-buffers", 3, nullptr);
        GstElement *sink = graph.addElement("fakesink", "Renderer");
        QVERIFY(graph.connect(src, sink));
        BusBridge bridge(graph.bus());
        QVERIFY(!bridge.usesBusWatch());
        QSignalSpy eos(&bridge, &BusBridge::endOfStream);
        QSignalSpy states(&bridge, &BusBridge::stateChanged);
        QThread *gui = QThread::currentThread();
        bool offThread = false;
        connect(&bridge, &BusBridge::endOfStream, this,
                [&] { offThread |= QThread::currentThread() != gui; });
        QVERIFY(graph.run());
        QVERIFY(eos.wait(20000));
        QVERIFY(!states.isEmpty());
        QVERIFY(!offThread);
    }
};

int main(int argc, char **argv)
{
    // Qt then runs its own event dispatcher instead of GLib's main context.
    qputenv("QT_NO_GLIB", "1");
    QCoreApplication app(argc, argv);
    TestBusBridgePolling test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_busbridgepolling.moc"
