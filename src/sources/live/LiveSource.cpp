#include "sources/live/LiveSource.h"

#include "common/ICaptureCB.h"
#include "common/Logging.h"
#include "common/OutputFile.h"
#include "sources/devices/DeviceBackendLoader.h"
#include "sources/live/CaptureDeviceSearch.h"
#include "sources/live/LiveCaptureGraph.h"
#include "sources/live/MicrophoneCheck.h"

#include <QFile>
#include <QTimer>
#include <QtEndian>

#include <cerrno>
#include <climits>
#include <cstring>
#include <unistd.h>
#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace {
constexpr quint32 REGISTER_ADDRESS_CONTROL = 19;
constexpr quint32 REGISTER_DATA_CONTROL = 20;
constexpr quint32 REGISTER_ZOOM_POSITION = 0x70000024;
constexpr quint32 REGISTER_ZOOM_FACTOR_1 = 0x7000001C;
constexpr quint32 REGISTER_ZOOM_FACTOR_2 = 0x7000001E;

// The first structure of caps written as text (the running capture's); null when there is none.
GstRef<GstStructure> firstStructure(const QString &capsText)
{
    if (capsText.isEmpty())
        return {};
    const GstRef<GstCaps> caps(gst_caps_from_string(capsText.toUtf8().constData()));
    if (!caps || gst_caps_get_size(caps.get()) == 0)
        return {};
    return GstRef<GstStructure>::borrow(gst_caps_get_structure(caps.get(), 0));
}
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
    closeRecordFile();
}

void LiveSource::closeRecordFile()
{
    if (m_recordFd >= 0)
        ::close(m_recordFd);
    m_recordFd = -1;
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
    CaptureDeviceSearch::Problem problem;
    CaptureDeviceSearch::CameraRank rank = CaptureDeviceSearch::CameraRank::BuiltIn;
    m_device = CaptureDeviceSearch::enumCaptureFilter(m_backend.get(), DeviceCategory::VideoInput, &problem,
                                                      m_lowestRank, &rank);
    if (!m_device) {
        if (problem.error == 0) {
            setAvailability(Availability::Absent);
            return;
        }
        // The camera is there: its settle time runs, so it opens as soon as it can be used.
        setAvailability(problem.error == -EBUSY ? Availability::InUse : Availability::NoPermission,
                        problem.location);
        if (!m_settleClock.isValid())
            m_settleClock.start();
        return;
    }
    if (m_settleClock.isValid() && m_settleClock.elapsed() > SETTLE_MS) {
        m_open = true;
        // A document camera pulled out is waited for: another camera (the teacher's webcam)
        // must not take over the class's picture meanwhile.
        if (rank == CaptureDeviceSearch::CameraRank::Vendor)
            m_lowestRank = rank;
        m_hasCameraControl = m_device->hasCameraControl();
        buildGraph(false);
        setAvailability(Availability::Open);
        emit devicePlugIn();
        return;
    }
    m_device.reset();
    if (!m_settleClock.isValid())
        m_settleClock.start();
    setAvailability(Availability::Starting);
}

void LiveSource::setAvailability(Availability availability, const QString &location)
{
    if (availability == m_availability && location == m_problemLocation)
        return;
    const Availability before = m_availability;
    m_availability = availability;
    m_problemLocation = location;
    // Told once per change, not at every check. A busy camera is the same news whichever
    // place (the stream or the presence check) noticed it.
    if (availability == before && availability != Availability::NoPermission) {
        emit availabilityChanged();
        return;
    }
    if (availability == Availability::NoPermission)
        qCWarning(lcSources).noquote() << "no permission to use the document camera at" << location
                                       << "- the user's account is not in the 'video' group";
    else if (availability == Availability::InUse)
        qCWarning(lcSources) << "the document camera is in use by another program";
    else if (availability == Availability::Open
             && (before == Availability::NoPermission || before == Availability::InUse))
        qCInfo(lcSources) << "the document camera can be used again";
    emit availabilityChanged();
}

void LiveSource::onCameraRefused(int error)
{
    if (error != -EBUSY || !m_open)
        return;
    setAvailability(Availability::InUse, m_device ? m_device->displayName() : QString());
    // Closed once the refusing graph has finished telling; the presence check opens the camera
    // again when the other program lets it go.
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (m_open && m_availability == Availability::InUse)
                close();
        },
        Qt::QueuedConnection);
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

bool LiveSource::startRecording(const QString &path, QString *error)
{
    if (m_open && m_graph && m_graph->isRecording())
        stopRecording();
    QString why;
    if (!m_open) {
        why = QStringLiteral("no camera is open");
    } else {
        // The file is made before the live graph is touched: a folder that cannot take it
        // leaves the preview running.
        closeRecordFile();
        m_recordFd = OutputFile::create(path, &why);
    }
    if (m_recordFd < 0) {
        qCWarning(lcSources) << "the recording" << path << "cannot start:" << why;
        if (error)
            *error = why;
        return false;
    }
    m_recordPath = path;
    const bool started = m_graph ? startRecordBranch() : buildGraph(true);
    if (started)
        return true;
    // The record branch did not join: the preview goes on, without the empty file.
    why = QStringLiteral("the record branch does not join the camera's stream");
    qCWarning(lcSources) << "the recording" << path << "cannot start:" << why;
    closeRecordFile();
    QFile::remove(path);
    if (error)
        *error = why;
    return false;
}

void LiveSource::stopRecording()
{
    if (!m_open || !m_graph)
        return;
    if (!m_graph->stopRecording())
        qCWarning(lcSources) << "the recording" << m_recordPath << "had to be ended without its camera";
    // The canvas stops encoding; the slots stay until the pipeline stops, since the preview's
    // streaming thread may still be inside a frame that saw the recording running.
    m_sink->recordingActive.store(false, std::memory_order_release);
    m_sink->recordReadySlot.store(ICaptureCB::NO_RECORD_SLOT, std::memory_order_release);
}

bool LiveSource::isRecording() const
{
    return m_graph && m_graph->isRecording();
}

QString LiveSource::captureCaps() const
{
    return m_graph ? m_graph->captureCaps() : QString();
}

QSize LiveSource::captureSize() const
{
    const GstRef<GstStructure> format = firstStructure(captureCaps());
    int width = 0, height = 0;
    if (!format || !gst_structure_get_int(format.get(), "width", &width)
        || !gst_structure_get_int(format.get(), "height", &height) || width <= 0 || height <= 0)
        return QSize();
    return QSize(width, height);
}

double LiveSource::captureFramesPerSecond() const
{
    const GstRef<GstStructure> format = firstStructure(captureCaps());
    int numerator = 0, denominator = 0;
    if (!format || !gst_structure_get_fraction(format.get(), "framerate", &numerator, &denominator)
        || denominator <= 0)
        return 0.0;
    return double(numerator) / denominator;
}

bool LiveSource::buildGraph(bool record)
{
    if (!m_open || !m_device)
        return false;
    // Ask the camera what it offers first: a pipeline built with caps the device cannot give
    // would stall and be reopened forever.
    m_mode = CaptureFormatChooser::choose(m_device->captureFormats(), m_device->currentFormat(), m_width,
                                          m_height);
    if (m_mode.width != m_width || m_mode.height != m_height)
        qCInfo(lcSources) << "the camera does not offer" << m_width << "x" << m_height
                          << "- keeping its own format" << m_mode.toCapsString();

    m_graph = new LiveCaptureGraph(this);
    connect(m_graph, &LiveCaptureGraph::cameraRefused, this, &LiveSource::onCameraRefused);
    connect(m_graph, &LiveCaptureGraph::recordingFailed, this, &LiveSource::recordingFailed);
    m_sink->recordReadySlot.store(ICaptureCB::NO_RECORD_SLOT, std::memory_order_release);
    m_graph->buildPreview(m_device.get(), m_mode, m_sink);
    const bool running = m_graph->run();
    if (record)
        return startRecordBranch() && running;
    return running;
}

bool LiveSource::startRecordBranch()
{
    // Slots hold one JPEG of a processed frame; a frame of the camera's own format may be
    // larger than the requested size, so the larger of the two decides.
    const qint64 pixels = qMax(qint64(m_width) * m_height, qint64(m_mode.width) * m_mode.height);
    allocateRecordSlots(int(qMin<qint64>(pixels * 4, INT_MAX)));

    std::unique_ptr<DeviceFilter> audio = enumCaptureFilter(DeviceCategory::AudioInput);
    if (audio) {
        const QString trouble = MicrophoneCheck::check(audio.get());
        if (!trouble.isEmpty()) {
            qCWarning(lcSources).noquote() << "the audio input" << audio->displayName()
                                           << "does not start (" + trouble + "); recording without sound";
            audio.reset();
        }
    }
    // The canvas encodes its pictures from here on; the record grabber takes the first one
    // published.
    m_sink->recordReadySlot.store(ICaptureCB::NO_RECORD_SLOT, std::memory_order_release);
    m_sink->previewFrameSeen.store(false, std::memory_order_release);
    m_sink->recordingActive.store(true, std::memory_order_release);
    // The branch takes the file made by startRecording(), or makes one itself.
    const int fd = m_recordFd;
    m_recordFd = -1;
    if (!m_graph->startRecording(m_recordPath, fd, audio.get(), m_sink)) {
        qCWarning(lcSources) << "the recording" << m_recordPath << "cannot start";
        m_sink->recordingActive.store(false, std::memory_order_release);
        return false;
    }
    return true;
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

void LiveSource::allocateRecordSlots(int bytes)
{
    if (m_recordSlots[0] && m_recordSlots[1] && m_recordSlotBytes >= bytes)
        return;
    // Mapped memory: only the pages a JPEG reaches become resident, and the slots go back to
    // the system whole when the camera's graph ends.
    for (int i = 0; i < 2; ++i) {
        m_recordSlots[i] = MappedBlock(size_t(bytes));
        m_sink->recordBuffer[i] = m_recordSlots[i].data();
        m_sink->recordBytes[i] = 0;
    }
    m_recordSlotBytes = bytes;
    m_sink->recordBufferSize = bytes;
    if (!m_recordSlots[0] || !m_recordSlots[1]) {
        // Without slots no processed frame reaches the file; it ends empty and is removed.
        qCWarning(lcSources) << "no memory for the recording slots of" << bytes << "bytes";
        freeRecordSlots();
    }
}

void LiveSource::freeRecordSlots()
{
    m_sink->recordReadySlot.store(ICaptureCB::NO_RECORD_SLOT, std::memory_order_release);
    for (int i = 0; i < 2; ++i) {
        m_sink->recordBuffer[i] = nullptr;
        m_sink->recordBytes[i] = 0;
        m_recordSlots[i] = MappedBlock();
    }
    m_recordSlotBytes = 0;
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
