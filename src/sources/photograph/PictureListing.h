#pragma once

#include <QByteArray>
#include <QString>
#include <QVector>

// One picture file of a folder: its name as the system spells it (any bytes) and as it is
// shown (UTF-8, with a replacement character for each byte that is not).
struct PictureFile
{
    QByteArray localPath; // folder and name, for opening the file
    QString name;         // the name without the folder, for showing and comparing
};

// Lists the pictures of a folder by the names the system gives, so that a name that is not
// valid UTF-8 is listed too (shown with replacement characters, opened by its real bytes).
// Pictures are the regular files (or links to them) that can be read, are not hidden (a name
// starting with a dot) and whose shown name ends in .bmp, .jpg, .jpeg, .png or .gif in any
// case; they are sorted by shown name in plain, case-sensitive character order (upper-case
// initials first), names that show alike by their bytes.
//
// Threads: stateless; any thread.
class PictureListing
{
public:
    // The pictures of `folder` (its path as the system spells it); empty when it cannot be read.
    static QVector<PictureFile> list(const QByteArray &folder);
    // Whether a shown name has a picture suffix.
    static bool hasPictureSuffix(const QString &name);
};
