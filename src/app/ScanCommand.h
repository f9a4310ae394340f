#pragma once

#include <QString>

class CommandLine;

// The command line's scan: the pictures a --scan-pdf line names (a folder: its pictures in name
// order) to one searchable PDF, with the
// reason on standard error when it cannot be written, and each picture in which no page was
// found named there too.
//
// Threads: the main thread, before any window; the OCR runs on it with one core.
class ScanCommand
{
public:
    // The exit status: 0 when the PDF was written, 1 when not. `interfaceLanguage` gives the
    // default OCR languages (it and English).
    static int run(const CommandLine &line, const QString &interfaceLanguage);

    // Tesseract's OpenMP regions ask for threads by number, which only OMP_THREAD_LIMIT bounds,
    // and the OpenMP runtime reads it once, when it is loaded before main(): without it in the
    // environment, the program starts itself again with it (one thread), before anything else.
    // Returns only when the limit is in force or the program could not be started again.
    static void limitOpenMpThreads(char **argv);
};
