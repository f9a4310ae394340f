#include "common/LiveSourceBase.h"

LiveSourceBase::LiveSourceBase(QObject *parent)
    : QObject(parent)
{ }

LiveSourceBase::~LiveSourceBase() = default;
