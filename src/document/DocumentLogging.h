#pragma once

#include <QLoggingCategory>

// The document layer's diagnostics ("doccam.document"): page detection, OCR and PDF writing.
//
// Threads: any thread may log through it.
Q_DECLARE_LOGGING_CATEGORY(lcDocument)
