#pragma once

#include "ManualClock.h"
#include "toolwindows/ToolWindowHost.h"

#include <QHash>
#include <QSize>
#include <QVector>
#include <QWidget>

class ImageButton;
class ImageCanvas;
class OSDProcessor;

// A small window that opens popups as the main window does: it shows one of its canvases at a
// time (each with its on-screen display), switches between them like a mode switch, and records
// what the settings popup applies. Anchor buttons are made with addAnchor().
class PopupTestHost : public QWidget, public ToolWindowHost
{
    Q_OBJECT
public:
    explicit PopupTestHost(int canvasCount = 2);
    ~PopupTestHost() override;

    ImageButton *addAnchor(const QString &iconName, const QPoint &position);
    ImageCanvas *canvasAt(int index) const { return m_canvases[index]; }
    // Makes canvas `index` the one in use; emits modeChanged() when that changed it.
    void switchTo(int index);

    QWidget *hostWidget() override { return this; }
    ImageCanvas *currentCanvas() const override { return m_current; }
    OSDProcessor *osdProcessor(ImageCanvas *canvas) const override { return m_osd.value(canvas); }
    const QVector<QSize> &supportedResolutions() const override { return m_resolutions; }
    void setLiveResolution(int width, int height) override;
    QSize liveResolution() const override { return liveSize; }
    void resetRecordingState() override { ++resetCount; }
    void applyFlicker(int code) override { flickerCodes.append(code); }
    QMetaObject::Connection connectModeChanged(QObject *receiver, std::function<void()> slot) override;
    const QString &widthLabel() const override { return m_width; }
    const QString &lineWidthLabel() const override { return m_lineWidth; }
    const QString &lineColorLabel() const override { return m_lineColor; }
    const QString &fillColorLabel() const override { return m_fillColor; }
    QImage aboutPicture() const override;

    void setSupportedResolutions(const QVector<QSize> &sizes) { m_resolutions = sizes; }

    // The clock the on-screen displays read; it moves only when the test moves it.
    ManualClock clock;
    QVector<QSize> liveResolutions;
    QSize liveSize; // what the camera runs at; invalid: none runs
    int resetCount = 0;
    QVector<int> flickerCodes;

signals:
    void modeChanged();

private:
    QVector<ImageCanvas *> m_canvases;
    QHash<ImageCanvas *, OSDProcessor *> m_osd;
    ImageCanvas *m_current = nullptr;
    QVector<QSize> m_resolutions;
    QString m_width = QStringLiteral("Width");
    QString m_lineWidth = QStringLiteral("Line Width");
    QString m_lineColor = QStringLiteral("Line Color");
    QString m_fillColor = QStringLiteral("Fill Color");
};
