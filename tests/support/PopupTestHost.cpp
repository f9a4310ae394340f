#include "PopupTestHost.h"

#include "canvas/ImageCanvas.h"
#include "canvas/OSDProcessor.h"
#include "widgets/ImageButton.h"

PopupTestHost::PopupTestHost(int canvasCount)
    : m_resolutions{{1024, 768},  {1280, 720},  {1600, 1200}, {1920, 1080},
                    {2048, 1536}, {2592, 1944}, {3264, 2448}}
{
    resize(640, 480);
    for (int i = 0; i < canvasCount; ++i) {
        auto *canvas = new ImageCanvas(this);
        canvas->setGeometry(80, 0, 560, 480);
        canvas->setVisible(i == 0);
        m_canvases.append(canvas);
        m_osd.insert(canvas, new OSDProcessor(canvas, nullptr, this, clock));
    }
    m_current = m_canvases.value(0);
}

PopupTestHost::~PopupTestHost() = default;

ImageButton *PopupTestHost::addAnchor(const QString &iconName, const QPoint &position)
{
    auto *button = new ImageButton(iconName, this, position);
    button->show();
    return button;
}

void PopupTestHost::switchTo(int index)
{
    ImageCanvas *canvas = m_canvases[index];
    if (canvas == m_current)
        return;
    m_current->hide();
    m_current = canvas;
    m_current->show();
    emit modeChanged();
}

void PopupTestHost::setLiveResolution(int width, int height)
{
    liveResolutions.append(QSize(width, height));
}

QMetaObject::Connection PopupTestHost::connectModeChanged(QObject *receiver, std::function<void()> slot)
{
    return connect(this, &PopupTestHost::modeChanged, receiver, std::move(slot));
}

QImage PopupTestHost::aboutPicture() const
{
    return QImage(QStringLiteral(":/icons/Background/POP_BK_ABOUT_small.png"));
}
