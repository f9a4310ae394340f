#include "canvas/CanvasTypes.h"

#include <QtGlobal>

const QStringList EFFECT_ICON_NAMES = {QStringLiteral("COLOR"), QStringLiteral("BW"),
                                       QStringLiteral("NEGATIVE"), QStringLiteral("MOSAIC")};

const QStringList EFFECT_LABELS = {QString::fromUtf8(QT_TRANSLATE_NOOP("OSDProcessor", "Color")),
                                   QString::fromUtf8(QT_TRANSLATE_NOOP("OSDProcessor", "B & W")),
                                   QString::fromUtf8(QT_TRANSLATE_NOOP("OSDProcessor", "Negative")),
                                   QString::fromUtf8(QT_TRANSLATE_NOOP("OSDProcessor", "Mosaic"))};

const QList<int> EFFECT_VALUES = {EFFECT_COLOR, EFFECT_BW, EFFECT_NEGATIVE, EFFECT_MOSAIC};

const QStringList MASK_ICON_NAMES = {QStringLiteral(""), QStringLiteral("CIRCLE"),
                                     QStringLiteral("RECTANGLE"), QStringLiteral("LEFT"),
                                     QStringLiteral("TOP")};

const QList<int> MASK_VALUES = {MASK_NONE, MASK_CIRCLE, MASK_RECTANGLE, MASK_LEFT, MASK_TOP};
