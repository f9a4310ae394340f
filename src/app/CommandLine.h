#pragma once

#include <QCommandLineParser>
#include <QString>
#include <QStringList>

// The program's command line: document-camera [options] [FILE|FOLDER]. Options: -h/--help,
// -v/--version, -l/--language <code> (the interface language for this run, in place of the
// stored one); or document-camera --scan-pdf OUT.pdf [--ocr-language LANGS] [--filter NAME]
// PICTURE... (pictures of pages to a searchable PDF, without a display). Options may be written with one dash
// or two; the toolkit's own options
// (-platform, -style, ...) are taken out by the application object before this sees them.
//
// Threads: the main thread, at start-up.
class CommandLine
{
public:
    enum class Request { Run, Help, Version, Invalid, ScanPdf };

    // `arguments` with the program first; `languages` the interface languages the program has
    // ("en" and those with a translation file).
    CommandLine(const QStringList &arguments, const QStringList &languages);
    CommandLine(const CommandLine &) = delete;
    CommandLine &operator=(const CommandLine &) = delete;

    // Help or the version asked for, whatever else the line holds: these are answered before the
    // toolkit looks for a display, and its options are still in `arguments` then.
    static bool asksForInformation(const QStringList &arguments);
    // Whether the line is answered before the toolkit starts: help or the version asked for, or
    // a line that is wrong once the toolkit's own options are taken out, which then needs no
    // display to be told.
    static bool answeredBeforeTheToolkit(const QStringList &arguments, const QStringList &languages);
    // `arguments` without the toolkit's own options (-platform <name>, -style=<name>, -reverse,
    // ...), as the application object would leave them.
    static QStringList withoutToolkitOptions(const QStringList &arguments);
    // A scan to PDF asked for: it runs without the toolkit's display too.
    static bool asksForScan(const QStringList &arguments);

    Request request() const { return m_request; }
    // The file or folder to open, empty when none is named.
    QString file() const { return m_file; }
    // The language chosen for this run, empty when the stored one applies.
    QString language() const { return m_language; }
    // A scan's PDF, its pictures, its OCR languages as written (empty: the default) and filter.
    QString scanOutput() const { return m_scanOutput; }
    QStringList scanPictures() const { return m_scanPictures; }
    QString ocrLanguages() const { return m_ocrLanguages; }
    QString filter() const { return m_filter; }
    // What is wrong with an invalid line.
    QString error() const { return m_error; }

    // The usage text; needs the application object (it names the program as it was called).
    QString helpText() const;
    static QString versionText();

    // Prints what the request asks for (help or version on standard output, the error and the
    // usage on standard error) and returns the exit status: 0, or 2 for an invalid line (1 for
    // an invalid scan line: no PDF was written).
    int answer() const;

private:
    QCommandLineParser m_parser;
    QString m_program; // its file name, as the line names it
    Request m_request = Request::Run;
    QString m_file;
    QString m_language;
    bool m_scanAsked = false;
    QString m_scanOutput;
    QStringList m_scanPictures;
    QString m_ocrLanguages;
    QString m_filter;
    QString m_error;
};
