#include "Options.h"

QString Options::text(const QString &key, const QString &fallback) const
{
    m_used.insert(key);
    return m_values.value(key, fallback);
}

int Options::number(const QString &key, int fallback) const
{
    m_used.insert(key);
    if (!m_values.contains(key))
        return fallback;
    bool ok = false;
    const int value = m_values.value(key).toInt(&ok);
    if (!ok)
        m_bad << QStringLiteral("%1=%2 is not a whole number").arg(key, m_values.value(key));
    return ok ? value : fallback;
}

QStringList Options::problems() const
{
    QStringList found = m_bad;
    for (auto it = m_values.cbegin(); it != m_values.cend(); ++it) {
        if (!m_used.contains(it.key()))
            found << QStringLiteral("unknown parameter %1").arg(it.key());
    }
    return found;
}
