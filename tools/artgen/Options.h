#pragma once
// The key=value parameters of one manifest line. Every key must be consumed by the code that
// draws the picture, so a misspelt key fails the build instead of being ignored.
//
// Thread contract: a plain value type, used on the tool's only thread.
#include <QColor>
#include <QMap>
#include <QSet>
#include <QString>
#include <QStringList>

class Options
{
public:
    void insert(const QString &key, const QString &value) { m_values.insert(key, value); }
    bool has(const QString &key) const { return m_values.contains(key); }

    // The value of key (marking it used), or fallback when the line does not give it.
    QString text(const QString &key, const QString &fallback = QString()) const;
    int number(const QString &key, int fallback) const;
    // Keys given on the line but never asked for, and values that are not numbers.
    QStringList problems() const;

private:
    QMap<QString, QString> m_values;
    mutable QSet<QString> m_used;
    mutable QStringList m_bad;
};
