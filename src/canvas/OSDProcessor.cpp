#include "canvas/OSDProcessor.h"

#include "canvas/CanvasMessages.h"
#include "canvas/CanvasTypes.h"
#include "canvas/ImageCanvas.h"
#include "common/LiveSourceBase.h"
#include "common/SkinPicture.h"

#include <QCoreApplication>
#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPen>

namespace {

QImage osdPicture(const QString &name)
{
    // Absent pictures (the mask indication of MASK_NONE) load as null images and draw nothing.
    return SkinPicture::load(QStringLiteral(":/icons/OSD/%1.png").arg(name));
}

// Places and labels follow the pictures' logical sizes, whatever screen they were drawn for.
int widthOf(const QImage &picture)
{
    return SkinPicture::logicalSize(picture).width();
}

int heightOf(const QImage &picture)
{
    return SkinPicture::logicalSize(picture).height();
}

QString twoDigits(qint64 value, const QString &pattern)
{
    return pattern.arg(value < 10 ? QStringLiteral("0") + QString::number(value) : QString::number(value));
}

} // namespace

OSDProcessor::OSDProcessor(ImageCanvas *canvas, LiveSourceBase *liveSource, QObject *parent,
                           const Clock &clock)
    : QObject(parent)
    , m_canvas(canvas)
    , m_liveSource(liveSource)
    , m_maskWatch(clock)
    , m_colorWatch(clock)
    , m_brightnessWatch(clock)
    , m_zoomWatch(clock)
    , m_rotateWatch(clock)
    , m_clipWatch(clock)
    , m_autoFocusWatch(clock)
    , m_recordingWatch(clock)
    , m_snapshotWatch(clock)
    , m_notice(clock)
    , m_snapshotNotice(clock)
{
    m_messages = new CanvasMessages(canvas, clock, this);
    if (m_canvas)
        m_canvas->pipeline()->setOverlay(this);
    m_repaintTimer.setSingleShot(true);
    connect(&m_repaintTimer, &QTimer::timeout, this, &OSDProcessor::repaintCanvas);
}

OSDProcessor::~OSDProcessor()
{
    if (m_canvas)
        m_canvas->pipeline()->detachOverlay(this);
}

QString OSDProcessor::zoomLabel(double zoom)
{
    if (zoom < 1.0)
        return tr("Best fit");
    // The canvas zoom is the magnification itself, in whole steps.
    return QStringLiteral("%1x").arg(int(zoom));
}

QString OSDProcessor::timeText(qint64 seconds)
{
    const qint64 hours = seconds / 3600;
    const qint64 minutes = (seconds - hours * 3600) / 60;
    return twoDigits(hours, QStringLiteral("%1:")) + twoDigits(minutes, QStringLiteral("%1:"))
        + twoDigits(seconds % 60, QStringLiteral("%1"));
}

void OSDProcessor::showMask()
{
    const int mask = m_canvas ? m_canvas->pipeline()->mask() : MASK_NONE;
    m_maskWatch.restart();
    m_maskPicture = osdPicture(QStringLiteral("OSD_MASK_") + MASK_ICON_NAMES.value(mask));
    repaintCanvas();
}

void OSDProcessor::showColor()
{
    const int effect = m_canvas ? m_canvas->pipeline()->effect() : EFFECT_COLOR;
    m_colorWatch.restart();
    m_colorPicture = osdPicture(QStringLiteral("OSD_COLOR_") + EFFECT_ICON_NAMES.value(effect));
    m_colorLabel = QCoreApplication::translate("OSDProcessor",
                                               EFFECT_LABELS.value(effect).toUtf8().constData());
    repaintCanvas();
}

void OSDProcessor::showBrightness()
{
    m_brightnessWatch.restart();
    m_brightnessShort = osdPicture(QStringLiteral("OSD_BRIGHTNESS_BK_SHORT"));
    m_brightnessLong = osdPicture(QStringLiteral("OSD_BRIGHTNESS_BK_LONG"));
    m_brightnessMin = osdPicture(QStringLiteral("OSD_BRIGHTNESS_BK_MIN"));
    m_brightnessMax = osdPicture(QStringLiteral("OSD_BRIGHTNESS_BK_MAX"));
    m_brightnessBar = osdPicture(QStringLiteral("OSD_BRIGHTNESS_BAR"));
    m_brightnessBarCenter = osdPicture(QStringLiteral("OSD_BRIGHTNESS_BAR_CENTER"));
    repaintCanvas();
}

void OSDProcessor::showZoom(const QString &picture)
{
    m_zoomWatch.restart();
    m_zoomPicture = osdPicture(picture);
    m_zoomLabel = zoomLabel(m_canvas ? m_canvas->pipeline()->zoom() : 1.0);
    repaintCanvas();
}

void OSDProcessor::showZoomIn()
{
    showZoom(QStringLiteral("OSD_ZOOM_IN"));
}

void OSDProcessor::showZoomOut()
{
    showZoom(QStringLiteral("OSD_ZOOM_OUT"));
}

void OSDProcessor::showRotate()
{
    m_rotateWatch.restart();
    m_rotatePicture = osdPicture(QStringLiteral("OSD_ROTATE"));
    m_rotateLabel = QStringLiteral("%1").arg((m_canvas ? m_canvas->pipeline()->rotation() : 0) * 90);
    repaintCanvas();
}

void OSDProcessor::showAutoFocus()
{
    m_autoFocusWatch.restart();
    m_autoFocusPicture = osdPicture(QStringLiteral("OSD_AUTOFOCUS"));
    repaintCanvas();
}

void OSDProcessor::showFreeze()
{
    m_freezePicture = osdPicture(QStringLiteral("OSD_FREEZE"));
    repaintCanvas();
}

void OSDProcessor::showMacro(int on)
{
    m_macro = on;
    m_macroPicture = osdPicture(QStringLiteral("OSD_MACRO"));
    repaintCanvas();
}

void OSDProcessor::startRecordingTime()
{
    m_recordingWatch.start();
    m_timePicture = osdPicture(QStringLiteral("OSD_TIME"));
    repaintCanvas();
}

void OSDProcessor::stopRecordingTime()
{
    m_recordingWatch.invalidate();
    repaintCanvas();
}

void OSDProcessor::showSnapshot()
{
    m_snapshotWatch.start();
    m_snapshotPicture = osdPicture(QStringLiteral("OSD_SNAPSHOT"));
}

void OSDProcessor::showSnapshotFailure(const QString &cause)
{
    m_snapshotNotice.show(tr("Snapshot not saved: %1").arg(cause));
}

void OSDProcessor::showNotice(const QString &text)
{
    m_notice.show(text);
    repaintCanvas();
}

QString OSDProcessor::noticeText() const
{
    auto text = [this] {
        const OsdNotice *shown = newerNotice();
        return shown ? shown->text() : QString();
    };
    if (!m_canvas)
        return text();
    std::lock_guard<CanvasLock> lock(m_canvas->pipeline()->lock());
    return text();
}

const OsdNotice *OSDProcessor::newerNotice() const
{
    const bool recent = m_notice.isShown();
    const bool snapshot = m_snapshotNotice.isShown();
    if (recent && snapshot)
        return m_notice.age() <= m_snapshotNotice.age() ? &m_notice : &m_snapshotNotice;
    return recent ? &m_notice : snapshot ? &m_snapshotNotice : nullptr;
}

void OSDProcessor::repaintCanvas()
{
    if (m_canvas)
        m_canvas->update();
    m_repaintTimer.stop();
    scheduleRepaint(false);
}

qint64 OSDProcessor::nextChangeMs(bool withSnapshot) const
{
    qint64 next = -1;
    const auto consider = [&next](qint64 ms) {
        if (ms >= 0 && (next < 0 || ms < next))
            next = ms;
    };
    for (const Stopwatch *watch :
         {&m_maskWatch, &m_colorWatch, &m_brightnessWatch, &m_zoomWatch, &m_rotateWatch, &m_autoFocusWatch}) {
        if (watch->isWithin(SHOW_MS))
            consider(SHOW_MS - watch->elapsed());
    }
    if (m_notice.isShown())
        consider(OsdNotice::SHOW_MS - m_notice.age());
    if (withSnapshot && m_snapshotWatch.isWithin(SNAPSHOT_SHOW_MS))
        consider(SNAPSHOT_SHOW_MS - m_snapshotWatch.elapsed());
    if (withSnapshot && m_snapshotNotice.isShown())
        consider(OsdNotice::SHOW_MS - m_snapshotNotice.age());
    if (m_clipWatch.isValid() && m_clipWatch.elapsed() <= CLIP_BLINK_END_MS)
        consider(100 - m_clipWatch.elapsed() % 100); // the next blink
    return next;
}

void OSDProcessor::scheduleRepaint(bool withSnapshot)
{
    const qint64 next = nextChangeMs(withSnapshot);
    if (next < 0) {
        m_repaintTimer.stop();
        return;
    }
    // A millisecond late, so that the change has happened when the paint looks.
    if (!m_repaintTimer.isActive() || next + 1 < m_repaintTimer.remainingTime())
        m_repaintTimer.start(int(next) + 1);
}

void OSDProcessor::paint(QPainter *painter, const CanvasState &state)
{
    const int w = state.size.width();
    const int h = state.size.height();
    SkinPicture::prepare(*painter);
    if (m_maskWatch.isWithin(SHOW_MS))
        painter->drawImage(30, h - 50, m_maskPicture);
    if (m_colorWatch.isWithin(SHOW_MS))
        paintLabelled(painter, 75, h - 50, m_colorPicture, m_colorLabel);
    if (m_brightnessWatch.isWithin(SHOW_MS))
        paintBrightness(painter, w, h);
    if (m_zoomWatch.isWithin(SHOW_MS))
        paintLabelled(painter, w - 100, h - 50, m_zoomPicture, m_zoomLabel);
    if (m_rotateWatch.isWithin(SHOW_MS))
        paintLabelled(painter, w - 100, h - 100, m_rotatePicture, m_rotateLabel);
    if (m_autoFocusWatch.isWithin(SHOW_MS))
        painter->drawImage(w - 145, h - 50, m_autoFocusPicture);
    if (state.freeze)
        painter->drawImage(w - 190, h - 50, m_freezePicture);
    if (m_macro != 0)
        painter->drawImage(w - 235, h - 50, m_macroPicture);
    if (m_recordingWatch.isValid())
        paintRecordingTime(painter, w, h);
    if (m_snapshotWatch.isWithin(SNAPSHOT_SHOW_MS))
        painter->drawImage(10, 10, m_snapshotPicture);
    if (const OsdNotice *notice = newerNotice())
        notice->paint(painter, state.size);
    paintClipFrame(painter, state);
    m_messages->paint(painter, state.size);
    // The snapshot mark and the clip frame start inside the paint; their end needs a repaint too.
    scheduleRepaint(true);
}

void OSDProcessor::paintLabelled(QPainter *painter, int x, int y, const QImage &picture, const QString &text)
{
    painter->drawImage(x, y, picture);
    painter->setPen(QPen(Qt::white));
    painter->setFont(QFont(QStringLiteral("Arial"), 11));
    const QFontMetrics metrics = painter->fontMetrics();
    const int textWidth = metrics.horizontalAdvance(text);
    painter->drawText(x + (widthOf(picture) - textWidth - 38) / 2 + 38,
                      y + (metrics.height() + heightOf(picture)) / 2, text);
}

void OSDProcessor::paintBrightness(QPainter *painter, int w, int h)
{
    const bool open = m_liveSource && m_liveSource->isOpen();
    const int level = open ? m_liveSource->brightnessLevel() : 0;
    const int min = open ? m_liveSource->brightnessLevelMin() : 0;
    const int max = open ? m_liveSource->brightnessLevelMax() : 0;
    const int mid = (min + max) / 2;

    int x = (w
             - (widthOf(m_brightnessMin) + (max - min) * widthOf(m_brightnessShort)
                + widthOf(m_brightnessLong) + widthOf(m_brightnessMax)))
        / 2;
    const int y = h - 50;
    painter->drawImage(x, y, m_brightnessMin);
    x += widthOf(m_brightnessMin);
    for (int v = min; v <= max; ++v) {
        if (v == mid) {
            painter->drawImage(x, y, m_brightnessLong);
            if (level == v)
                painter->drawImage(x + 4, h - 40, m_brightnessBarCenter);
            x += widthOf(m_brightnessLong);
        } else {
            painter->drawImage(x, y, m_brightnessShort);
            if (level == v)
                painter->drawImage(x + 5, h - 37, m_brightnessBar);
            x += widthOf(m_brightnessShort);
        }
    }
    painter->drawImage(x, y, m_brightnessMax);
}

void OSDProcessor::paintRecordingTime(QPainter *painter, int w, int h)
{
    const QString text = timeText(m_recordingWatch.elapsed() / 1000);
    const int px = (w - widthOf(m_timePicture)) / 2;
    painter->drawImage(px, h - 100, m_timePicture);
    painter->setPen(QPen(Qt::red));
    QFont font(QStringLiteral("Arial"), 15);
    font.setWeight(75);
    painter->setFont(font);
    const QFontMetrics metrics = painter->fontMetrics();
    painter->drawText(px + (widthOf(m_timePicture) - metrics.horizontalAdvance(text)) / 2,
                      (metrics.height() + heightOf(m_timePicture)) / 2 + h - 103, text);
}

void OSDProcessor::paintClipFrame(QPainter *painter, const CanvasState &state)
{
    if (state.clipSelected) {
        m_clipFrame = state.clipFrame;
        m_clipWatch.start();
    }
    if (!m_clipWatch.isValid())
        return;
    const qint64 elapsed = m_clipWatch.elapsed();
    if (elapsed <= CLIP_BLINK_END_MS && (elapsed / 100) % 2 == 0) {
        painter->setPen(QPen(QBrush(Qt::black), 1, Qt::SolidLine));
        painter->setBrush(Qt::NoBrush);
        painter->drawRect(m_clipFrame);
    }
}
