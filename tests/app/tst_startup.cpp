#include "MessageCapture.h"
#include "app/DesktopCentring.h"
#include "app/DumpConfig.h"
#include "app/HighDpi.h"
#include "app/InterfaceTranslation.h"

#include <QCoreApplication>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTranslator>
#include <QtTest>

class TestStartup : public QObject
{
    Q_OBJECT
private slots:
    void buildOptionsRecordLineByLine()
    {
        MessageCapture capture;
        DumpConfig();
        const QStringList expected = {
            "APP_VERSION",
            "\t 20170613-2",
            "DSP",
            "\t TYPE_SUNPLUSIT",
            "FUNCTION_OPTION",
            "\t USE_UVC",
            "\t ONE_RESOLUTION_SET",
            "\t VIDEO_FRAME_DOUBLE_BUFFER",
            "\t DIRECTSHOW_COPY_PREVIEW_FRAME_TO_CAPTURE",
            "\t SUPPORT_8M",
            "\t CUSTOM_VERSION",
            "LANGUAGE_INTERFACE",
            "\t MULTI_LANG",
            "MODEL_NAME",
            "DEVICE_NAME",
            "\t RV7T",
            "PLATFORM",
            "\t LINUX",
            "\t Q_OS_LINUX",
            "\n",
        };
        QCOMPARE(capture.messages(), expected);
    }

    void translationChoice_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<bool>("fileBesideProgram");
        QTest::addColumn<bool>("loaded");
        QTest::newRow("en opens no file") << "en" << true << false;
        QTest::newRow("fr with its file") << "fr" << true << true;
        QTest::newRow("fr without its file") << "fr" << false << false;
        QTest::newRow("zh-tw with its file") << "zh-tw" << true << true;
        QTest::newRow("unknown language") << "xx" << true << false;
    }
    void translationChoice()
    {
        QFETCH(QString, language);
        QFETCH(bool, fileBesideProgram);
        QFETCH(bool, loaded);

        QTemporaryDir programDir;
        QVERIFY(programDir.isValid());
        if (fileBesideProgram) {
            for (const QString &lang : {QString("fr"), QString("zh-tw"), QString("en")}) {
                const QString built = QString(DOCCAM_BIN_DIR) + "/VOREN_" + lang + ".qm";
                if (QFile::exists(built))
                    QVERIFY(QFile::copy(built, programDir.filePath("VOREN_" + lang + ".qm")));
            }
        }
        QTranslator translator;
        QCOMPARE(installInterfaceTranslation(*QCoreApplication::instance(), translator, language,
                                             programDir.path()),
                 loaded);
        // Installed in every case, whether or not it loaded anything.
        QVERIFY(QCoreApplication::removeTranslator(&translator));
    }

    void translationsCompiledIntoResources_data()
    {
        QTest::addColumn<QString>("language");
        for (const char *l : {"zh-tw", "de", "es", "fr", "ja", "ru"})
            QTest::newRow(l) << QString(l);
    }
    void translationsCompiledIntoResources()
    {
        QFETCH(QString, language);
        QVERIFY(QFile::exists(":/translations/VOREN_" + language + ".qm"));
        QVERIFY(QFile::exists(QString(DOCCAM_BIN_DIR) + "/VOREN_" + language + ".qm"));
        QTranslator t;
        QVERIFY(t.load(":/translations/VOREN_" + language + ".qm"));
    }

    void highDpiAsTheProgramStarts()
    {
        // Every test program switches high-DPI scaling on before its application exists, the
        // way main() does: widgets under test lay out and pick pictures as they do for users.
        QVERIFY(QCoreApplication::testAttribute(Qt::AA_EnableHighDpiScaling));
        QVERIFY(QCoreApplication::testAttribute(Qt::AA_UseHighDpiPixmaps));
        // 150 % stays 1.5 rather than being rounded to 2.
        QCOMPARE(QGuiApplication::highDpiScaleFactorRoundingPolicy(),
                 Qt::HighDpiScaleFactorRoundingPolicy::PassThrough);
    }

    // The desktop's scale, not the monitor's millimetres: without Xft.dpi the font DPI is
    // pinned to the desktop's 100 %.
    void pinnedFontDpi_data()
    {
        QTest::addColumn<QByteArray>("resources");
        QTest::addColumn<QByteArray>("pinned");
        QTest::newRow("no resources") << QByteArray() << QByteArray("96");
        QTest::newRow("other Xft settings only")
            << QByteArray("Xft.antialias:\t1\nXft.hinting:\t1\n") << QByteArray("96");
        QTest::newRow("Xft.dpi 120 among others")
            << QByteArray("Xcursor.size:\t24\nXft.dpi:\t120\nXft.hinting:\t1\n") << QByteArray();
        QTest::newRow("Xft.dpi 96 without a tab") << QByteArray("Xft.dpi: 96") << QByteArray();
        QTest::newRow("fractional Xft.dpi") << QByteArray("Xft.dpi:\t144.5\n") << QByteArray();
        QTest::newRow("a longer name is another setting")
            << QByteArray("Xft.dpiScale:\t2\n") << QByteArray("96");
    }
    void pinnedFontDpi()
    {
        QFETCH(QByteArray, resources);
        QFETCH(QByteArray, pinned);
        QCOMPARE(::pinnedFontDpi(resources), pinned);
    }

    void windowCentring_data()
    {
        QTest::addColumn<QSize>("window");
        QTest::addColumn<QRect>("desktop");
        QTest::addColumn<QPoint>("topLeft");
        QTest::newRow("start size on full HD")
            << QSize(938, 680) << QRect(0, 0, 1920, 1080) << QPoint(491, 200);
        QTest::newRow("odd remainder truncates")
            << QSize(800, 641) << QRect(0, 0, 1025, 768) << QPoint(112, 63);
        // On the screen it opens on, not across the seam of two; below the desktop's panel.
        QTest::newRow("right-hand screen of two")
            << QSize(938, 680) << QRect(1920, 0, 1920, 1080) << QPoint(2411, 200);
        QTest::newRow("screen above another")
            << QSize(938, 680) << QRect(0, -768, 1366, 768) << QPoint(214, -724);
        QTest::newRow("below a top panel") << QSize(938, 680) << QRect(0, 27, 1366, 741) << QPoint(214, 57);
        // Larger than the desktop: still centred, with negative coordinates (toward zero).
        QTest::newRow("larger than the desktop")
            << QSize(938, 680) << QRect(0, 0, 800, 600) << QPoint(-69, -40);
    }
    void windowCentring()
    {
        QFETCH(QSize, window);
        QFETCH(QRect, desktop);
        QFETCH(QPoint, topLeft);
        QCOMPARE(centredTopLeft(window, desktop), topLeft);
    }
};

QTEST_GUILESS_MAIN(TestStartup)
#include "tst_startup.moc"
