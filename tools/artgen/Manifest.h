#pragma once
// The artwork manifest: one line per picture (a button line stands for its three state
// pictures), plus the settings that style the whole skin (fonts, glyph list, colours).
//
// Thread contract: a plain value type, used on the tool's only thread.
#include "Options.h"

#include <QColor>
#include <QHash>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QVector>

struct PictureSpec
{
    int line = 0;          // manifest line, for error messages
    QString section;       // heading on the contact sheet
    QString path;          // resource path below :/icons
    QString name;          // button name (button pictures only)
    QString state;         // "normal", "over" or "click" for button pictures, else empty
    QString kind;          // how to draw it
    QSize size;            // picture size; for an icon file the largest image
    QVector<int> icoSizes; // image sizes of an icon file
    QString aliasOf;       // path of the picture this entry shares its file with
    Options options;       // the kind's parameters
};

class Manifest
{
public:
    // Reads the manifest; on failure returns false and sets error to "file:line: message".
    bool load(const QString &fileName, QString *error);

    const QVector<PictureSpec> &pictures() const { return m_pictures; }
    QString setting(const QString &key) const { return m_settings.value(key); }
    const QHash<QString, QColor> &colours() const { return m_colours; }

    // Parses "#rrggbb" or "#rrggbbaa"; an invalid colour on any other text.
    static QColor parseColour(const QString &text);

private:
    bool parseLine(const QStringList &tokens, int line, QString *message);
    bool parseSize(const QString &text, QSize *size, QString *message) const;

    QString m_section;
    QVector<PictureSpec> m_pictures;
    QHash<QString, QString> m_settings;
    QHash<QString, QColor> m_colours;
    QStringList m_absent;
};
