#include "app/DumpConfig.h"

#include "common/Logging.h"

#include <QDebug>

void DumpConfig()
{
    qCDebug(lcTrace) << "APP_VERSION";
    qCDebug(lcTrace) << "\t"
                     << "20170613-2";
    qCDebug(lcTrace) << "DSP";
    qCDebug(lcTrace) << "\t"
                     << "TYPE_SUNPLUSIT";
    qCDebug(lcTrace) << "FUNCTION_OPTION";
    qCDebug(lcTrace) << "\t"
                     << "USE_UVC";
    qCDebug(lcTrace) << "\t"
                     << "ONE_RESOLUTION_SET";
    qCDebug(lcTrace) << "\t"
                     << "VIDEO_FRAME_DOUBLE_BUFFER";
    qCDebug(lcTrace) << "\t"
                     << "DIRECTSHOW_COPY_PREVIEW_FRAME_TO_CAPTURE";
    qCDebug(lcTrace) << "\t"
                     << "SUPPORT_8M";
    qCDebug(lcTrace) << "\t"
                     << "CUSTOM_VERSION";
    qCDebug(lcTrace) << "LANGUAGE_INTERFACE";
    qCDebug(lcTrace) << "\t"
                     << "MULTI_LANG";
    qCDebug(lcTrace) << "MODEL_NAME";
    qCDebug(lcTrace) << "DEVICE_NAME";
    qCDebug(lcTrace) << "\t"
                     << "RV7T";
    qCDebug(lcTrace) << "PLATFORM";
    qCDebug(lcTrace) << "\t"
                     << "LINUX";
    qCDebug(lcTrace) << "\t"
                     << "Q_OS_LINUX";
    qCDebug(lcTrace) << "\n";
}
