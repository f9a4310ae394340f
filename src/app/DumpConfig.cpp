#include "app/DumpConfig.h"

#include <QDebug>

void DumpConfig()
{
    qDebug() << "APP_VERSION";
    qDebug() << "\t"
             << "20170613-2";
    qDebug() << "DSP";
    qDebug() << "\t"
             << "TYPE_SUNPLUSIT";
    qDebug() << "FUNCTION_OPTION";
    qDebug() << "\t"
             << "USE_UVC";
    qDebug() << "\t"
             << "ONE_RESOLUTION_SET";
    qDebug() << "\t"
             << "VIDEO_FRAME_DOUBLE_BUFFER";
    qDebug() << "\t"
             << "DIRECTSHOW_COPY_PREVIEW_FRAME_TO_CAPTURE";
    qDebug() << "\t"
             << "SUPPORT_8M";
    qDebug() << "\t"
             << "CUSTOM_VERSION";
    qDebug() << "LANGUAGE_INTERFACE";
    qDebug() << "\t"
             << "MULTI_LANG";
    qDebug() << "MODEL_NAME";
    qDebug() << "DEVICE_NAME";
    qDebug() << "\t"
             << "RV7T";
    qDebug() << "PLATFORM";
    qDebug() << "\t"
             << "LINUX";
    qDebug() << "\t"
             << "Q_OS_LINUX";
    qDebug() << "\n";
}
