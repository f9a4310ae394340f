#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

// The files the program writes for the user (snapshots, recordings, printed pages) are made
// in their folder without ever following a link: a link planted under the name, pointing at
// a file elsewhere, is replaced and its target left untouched. Every step names the entry
// relative to the folder, opened once, so the folder cannot be swapped under the write either.
// A failure comes back as the system's own words, for the log and for the user.
//
// Threads: any thread; no state.
class OutputFile
{
public:
    // Writes `bytes` as the file `path`: into a fresh temporary entry in the same folder
    // (created exclusively, never through a link), then renamed over the name, which replaces
    // whatever entry is there (a file, a link) without following it. On failure nothing under
    // the name changes and no temporary entry is left.
    static bool replace(const QString &path, const QByteArray &bytes, QString *error);

    // Creates `path` for writing from the start: an entry of that name that is not a folder
    // (an older file, a link, dangling or not) is removed first, then the file is created
    // exclusively without following links. Returns the descriptor, open for reading and
    // writing (the caller closes it), or -1
    // with `error` set, e.g. when the folder is not writable or a link cannot be removed.
    static int create(const QString &path, QString *error);

    // A fresh, empty file beside `path` to write into before moving it over `path` with
    // moveOver(); its path, or empty with `error` set.
    static QString createTemporary(const QString &path, QString *error);
    // Renames `from` over `to` within their folder (see replace()); false with `error` set.
    static bool moveOver(const QString &from, const QString &to, QString *error);

    // Bytes an unprivileged writer may still put into `folder`'s file system; -1 when the
    // folder cannot be asked.
    static qint64 freeBytes(const QString &folder);

    // The system's text for an errno value.
    static QString systemError(int errorNumber);
};
