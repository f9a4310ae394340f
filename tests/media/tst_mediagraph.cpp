#include "sources/media/BusBridge.h"
#include "sources/media/MediaFramework.h"
#include "sources/media/MediaGraph.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

// The media-graph operations the sources build on, on small real pipelines.
class TestMediaGraph : public QObject
{
    Q_OBJECT
private:
    QTemporaryDir m_dir;
    QString m_film; // a 2 s, 25 frames/s AVI made once

    static QStringList factories(MediaGraph &graph)
    {
        QStringList names;
        GstIterator *it = gst_bin_iterate_elements(GST_BIN(graph.pipeline()));
        GValue item = G_VALUE_INIT;
        while (gst_iterator_next(it, &item) == GST_ITERATOR_OK) {
            GstElementFactory *f = gst_element_get_factory(GST_ELEMENT(g_value_get_object(&item)));
            names << QString::fromUtf8(GST_OBJECT_NAME(f));
            g_value_reset(&item);
        }
        g_value_unset(&item);
        gst_iterator_free(it);
        names.sort();
        return names;
    }

    static bool runToEos(MediaGraph &graph)
    {
        if (!graph.run())
            return false;
        GstRef<GstBus> bus = graph.bus();
        GstRef<GstMessage> m(gst_bus_timed_pop_filtered(bus.get(), 20 * GST_SECOND,
                                                        GstMessageType(GST_MESSAGE_EOS | GST_MESSAGE_ERROR)));
        return m && GST_MESSAGE_TYPE(m.get()) == GST_MESSAGE_EOS;
    }

    static void linkDecodedPad(GstElement *, GstPad *pad, gpointer sink)
    {
        GstRef<GstPad> input(gst_element_get_static_pad(GST_ELEMENT(sink), "sink"));
        if (!gst_pad_is_linked(input.get()))
            gst_pad_link(pad, input.get());
    }

private slots:
    void initTestCase()
    {
        QVERIFY(MediaFramework::initialize());
        QVERIFY(m_dir.isValid());
        m_film = m_dir.filePath("film.avi");
        MediaGraph graph("make film");
        GstElement *src = graph.addElement("videotestsrc", "Source");
        g_object_set(src, "num-buffers", 50, nullptr);
        GstElement *caps = graph.addElement("capsfilter", "Caps");
        GstRef<GstCaps> c(gst_caps_from_string("video/x-raw,width=160,height=120,framerate=25/1"));
        g_object_set(caps, "caps", c.get(), nullptr);
        GstElement *enc = graph.addElement("jpegenc", "Encoder");
        GstElement *mux = graph.addElement("avimux", "Mux");
        GstElement *file = graph.addElement("filesink", "Writer");
        g_object_set(file, "location", m_film.toUtf8().constData(), nullptr);
        QVERIFY(gst_element_link_many(src, caps, enc, mux, file, nullptr));
        QVERIFY(runToEos(graph));
    }
    void cleanupTestCase() { MediaFramework::shutdown(); }

    void namesStayUnique()
    {
        MediaGraph graph("names");
        GstElement *a = graph.addElement("identity", "Grabber");
        GstElement *b = graph.addElement("identity", "Grabber");
        GstElement *c = graph.addElement("identity", "Grabber");
        QVERIFY(a && b && c);
        QCOMPARE(graph.element("Grabber"), a);
        QCOMPARE(graph.element("Grabber 0001"), b);
        QCOMPARE(graph.element("Grabber 0002"), c);
        QVERIFY(!graph.addElement("no-such-element-factory", "Missing"));
        QVERIFY(!graph.element("Missing"));
    }

    void connectInsertsConverters_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("sourceCaps");
        QTest::addColumn<bool>("encode");
        QTest::addColumn<QString>("targetCaps");
        QTest::addColumn<QStringList>("inserted");
        QTest::addColumn<bool>("connects");
        QTest::newRow("video agrees") << "videotestsrc"
                                      << "video/x-raw,format=BGRx,width=64,height=48" << false
                                      << "video/x-raw,format=BGRx" << QStringList() << true;
        QTest::newRow("video format") << "videotestsrc"
                                      << "video/x-raw,format=I420,width=64,height=48" << false
                                      << "video/x-raw,format=BGRx" << QStringList{"videoconvert"} << true;
        QTest::newRow("jpeg to raw") << "videotestsrc"
                                     << "video/x-raw,width=64,height=48" << true << "video/x-raw,format=BGRx"
                                     << QStringList{"jpegdec", "videoconvert"} << true;
        QTest::newRow("audio format")
            << "audiotestsrc"
            << "audio/x-raw,format=F32LE,rate=8000" << false << "audio/x-raw,format=S16LE,rate=8000"
            << QStringList{"audioconvert"} << true;
        QTest::newRow("audio rate") << "audiotestsrc"
                                    << "audio/x-raw,format=S16LE,rate=44100" << false
                                    << "audio/x-raw,format=S16LE,rate=8000"
                                    << QStringList{"audioconvert", "audioresample"} << true;
        QTest::newRow("audio into video")
            << "audiotestsrc"
            << "audio/x-raw" << false << "video/x-raw" << QStringList() << false;
    }
    void connectInsertsConverters()
    {
        QFETCH(QString, source);
        QFETCH(QString, sourceCaps);
        QFETCH(bool, encode);
        QFETCH(QString, targetCaps);
        QFETCH(QStringList, inserted);
        QFETCH(bool, connects);
        MediaGraph graph("connect");
        GstElement *src = graph.addElement(source.toUtf8().constData(), "Source");
        g_object_set(src, "num-buffers", 3, nullptr);
        GstElement *from = graph.addElement("capsfilter", "From");
        GstRef<GstCaps> fc(gst_caps_from_string(sourceCaps.toUtf8().constData()));
        g_object_set(from, "caps", fc.get(), nullptr);
        QVERIFY(gst_element_link(src, from));
        if (encode) {
            GstElement *enc = graph.addElement("jpegenc", "Encoder");
            QVERIFY(gst_element_link(from, enc));
            from = enc;
        }
        GstElement *to = graph.addElement("capsfilter", "To");
        GstRef<GstCaps> tc(gst_caps_from_string(targetCaps.toUtf8().constData()));
        g_object_set(to, "caps", tc.get(), nullptr);
        GstElement *sink = graph.addElement("fakesink", "Renderer");
        QVERIFY(gst_element_link(to, sink));
        const QStringList before = factories(graph);

        QCOMPARE(graph.connect(from, to), connects);
        QStringList expected = before + inserted;
        expected.sort();
        QCOMPARE(factories(graph), expected);
        if (connects)
            QVERIFY(runToEos(graph));
    }

    // Pins in order with their direction, connection and first media type; the first free
    // pin of a direction; request pins taken when an element has no free static one.
    void pinsAndFirstUnconnected()
    {
        MediaGraph graph("pins");
        GstElement *src = graph.addElement("videotestsrc", "Source");
        GstElement *tee = graph.addElement("tee", "Tee");
        GstElement *a = graph.addElement("fakesink", "A");
        GstElement *b = graph.addElement("fakesink", "B");

        std::vector<MediaPad> pins = MediaGraph::pads(src);
        QCOMPARE(pins.size(), size_t(1));
        QCOMPARE(pins[0].direction, GST_PAD_SRC);
        QVERIFY(!pins[0].linked);
        QVERIFY(pins[0].firstCaps);
        QCOMPARE(gst_structure_get_name(gst_caps_get_structure(pins[0].firstCaps.get(), 0)), "video/x-raw");
        QCOMPARE(gst_caps_get_size(pins[0].firstCaps.get()), 1u);

        QVERIFY(MediaGraph::firstUnlinkedPad(tee, GST_PAD_SINK));
        QVERIFY(!MediaGraph::firstUnlinkedPad(tee, GST_PAD_SRC));
        QVERIFY(graph.connect(src, tee));
        QVERIFY(!MediaGraph::firstUnlinkedPad(tee, GST_PAD_SINK));
        QVERIFY(graph.connect(tee, a));
        QVERIFY(graph.connect(tee, b));
        pins = MediaGraph::pads(tee);
        QCOMPARE(pins.size(), size_t(3));
        QCOMPARE(pins[0].direction, GST_PAD_SINK);
        QCOMPARE(pins[1].direction, GST_PAD_SRC);
        QCOMPARE(pins[2].direction, GST_PAD_SRC);
        GstRef<GstPad> aIn(gst_element_get_static_pad(a, "sink"));
        GstRef<GstPad> bIn(gst_element_get_static_pad(b, "sink"));
        GstRef<GstPad> firstPeer(gst_pad_get_peer(pins[1].pad.get()));
        GstRef<GstPad> secondPeer(gst_pad_get_peer(pins[2].pad.get()));
        QCOMPARE(firstPeer.get(), aIn.get());
        QCOMPARE(secondPeer.get(), bIn.get());
        for (const MediaPad &pin : pins)
            QVERIFY(pin.linked);
        QVERIFY(!MediaGraph::firstUnlinkedPad(a, GST_PAD_SINK));
        QVERIFY(!MediaGraph::firstUnlinkedPad(a, GST_PAD_SRC));
    }

    // A film's source pads with their first caps; duration, seek and position in nanoseconds.
    void filmPositions()
    {
        MediaGraph graph("film");
        GstElement *source = graph.addElement("uridecodebin", "Source Filter");
        GstElement *sink = graph.addElement("fakesink", "Video Renderer");
        GstRef<GstCaps> raw(gst_caps_from_string("video/x-raw"));
        gchar *uri = gst_filename_to_uri(m_film.toUtf8().constData(), nullptr);
        g_object_set(source, "uri", uri, "caps", raw.get(), nullptr);
        g_free(uri);
        g_signal_connect(source, "pad-added", G_CALLBACK(&TestMediaGraph::linkDecodedPad), sink);

        QVERIFY(graph.pause());
        QCOMPARE(graph.waitForState(20000), GST_STATE_PAUSED);
        const std::vector<MediaPad> pins = MediaGraph::pads(source);
        QCOMPARE(pins.size(), size_t(1));
        QCOMPARE(pins[0].direction, GST_PAD_SRC);
        QCOMPARE(gst_structure_get_name(gst_caps_get_structure(pins[0].firstCaps.get(), 0)), "video/x-raw");

        const qint64 frame = GST_SECOND / 25;
        QVERIFY(qAbs(graph.duration() - 2 * qint64(GST_SECOND)) <= frame);
        QVERIFY(graph.seek(GST_SECOND));
        QCOMPARE(graph.waitForState(20000), GST_STATE_PAUSED);
        QVERIFY(qAbs(graph.position() - qint64(GST_SECOND)) <= frame);
        QVERIFY(!graph.seek(-1));
    }

    void positionsOfAnEmptyGraph()
    {
        MediaGraph graph("empty");
        QCOMPARE(graph.duration(), qint64(-1));
        QCOMPARE(graph.position(), qint64(-1));
    }

    // Looking things up and linking take no reference that outlives the graph.
    void graphDropsEveryReference()
    {
        GstRef<GstElement> source;
        GstRef<GstPad> output;
        {
            MediaGraph graph("refs");
            GstElement *src = graph.addElement("videotestsrc", "Source");
            GstElement *tee = graph.addElement("tee", "Tee");
            GstElement *sink = graph.addElement("fakesink", "Renderer");
            source = GstRef<GstElement>::borrow(src);
            output = GstRef<GstPad>(gst_element_get_static_pad(src, "src"));
            for (int i = 0; i < 3; ++i) {
                QCOMPARE(graph.element("Source"), src);
                QCOMPARE(MediaGraph::pads(src).size(), size_t(1));
                QVERIFY(MediaGraph::firstUnlinkedPad(src, GST_PAD_SRC));
                QVERIFY(graph.bus());
            }
            QVERIFY(graph.connect(src, tee));
            QVERIFY(graph.connect(tee, sink));
            QVERIFY(!graph.connect(sink, tee)); // a sink has no output
        }
        // The pipeline is gone and took its children's references with it.
        QVERIFY(!GST_OBJECT_PARENT(source.get()));
        QCOMPARE(GST_OBJECT_REFCOUNT_VALUE(source.get()), 1);
        source.reset(); // the element lets go of its pad
        QCOMPARE(GST_OBJECT_REFCOUNT_VALUE(output.get()), 1);
    }

    void busBridgeSignals()
    {
        MediaGraph graph("bus");
        GstElement *src = graph.addElement("videotestsrc", "Source");
        g_object_set(src, "num-buffers", 3, nullptr);
        GstElement *sink = graph.addElement("fakesink", "Renderer");
        QVERIFY(graph.connect(src, sink));
        BusBridge bridge(graph.bus());
        QVERIFY(bridge.usesBusWatch()); // Qt runs GLib's main context here
        QSignalSpy eos(&bridge, &BusBridge::endOfStream);
        QSignalSpy states(&bridge, &BusBridge::stateChanged);
        QVERIFY(graph.run());
        QVERIFY(eos.wait(20000));
        QVERIFY(!states.isEmpty());
        bool pipelinePlaying = false;
        for (const QList<QVariant> &s : states)
            pipelinePlaying |= s.at(0).toString() == "bus" && s.at(2).toInt() == GST_STATE_PLAYING;
        QVERIFY(pipelinePlaying);
    }

    void busBridgeErrors()
    {
        MediaGraph graph("broken");
        GstElement *src = graph.addElement("filesrc", "Source Filter");
        g_object_set(src, "location", m_dir.filePath("missing.avi").toUtf8().constData(), nullptr);
        GstElement *sink = graph.addElement("fakesink", "Renderer");
        QVERIFY(graph.connect(src, sink));
        BusBridge bridge(graph.bus());
        QSignalSpy errors(&bridge, &BusBridge::errorOccurred);
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("error from Source Filter"));
        graph.run();
        QVERIFY(errors.wait(20000));
        QCOMPARE(errors.first().at(0).toString(), QStringLiteral("Source Filter"));
        QVERIFY(!errors.first().at(1).toString().isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestMediaGraph)
#include "tst_mediagraph.moc"
