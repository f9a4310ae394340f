#include "PopupTestHost.h"
#include "canvas/ImageCanvas.h"
#include "common/Config.h"
#include "sources/devices/simulated/SimulatedBackend.h"
#include "sources/devices/simulated/SimulatedCamera.h"
#include "sources/live/LiveSource.h"
#include "sources/media/MediaFramework.h"
#include "toolwindows/SettingsToolWindow.h"
#include "widgets/ImageButton.h"

#include <QComboBox>
#include <QSettings>
#include <QSignalSpy>
#include <QtTest>

#include <memory>

namespace {

// A host whose live operations reach a real live source on the simulated camera, as the main
// window's do.
class LiveHost : public PopupTestHost
{
public:
    explicit LiveHost(std::shared_ptr<SimulatedCamera> camera)
        : PopupTestHost(1)
        , source(std::make_unique<SimulatedBackend>(std::move(camera)), canvasAt(0)->pipeline(), 320, 240,
                 320, 240)
    { }
    ~LiveHost() override { source.close(); }

    void setLiveResolution(int width, int height) override
    {
        PopupTestHost::setLiveResolution(width, height);
        source.setResolution(width, height);
    }
    QSize liveResolution() const override { return source.captureSize(); }
    void applyFlicker(int code) override
    {
        PopupTestHost::applyFlicker(code);
        if (source.isOpen())
            source.setFlicker(code);
    }

    LiveSource source;
};

} // namespace

class TestSettingsLive : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QCoreApplication::setOrganizationName(QStringLiteral("Quillmore"));
        QCoreApplication::setApplicationName(QStringLiteral("Document Camera"));
        QVERIFY(MediaFramework::initialize());
    }

    void cleanupTestCase()
    {
        Config::resetForTesting();
        MediaFramework::shutdown();
    }

    void okReopensTheCameraAtTheChosenSize()
    {
        Config::resetForTesting();
        {
            QSettings settings;
            settings.clear();
            settings.setValue(QStringLiteral("resolution2"), QSize(1024, 768));
            settings.setValue(QStringLiteral("flicker"), 1);
        }
        Config::resetForTesting();
        auto camera = std::make_shared<SimulatedCamera>();
        LiveHost host(camera);
        QSignalSpy plugIn(&host.source, &LiveSource::devicePlugIn);
        QTRY_COMPARE_WITH_TIMEOUT(plugIn.count(), 1, 8000);
        ImageCanvas *canvas = host.canvasAt(0);
        QTRY_COMPARE_WITH_TIMEOUT(canvas->pipeline()->outputImage().size(), QSize(320, 240), 10000);

        ImageButton *anchor = host.addAnchor(QStringLiteral("ICON_SETTING"), QPoint(10, 40));
        SettingsToolWindow popup(anchor, &host);
        popup.show();
        // The camera runs at the size it was opened at, not the one stored: that is shown.
        QCOMPARE(popup.resolutionBox()->currentText(), QStringLiteral("320 x 240"));
        popup.resolutionBox()->setCurrentIndex(popup.resolutionBox()->findText("1280 x 720")); // asks nothing
        popup.flickerBox()->setCurrentIndex(1);                                                // 60 Hz
        QTest::mouseClick(popup.okButton(), Qt::LeftButton);

        QCOMPARE(Config::resolution(), QSize(1280, 720));
        QCOMPARE(host.source.captureCaps(),
                 QStringLiteral("image/jpeg,width=1280,height=720,framerate=30/1"));
        QTRY_COMPARE_WITH_TIMEOUT(canvas->pipeline()->outputImage().size(), QSize(1280, 720), 10000);
        QCOMPARE(Config::flicker(), quint64(2));
        QCOMPARE(host.source.flicker(), 2);
        QCOMPARE(host.resetCount, 1);
    }
};

QTEST_MAIN(TestSettingsLive)
#include "tst_settingslive.moc"
