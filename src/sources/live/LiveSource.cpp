#include "sources/live/LiveSource.h"

#include "common/ICaptureCB.h"
#include "common/Logging.h"
#include "sources/devices/DeviceBackendLoader.h"
#include "sources/live/CaptureDeviceSearch.h"
#include "sources/live/LiveCaptureGraph.h"

#include <QTimer>
#include <QtEndian>

#include <cerrno>
#include <climits>
#include <cstring>
#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace {
constexpr quint32 REGISTER_ADDRESS_CONTROL = 19;
constexpr quint32 REGISTER_DATA_CONTROL = 20;
constexpr quint32 REGISTER_ZOOM_POSITION = 0x70000024;
constexpr quint32 REGISTER_ZOOM_FACTOR_1 = 0x7000001C;
constexpr quint32 REGISTER_ZOOM_FACTOR_2 = 0x7000001E;
} // namespace

LiveSource::LiveSource(ICaptureCB *sink, int width, int height, int recordWidth, int recordHeight,
                       QObject *parent)
    : LiveSource(DeviceBackendLoader::fromEnvironment(), sink, width, height, recordWidth, recordHeight,
                 parent)
{ }

LiveSource::LiveSource(std::unique_ptr<DeviceBackend> backend, ICaptureCB *sink, int width, int height,
                       int recordWidth, int recordHeight, QObject *parent)
    : LiveSourceBase(parent)
    , m_presenceTimer(new QTimer(this))
    , m_width(width)
    , m_height(height)
    , m_recordWidth(recordWidth)
    , m_recordHeight(recordHeight)
    , m_backend(std::move(backend))
    , m_sink(sink)
{
    construct();
}

void LiveSource::construct()
{
    m_settleClock.invalidate();
    m_open = false;
    checkExistance();
    connect(m_presenceTimer, &QTimer::timeout, this, &LiveSource::checkExistance);
    m_presenceTimer->setInterval(PRESENCE_INTERVAL_MS);
    m_presenceTimer->start();
    m_sink->recordBuffer[0] = nullptr;
    m_sink->recordBuffer[1] = nullptr;
    m_sink->recordingActive.store(false, std::memory_order_release);
}

LiveSource::~LiveSource()
{
    if (m_open)
        teardownGraph();
    freeRecordSlots();
}

bool LiveSource::isOpen()
{
    return m_open;
}

std::unique_ptr<DeviceFilter> LiveSource::enumCaptureFilter(DeviceCategory category)
{
    return CaptureDeviceSearch::enumCaptureFilter(m_backend.get(), category);
}

void LiveSource::checkExistance()
{
    if (m_open)
        return;
    m_device = enumCaptureFilter(DeviceCategory::VideoInput);
    if (!m_device)
        return;
    if (m_settleClock.isValid() && m_settleClock.elapsed() > SETTLE_MS) {
        m_open = true;
        m_hasCameraControl = m_device->hasCameraControl();
        buildGraph(false);
        emit devicePlugIn();
        return;
    }
    m_device.reset();
    if (!m_settleClock.isValid())
        m_settleClock.start();
}

void LiveSource::close()
{
    if (m_open)
        teardownGraph();
    m_open = false;
}

void LiveSource::setResolution(int width, int height)
{
    if (m_open)
        teardownGraph();
    m_width = width;
    m_height = height;
    buildGraph(false);
}

void LiveSource::startRecording(const QString &path)
{
    if (!m_open)
        return;
    teardownGraph();
    m_recordPath = path;
    buildGraph(true);
}

void LiveSource::stopRecording()
{
    if (!m_open)
        return;
    teardownGraph();
    buildGraph(false);
}

QString LiveSource::captureCaps() const
{
    return m_graph ? m_graph->captureCaps() : QString();
}

void LiveSource::buildGraph(bool record)
{
    if (!m_open || !m_device)
        return;
    // Ask the camera what it offers first: a pipeline built with caps the device cannot give
    // would stall and be reopened forever.
    const CaptureMode mode = CaptureFormatChooser::choose(m_device->captureFormats(),
                                                          m_device->currentFormat(), m_width, m_height);
    if (mode.width != m_width || mode.height != m_height)
        qCInfo(lcSources) << "the camera does not offer" << m_width << "x" << m_height
                          << "- keeping its own format" << mode.toCapsString();

    m_graph = new LiveCaptureGraph(this);
    m_sink->recordBuffer[0] = nullptr;
    m_sink->recordBuffer[1] = nullptr;
    m_sink->recordReadySlot.store(ICaptureCB::NO_RECORD_SLOT, std::memory_order_release);
    m_graph->buildPreview(m_device.get(), mode, m_sink);

    if (record) {
        // Slots hold one JPEG of a processed frame; a frame of the camera's own format may be
        // larger than the requested size, so the larger of the two decides.
        const qint64 pixels = qMax(qint64(m_width) * m_height, qint64(mode.width) * mode.height);
        const int bytes = int(qMin<qint64>(pixels * 4, INT_MAX));
        // Mapped memory: a recording's slots come and go with its graph, and only the pages
        // a JPEG reaches become resident.
        for (int i = 0; i < 2; ++i) {
            m_recordSlots[i] = MappedBlock(size_t(bytes));
            m_sink->recordBuffer[i] = m_recordSlots[i].data();
            m_sink->recordBytes[i] = 0;
        }
        m_sink->recordBufferSize = bytes;
        if (!m_recordSlots[0] || !m_recordSlots[1]) {
            // Without slots no processed frame reaches the file; it ends empty and is removed.
            qCWarning(lcSources) << "no memory for the recording slots of" << bytes << "bytes";
            freeRecordSlots();
        }

        std::unique_ptr<DeviceFilter> audio = enumCaptureFilter(DeviceCategory::AudioInput);
        m_graph->addRecordBranch(m_recordPath, audio.get(), m_sink);

        m_sink->previewFrameSeen.store(false, std::memory_order_release);
        m_sink->recordingActive.store(true, std::memory_order_release);
    }
    m_graph->run();
}

void LiveSource::teardownGraph()
{
    const bool tornDown = m_graph != nullptr;
    if (m_graph) {
        if (!m_graph->finish())
            qCWarning(lcSources) << "the recording" << m_recordPath << "had to be ended without its camera";
        delete m_graph;
        m_graph = nullptr;
    }
    m_sink->recordingActive.store(false, std::memory_order_release);
    m_sink->previewFrameSeen.store(false, std::memory_order_release);
    freeRecordSlots();
#ifdef __GLIBC__
    // What the old graph's threads freed stays resident in malloc's heaps (each streaming
    // thread allocates from a heap of its own) until it is given back; graph changes are rare.
    if (tornDown)
        malloc_trim(0);
#endif
}

void LiveSource::freeRecordSlots()
{
    m_sink->recordReadySlot.store(ICaptureCB::NO_RECORD_SLOT, std::memory_order_release);
    for (int i = 0; i < 2; ++i) {
        m_sink->recordBuffer[i] = nullptr;
        m_sink->recordBytes[i] = 0;
        m_recordSlots[i].reset();
    }
    m_sink->recordBufferSize = 0;
}

qint32 LiveSource::brightness()
{
    qint32 value = 0;
    if (m_device)
        m_device->getProperty(DeviceProperty::Brightness, &value);
    return value;
}

qint32 LiveSource::setBrightness(qint32 value)
{
    return m_device ? m_device->setProperty(DeviceProperty::Brightness, value, PROPERTY_FLAG_MANUAL)
                    : -ENODEV;
}

void LiveSource::brightnessUp()
{
    if (m_open)
        setBrightness(brightness() + BRIGHTNESS_STEP);
}

void LiveSource::brightnessDown()
{
    if (m_open)
        setBrightness(brightness() - BRIGHTNESS_STEP);
}

int LiveSource::brightnessLevel()
{
    return m_open ? brightness() / BRIGHTNESS_STEP : 0;
}

int LiveSource::brightnessLevelMax()
{
    qint32 minimum = 0, maximum = 0;
    if (!m_open || m_device->getPropertyRange(DeviceProperty::Brightness, &minimum, &maximum) != 0)
        return 0;
    return maximum / BRIGHTNESS_STEP;
}

int LiveSource::brightnessLevelMin()
{
    qint32 minimum = 0, maximum = 0;
    if (!m_open || m_device->getPropertyRange(DeviceProperty::Brightness, &minimum, &maximum) != 0)
        return 0;
    return minimum / BRIGHTNESS_STEP;
}

qint32 LiveSource::triggerAutoFocus()
{
    if (!m_device || !m_hasCameraControl)
        return -ENODEV;
    qint32 focus = 0;
    m_device->getProperty(DeviceProperty::Focus, &focus);
    m_device->setProperty(DeviceProperty::Focus, focus, PROPERTY_FLAG_MANUAL);
    return m_device->setProperty(DeviceProperty::Focus, 0, PROPERTY_FLAG_AUTO);
}

qint32 LiveSource::flicker()
{
    qint32 value = 0;
    if (m_device)
        m_device->getProperty(DeviceProperty::PowerLineFrequency, &value);
    return value;
}

qint32 LiveSource::setFlicker(qint32 value)
{
    return m_device ? m_device->setProperty(DeviceProperty::PowerLineFrequency, value, PROPERTY_FLAG_MANUAL)
                    : -ENODEV;
}

void LiveSource::setMacro(bool)
{
    // Macro is an on-screen state only; the camera is not told.
}

void LiveSource::resumeCapture()
{
    m_sink->stopAutoRefresh();
}

void LiveSource::pauseCapture()
{
    // The graph keeps running while another mode is shown.
}

qint32 LiveSource::setExtensionControl(quint32 controlId, void *data, quint32 length)
{
    return m_device ? m_device->extensionUnitRequest(true, controlId, data, length) : -ENODEV;
}

qint32 LiveSource::getExtensionControl(quint32 controlId, void *data, quint32 length)
{
    return m_device ? m_device->extensionUnitRequest(false, controlId, data, length) : -ENODEV;
}

quint32 LiveSource::readRegister(quint32 address)
{
    quint32 wire = qToLittleEndian(address);
    setExtensionControl(REGISTER_ADDRESS_CONTROL, &wire, sizeof wire);
    unsigned char value[4] = {0, 0, 0, 0};
    getExtensionControl(REGISTER_DATA_CONTROL, value, sizeof value);
    return qFromLittleEndian<quint32>(value);
}

double LiveSource::deviceZoomPosition()
{
    if (!m_open)
        return 0.0;
    return readRegister(REGISTER_ZOOM_POSITION) / 100.0;
}

double LiveSource::deviceZoomFactor()
{
    if (!m_open)
        return 0.0;
    const double second = readRegister(REGISTER_ZOOM_FACTOR_2) / 1000.0;
    const double first = readRegister(REGISTER_ZOOM_FACTOR_1) / 1000.0;
    return second * first;
}
