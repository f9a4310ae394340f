#include "mainwindow/CameraStatusDisplay.h"

#include "canvas/CanvasMessages.h"
#include "sources/live/LiveSource.h"

CameraStatusDisplay::CameraStatusDisplay(LiveSource *source, CanvasMessages *liveMessages, QObject *parent)
    : QObject(parent)
    , m_source(source)
    , m_messages(liveMessages)
{
    if (m_source)
        connect(m_source, &LiveSource::availabilityChanged, this, &CameraStatusDisplay::showAvailability);
    showAvailability();
}

QString CameraStatusDisplay::noCameraTitle()
{
    return tr("No document camera is connected");
}

QString CameraStatusDisplay::noCameraDetail()
{
    return tr("Connect the document camera to a USB port of this computer. Its picture appears here a few "
              "seconds later.");
}

QString CameraStatusDisplay::startingTitle()
{
    return tr("Starting the document camera...");
}

QString CameraStatusDisplay::noPermissionTitle(const QString &device)
{
    return tr("No permission to use %1: add your account to the 'video' group, then log in again")
        .arg(device);
}

QString CameraStatusDisplay::inUseTitle()
{
    return tr("The document camera is in use by another program");
}

QString CameraStatusDisplay::inUseDetail()
{
    return tr("Its picture appears here as soon as the other program lets it go.");
}

QString CameraStatusDisplay::noRecordingNotice()
{
    return tr("Nothing to record: there is no picture from the document camera.");
}

QString CameraStatusDisplay::noSnapshotNotice()
{
    return tr("No snapshot taken: there is no picture from the document camera.");
}

void CameraStatusDisplay::showAvailability()
{
    if (!m_messages || !m_source)
        return;
    switch (m_source->availability()) {
    case LiveSource::Availability::Absent:
        m_messages->setStanding(noCameraTitle(), noCameraDetail());
        break;
    case LiveSource::Availability::Starting:
        m_messages->setStanding(startingTitle());
        break;
    case LiveSource::Availability::NoPermission:
        m_messages->setStanding(noPermissionTitle(m_source->problemLocation()));
        break;
    case LiveSource::Availability::InUse:
        m_messages->setStanding(inUseTitle(), inUseDetail());
        break;
    case LiveSource::Availability::Open:
        m_messages->setStanding(QString());
        break;
    }
}

void CameraStatusDisplay::explainNoRecording(CanvasMessages *messages) const
{
    if (messages)
        messages->showNotice(noRecordingNotice());
}

void CameraStatusDisplay::explainNoSnapshot(CanvasMessages *messages) const
{
    if (messages)
        messages->showNotice(noSnapshotNotice());
}
