// The document layer without a window: the page found in each class of made-up camera picture,
// the straightened page's geometry and paper size, and the command line's searchable PDF with
// its exit statuses.
#include "SyntheticScene.h"
#include "document/AutoCapture.h"
#include "document/PageDetector.h"
#include "document/PageOutlineTracker.h"
#include "document/PageRectifier.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <atomic>
#include <opencv2/imgproc.hpp>
#include <thread>

using namespace SyntheticScene;

Q_DECLARE_METATYPE(SyntheticScene::Kind)
Q_DECLARE_METATYPE(PageRectifier::Paper)

namespace {

struct Run
{
    int status = -1;
    QString out;
    QString err;
};

Run runTool(const QString &program, const QStringList &arguments)
{
    QProcess p;
    p.start(program, arguments);
    Run run;
    if (!p.waitForFinished(120000)) {
        p.kill();
        p.waitForFinished();
        return run;
    }
    run.status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    run.out = QString::fromUtf8(p.readAllStandardOutput());
    run.err = QString::fromUtf8(p.readAllStandardError());
    return run;
}

bool saveJpeg(const cv::Mat &bgr, const QString &file)
{
    cv::Mat rgb;
    cv::cvtColor(bgr, rgb, cv::COLOR_BGR2RGB);
    return QImage(rgb.data, rgb.cols, rgb.rows, int(rgb.step), QImage::Format_RGB888).save(file, "JPEG", 92);
}

} // namespace

class TestDocument : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_page; // a page photographed at 3264x2448, and its text
    QString m_pageText;
    QString m_desk;   // a desk with no page on it
    QString m_folder; // a folder with the page's picture and a file that is not a picture

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        const Scene scene = make(Kind::Shadow, Script::Latin, cv::Size(3264, 2448), 5);
        m_page = m_dir.filePath("page.jpg");
        m_pageText = scene.text;
        QVERIFY(saveJpeg(scene.frame, m_page));
        cv::Mat desk(480, 640, CV_8UC3, cv::Scalar(60, 70, 80));
        cv::randn(desk, cv::Scalar(60, 70, 80), cv::Scalar(6, 6, 6));
        m_desk = m_dir.filePath("desk.jpg");
        QVERIFY(saveJpeg(desk, m_desk));
        m_folder = m_dir.filePath("folder");
        QVERIFY(QDir().mkpath(m_folder));
        QVERIFY(QFile::copy(m_page, m_folder + "/page 1.jpg"));
        QFile notes(m_folder + "/notes.txt");
        QVERIFY(notes.open(QIODevice::WriteOnly));
    }

    // Each class of scene, at the camera's usual sizes: the found page overlaps the true one
    // almost wholly in the page's own frame.
    void detection_data()
    {
        QTest::addColumn<Kind>("kind");
        QTest::addColumn<QSize>("frame");
        for (Kind kind : allKinds())
            QTest::newRow(qPrintable(kindName(kind))) << kind << QSize(1920, 1080);
        QTest::newRow("hand over a corner, 8 MP") << Kind::Hand << QSize(3264, 2448);
        QTest::newRow("light desk, 8 MP") << Kind::LightDesk << QSize(3264, 2448);
    }
    void detection()
    {
        QFETCH(Kind, kind);
        QFETCH(QSize, frame);
        const PageDetector detector;
        for (int seed = 0; seed < 3; ++seed) {
            const Scene scene = make(kind, Script::Latin, cv::Size(frame.width(), frame.height()),
                                     100 + seed);
            const std::optional<PageQuad> quad = detector.detect(scene.frame);
            QVERIFY2(quad, qPrintable(QStringLiteral("no page found, seed %1").arg(seed)));
            const double j = jaccard(*quad, scene.corners, scene.pageMillimetres);
            QVERIFY2(j >= 0.95, qPrintable(QStringLiteral("Jaccard %1, seed %2").arg(j).arg(seed)));
        }
    }

    void noPageOnABareDesk()
    {
        cv::Mat desk(1080, 1920, CV_8UC3);
        cv::randn(desk, cv::Scalar(70, 80, 90), cv::Scalar(8, 8, 8));
        QVERIFY(!PageDetector().detect(desk));
    }

    // A page seen at an angle comes out upright at its paper's size: a mark printed at a known
    // place on the page is found there in the straightened picture.
    void rectification_data()
    {
        QTest::addColumn<QSizeF>("proportions"); // the page's, width x height
        QTest::addColumn<PageRectifier::Paper>("localPaper");
        QTest::addColumn<QSizeF>("millimetres");
        QTest::addColumn<bool>("snapped");
        using P = PageRectifier::Paper;
        QTest::newRow("A4") << QSizeF(210, 297) << P::A4 << QSizeF(210, 297) << true;
        QTest::newRow("A4 landscape") << QSizeF(297, 210) << P::A4 << QSizeF(297, 210) << true;
        QTest::newRow("nearly A4") << QSizeF(210, 290) << P::A4 << QSizeF(210, 297) << true;
        QTest::newRow("Letter where the US measures")
            << QSizeF(216, 279) << P::Letter << QSizeF(215.9, 279.4) << true;
        QTest::newRow("Letter elsewhere") << QSizeF(216, 279) << P::A4 << QSizeF(215.9, 279.4) << true;
        QTest::newRow("A4 where the US measures")
            << QSizeF(210, 297) << P::Letter << QSizeF(210, 297) << true;
        QTest::newRow("a square card") << QSizeF(150, 150) << P::A4 << QSizeF(297, 297) << false;
    }
    void rectification()
    {
        QFETCH(QSizeF, proportions);
        QFETCH(PageRectifier::Paper, localPaper);
        QFETCH(QSizeF, millimetres);
        QFETCH(bool, snapped);
        // The page drawn into a 1600x1200 picture by a camera that sees it tilted away and
        // turned, a dot at 30 %/60 % of it.
        const double unit = 4.0; // pixels per millimetre on the flat page
        const cv::Size flat(int(proportions.width() * unit), int(proportions.height() * unit));
        cv::Mat page(flat, CV_8UC3, cv::Scalar(240, 240, 240));
        cv::circle(page, cv::Point(int(flat.width * 0.3), int(flat.height * 0.6)), 8, cv::Scalar(0, 0, 0),
                   cv::FILLED);
        const double tilt = 18 * M_PI / 180, turn = 9 * M_PI / 180, focal = 1500, distanceMm = 600;
        PageQuad quad;
        const cv::Point2f from[4] = {
            {0, 0}, {float(flat.width), 0}, {float(flat.width), float(flat.height)}, {0, float(flat.height)}};
        for (int i = 0; i < 4; ++i) {
            const double x = from[i].x / unit - proportions.width() / 2,
                         y = from[i].y / unit - proportions.height() / 2;
            const double y1 = y * std::cos(tilt), z1 = y * std::sin(tilt);
            const double x2 = x * std::cos(turn) + z1 * std::sin(turn),
                         z2 = -x * std::sin(turn) + z1 * std::cos(turn);
            quad.corners[size_t(i)] = cv::Point2f(float(800 + focal * x2 / (distanceMm + z2)),
                                                  float(600 + focal * y1 / (distanceMm + z2)));
        }
        const cv::Point2f to[4] = {quad.corners[0], quad.corners[1], quad.corners[2], quad.corners[3]};
        cv::Mat picture;
        cv::warpPerspective(page, picture, cv::getPerspectiveTransform(from, to), cv::Size(1600, 1200),
                            cv::INTER_LINEAR, cv::BORDER_CONSTANT, cv::Scalar(150, 150, 150));

        const PageRectifier rectifier(localPaper);
        const PageRectifier::Page out = rectifier.rectify(picture, quad);
        QCOMPARE(out.snapped, snapped);
        QVERIFY2(
            std::abs(out.millimetres.width - millimetres.width()) < 0.5
                && std::abs(out.millimetres.height - millimetres.height()) < 0.5,
            qPrintable(QStringLiteral("%1 x %2 mm").arg(out.millimetres.width).arg(out.millimetres.height)));
        QVERIFY(out.ppi >= 72 && out.ppi <= PageRectifier::kMaxPpi);
        QCOMPARE(out.picture.cols, int(std::lround(out.millimetres.width / 25.4 * out.ppi)));
        QCOMPARE(out.picture.rows, int(std::lround(out.millimetres.height / 25.4 * out.ppi)));
        cv::Mat grey, dark;
        cv::cvtColor(out.picture, grey, cv::COLOR_BGR2GRAY);
        cv::threshold(grey, dark, 100, 255, cv::THRESH_BINARY_INV);
        const cv::Moments m = cv::moments(dark, true);
        QVERIFY(m.m00 > 0);
        // Snapping may stretch the page by the few per cent it was off its paper.
        QVERIFY2(std::abs(m.m10 / m.m00 / out.picture.cols - 0.3) < 0.02,
                 qPrintable(QString::number(m.m10 / m.m00 / out.picture.cols)));
        QVERIFY2(std::abs(m.m01 / m.m00 / out.picture.rows - 0.6) < 0.02,
                 qPrintable(QString::number(m.m01 / m.m00 / out.picture.rows)));
    }

    // Scripted live pictures: each page slid in, a hand moving over it and away, still, a hand
    // passing again, still again. Each page is taken once, within a second of its being still,
    // never while something moves, and never again after the hand's second pass.
    void autoCapture_data()
    {
        QTest::addColumn<int>("pages");
        QTest::addColumn<int>("fps");
        QTest::newRow("20 pages at 10 frames a second") << 20 << 10;
        QTest::newRow("3 pages at 30 frames a second") << 3 << 30;
    }
    void autoCapture()
    {
        QFETCH(int, pages);
        QFETCH(int, fps);
        AutoCapture capture;
        const PageDetector detector;
        QVector<int> taken(pages, 0);
        QStringList wrong;
        std::int64_t stillFrom = -1;
        Phase last = Phase::Sliding;
        playSequence(pages, cv::Size(640, 360), fps, 7,
                     [&](const cv::Mat &frame, std::int64_t ms, Phase phase, int page) {
                         if (phase == Phase::Still && last != Phase::Still)
                             stillFrom = ms;
                         last = phase;
                         if (!capture.offer(frame, ms, [&] { return bool(detector.detect(frame)); }))
                             return;
                         ++taken[page];
                         if (phase != Phase::Still)
                             wrong << QStringLiteral("page %1 taken while %2").arg(page).arg(int(phase));
                         else if (ms - stillFrom > 1000)
                             wrong << QStringLiteral("page %1 taken %2 ms after it was still")
                                          .arg(page)
                                          .arg(ms - stillFrom);
                     });
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join('\n')));
        QCOMPARE(taken, QVector<int>(pages, 1));
    }

    // Frames offered from a streaming thread of their own: the outline arrives on the GUI thread,
    // found on neither of them, in the full frame's pixels; auto-capture takes the page once.
    void outlineTracker()
    {
        const Scene scene = make(Kind::Hand, Script::Latin, cv::Size(1920, 1080), 11);
        PageOutlineTracker tracker;
        tracker.setInterval(50);
        tracker.setAutoCapture(true);
        QThread *foundOn = nullptr;
        connect(
            &tracker, &PageOutlineTracker::outlineChanged, &tracker,
            [&foundOn] { foundOn = QThread::currentThread(); }, Qt::DirectConnection);
        // Received on this thread, as the window would receive them; the receiver goes before the
        // tracker, and with it whatever is still queued for it.
        QObject receiver;
        QPolygonF polygon;
        QSize frameSize;
        int captures = 0;
        connect(&tracker, &PageOutlineTracker::outlineChanged, &receiver,
                [&](const QPolygonF &corners, const QSize &size) {
                    polygon = corners;
                    frameSize = size;
                });
        connect(&tracker, &PageOutlineTracker::captureDue, &receiver, [&captures] { ++captures; });
        std::atomic<bool> stop{false};
        std::thread streaming([&] {
            for (std::int64_t ms = 0; !stop; ms += 33) {
                tracker.offer(scene.frame, ms);
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            }
        });
        QTRY_VERIFY_WITH_TIMEOUT(captures >= 1, 20000);
        stop = true;
        streaming.join();
        QVERIFY(foundOn && foundOn != QThread::currentThread());
        QCOMPARE(frameSize, QSize(1920, 1080));
        QCOMPARE(polygon.size(), 4);
        PageQuad quad;
        for (int i = 0; i < 4; ++i)
            quad.corners[size_t(i)] = cv::Point2f(float(polygon[i].x()), float(polygon[i].y()));
        QVERIFY2(jaccard(quad, scene.corners, scene.pageMillimetres) >= 0.95, "outline off the page");
        QCOMPARE(captures, 1);
    }

    // The command line, as a process without a display: the PDF it writes and its exit statuses.
    void scanCommand_data()
    {
        QTest::addColumn<QStringList>("arguments"); // after --scan-pdf OUT.pdf
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("message"); // on standard error
        QTest::addColumn<int>("pages");
        QTest::newRow("a page and a bare desk")
            << QStringList{"--filter", "grey", "@page", "@desk"} << 0 << "no page found in @desk" << 2;
        QTest::newRow("a folder of pictures")
            << QStringList{"--ocr-language", "en", "@folder"} << 0 << "" << 1;
        QTest::newRow("a language not installed")
            << QStringList{"--ocr-language", "eng+kor", "@page"} << 1 << "install tesseract-ocr-kor" << 0;
        QTest::newRow("a picture that is not one")
            << QStringList{"@page", "@notapicture"} << 1 << "Cannot read @notapicture" << 0;
        QTest::newRow("a missing picture")
            << QStringList{"@page", "@missing"} << 1 << "No picture @missing" << 0;
        QTest::newRow("an unknown filter")
            << QStringList{"--filter", "sepia", "@page"} << 1 << "No filter 'sepia'" << 0;
        QTest::newRow("no pictures") << QStringList{} << 1 << "No pictures" << 0;
        QTest::newRow("an unknown option")
            << QStringList{"--colour", "@page"} << 1 << "Unknown option 'colour'" << 0;
    }
    void scanCommand()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, status);
        QFETCH(QString, message);
        QFETCH(int, pages);
        QFile bad(m_dir.filePath("notapicture.jpg"));
        QVERIFY(bad.open(QIODevice::WriteOnly));
        bad.write("not a JPEG");
        bad.close();
        const QHash<QString, QString> names = {{"@page", m_page},
                                               {"@desk", m_desk},
                                               {"@notapicture", bad.fileName()},
                                               {"@missing", m_dir.filePath("missing.jpg")},
                                               {"@folder", m_folder}};
        for (QString &a : arguments)
            a = names.value(a, a);
        for (auto it = names.begin(); it != names.end(); ++it)
            message.replace(it.key(), it.value());
        QTemporaryDir out;
        const QString pdf = out.filePath("scan.pdf");
        const Run run = runTool(QStringLiteral(DOCCAM_BIN_DIR "/document-camera"),
                                QStringList{"--scan-pdf", pdf} + arguments);
        QCOMPARE(run.status, status);
        QVERIFY2(run.err.contains(message), qPrintable(run.err));
        // Nothing under a temporary name is left behind, and nothing at all when it failed.
        QCOMPARE(QDir(out.path()).entryList(QDir::Files | QDir::Hidden),
                 status == 0 ? QStringList{"scan.pdf"} : QStringList{});
        if (status != 0)
            return;
        QCOMPARE(runTool("qpdf", {"--check", pdf}).status, 0);
        const QString info = runTool("pdfinfo", {pdf}).out;
        QVERIFY2(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+%1\\n").arg(pages))),
                 qPrintable(info));
        // The found page at its paper's size.
        const QString first = runTool("pdfinfo", {"-f", "1", "-l", "1", pdf}).out;
        QVERIFY2(first.contains("(A4)"), qPrintable(first));
        const QString text = runTool("pdftotext", {"-enc", "UTF-8", "-f", "1", "-l", "1", pdf, "-"}).out;
        const double cer = characterErrorRate(text, m_pageText, Script::Latin);
        QVERIFY2(cer < 0.03, qPrintable(QStringLiteral("character error rate %1:\n%2").arg(cer).arg(text)));
    }
};

QTEST_MAIN(TestDocument)
#include "tst_document.moc"
