#include "Manifest.h"

#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QTextStream>

namespace {

// Splits a line into words; a word in double quotes may hold blanks, and key="a b" is one word.
// A comment starts with # at the start of the line or with a # standing alone ("# ..."), so
// that colours (#1e2127) stay words.
QStringList tokenize(const QString &line, bool *ok)
{
    QStringList tokens;
    QString current;
    bool quoted = false;
    bool inToken = false;
    for (int i = 0; i < line.size(); ++i) {
        const QChar c = line.at(i);
        const bool alone = i + 1 >= line.size() || line.at(i + 1).isSpace();
        if (c == QLatin1Char('"')) {
            quoted = !quoted;
            inToken = true;
        } else if (!quoted && c == QLatin1Char('#') && !inToken && (tokens.isEmpty() || alone)) {
            break; // a comment runs to the end of the line
        } else if (!quoted && c.isSpace()) {
            if (inToken)
                tokens << current;
            current.clear();
            inToken = false;
        } else {
            current += c;
            inToken = true;
        }
    }
    if (inToken)
        tokens << current;
    *ok = !quoted;
    return tokens;
}

const QStringList kButtonStates = {QStringLiteral("normal"), QStringLiteral("over"), QStringLiteral("click")};
const QStringList kButtonFolders = {QStringLiteral("Normal"), QStringLiteral("Over"),
                                    QStringLiteral("Click")};

} // namespace

QColor Manifest::parseColour(const QString &text)
{
    static const QRegularExpression re(QStringLiteral("^#([0-9a-fA-F]{6})([0-9a-fA-F]{2})?$"));
    const auto m = re.match(text);
    if (!m.hasMatch())
        return QColor();
    QColor c(QLatin1Char('#') + m.captured(1));
    if (!m.captured(2).isEmpty())
        c.setAlpha(m.captured(2).toInt(nullptr, 16));
    return c;
}

bool Manifest::parseSize(const QString &text, QSize *size, QString *message) const
{
    static const QRegularExpression re(QStringLiteral("^(\\d+)x(\\d+)$"));
    const auto m = re.match(text);
    if (!m.hasMatch() || m.captured(1).toInt() <= 0 || m.captured(2).toInt() <= 0) {
        *message = QStringLiteral("size \"%1\" is not WIDTHxHEIGHT").arg(text);
        return false;
    }
    *size = QSize(m.captured(1).toInt(), m.captured(2).toInt());
    return true;
}

bool Manifest::load(const QString &fileName, QString *error)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        *error = QStringLiteral("%1: cannot read: %2").arg(fileName, file.errorString());
        return false;
    }
    QTextStream in(&file);
    in.setCodec("UTF-8");
    int line = 0;
    while (!in.atEnd()) {
        ++line;
        bool ok = false;
        const QStringList tokens = tokenize(in.readLine(), &ok);
        QString message;
        if (!ok)
            message = QStringLiteral("unbalanced double quote");
        else if (!tokens.isEmpty() && !parseLine(tokens, line, &message) && message.isEmpty())
            message = QStringLiteral("malformed line");
        if (!message.isEmpty()) {
            *error = QStringLiteral("%1:%2: %3").arg(fileName).arg(line).arg(message);
            return false;
        }
    }

    // Paths must be unique, aliases must point at a drawn picture, absent paths stay absent.
    QSet<QString> seen;
    for (const PictureSpec &p : qAsConst(m_pictures)) {
        QString message;
        if (seen.contains(p.path))
            message = QStringLiteral("%1 is listed twice").arg(p.path);
        else if (m_absent.contains(p.path))
            message = QStringLiteral("%1 must stay absent but is listed").arg(p.path);
        else if (!p.aliasOf.isEmpty() && !seen.contains(p.aliasOf))
            message =
                QStringLiteral("alias %1 names %2, which is not listed before it").arg(p.path, p.aliasOf);
        if (!message.isEmpty()) {
            *error = QStringLiteral("%1:%2: %3").arg(fileName).arg(p.line).arg(message);
            return false;
        }
        seen.insert(p.path);
    }
    return true;
}

bool Manifest::parseLine(const QStringList &tokens, int line, QString *message)
{
    const QString &word = tokens.first();
    auto needArgs = [&](int count) {
        if (tokens.size() >= count)
            return true;
        *message = QStringLiteral("\"%1\" needs %2 words").arg(word).arg(count);
        return false;
    };
    auto takeOptions = [&](int from, Options *options) {
        for (int i = from; i < tokens.size(); ++i) {
            const int eq = tokens[i].indexOf(QLatin1Char('='));
            if (eq <= 0) {
                *message = QStringLiteral("\"%1\" is not key=value").arg(tokens[i]);
                return false;
            }
            options->insert(tokens[i].left(eq), tokens[i].mid(eq + 1));
        }
        return true;
    };

    if (word == QLatin1String("font")) {
        if (!needArgs(3))
            return false;
        m_settings.insert(QStringLiteral("font.") + tokens[1], tokens[2]);
        return true;
    }
    if (word == QLatin1String("set")) {
        if (!needArgs(3))
            return false;
        m_settings.insert(tokens[1], tokens.mid(2).join(QLatin1Char(' ')));
        return true;
    }
    if (word == QLatin1String("codepoints")) {
        if (!needArgs(2))
            return false;
        m_settings.insert(QStringLiteral("codepoints"), tokens[1]);
        return true;
    }
    if (word == QLatin1String("colour")) {
        if (!needArgs(3))
            return false;
        const QColor c = parseColour(tokens[2]);
        if (!c.isValid()) {
            *message = QStringLiteral("colour \"%1\" is not #rrggbb or #rrggbbaa").arg(tokens[2]);
            return false;
        }
        m_colours.insert(tokens[1], c);
        return true;
    }
    if (word == QLatin1String("section")) {
        if (!needArgs(2))
            return false;
        m_section = tokens.mid(1).join(QLatin1Char(' '));
        return true;
    }
    if (word == QLatin1String("absent")) {
        if (!needArgs(2))
            return false;
        m_absent << tokens[1];
        return true;
    }

    PictureSpec picture;
    picture.line = line;
    picture.section = m_section;
    if (word == QLatin1String("button")) {
        if (!needArgs(3) || !parseSize(tokens[2], &picture.size, message)
            || !takeOptions(3, &picture.options))
            return false;
        picture.name = tokens[1];
        picture.kind = QStringLiteral("button");
        for (int i = 0; i < kButtonStates.size(); ++i) {
            PictureSpec state = picture;
            state.state = kButtonStates[i];
            state.path = kButtonFolders[i] + QLatin1Char('/') + picture.name + QStringLiteral(".png");
            m_pictures << state;
        }
        return true;
    }
    if (word == QLatin1String("picture")) {
        if (!needArgs(4) || !parseSize(tokens[2], &picture.size, message)
            || !takeOptions(4, &picture.options))
            return false;
        picture.path = tokens[1];
        picture.kind = tokens[3];
        if (!picture.path.endsWith(QLatin1String(".png"))) {
            *message = QStringLiteral("picture %1 must be a .png").arg(picture.path);
            return false;
        }
        m_pictures << picture;
        return true;
    }
    if (word == QLatin1String("icon")) {
        if (!needArgs(4) || !takeOptions(4, &picture.options))
            return false;
        picture.path = tokens[1];
        picture.kind = tokens[3];
        for (const QString &s : tokens[2].split(QLatin1Char(','))) {
            const int px = s.toInt();
            if (px < 1 || px > 256) {
                *message = QStringLiteral("icon size \"%1\" is not 1 to 256").arg(s);
                return false;
            }
            picture.icoSizes << px;
            picture.size = picture.size.expandedTo(QSize(px, px));
        }
        m_pictures << picture;
        return true;
    }
    if (word == QLatin1String("alias")) {
        if (!needArgs(3))
            return false;
        picture.path = tokens[1];
        picture.aliasOf = tokens[2];
        picture.kind = QStringLiteral("alias");
        m_pictures << picture;
        return true;
    }
    *message = QStringLiteral("unknown directive \"%1\"").arg(word);
    return false;
}
