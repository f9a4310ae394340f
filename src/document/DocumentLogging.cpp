#include "document/DocumentLogging.h"

Q_LOGGING_CATEGORY(lcDocument, "doccam.document", QtInfoMsg)
