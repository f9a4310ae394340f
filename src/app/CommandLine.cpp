#include "app/CommandLine.h"

#include <QFileInfo>

#include <cstdio>

namespace {

const QCommandLineOption &helpOption()
{
    static const QCommandLineOption option({"h", "help"}, "Shows this help and exits.");
    return option;
}

const QCommandLineOption &versionOption()
{
    static const QCommandLineOption option({"v", "version"}, "Shows the program's version and exits.");
    return option;
}

// The parser of every line: one dash or two before a word are the same.
void describe(QCommandLineParser &parser, const QStringList &languages)
{
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.setApplicationDescription(
        "Shows the live picture of a USB document camera, plays films and shows photographs.");
    parser.addOption(helpOption());
    parser.addOption(versionOption());
    parser.addOption(QCommandLineOption(
        {"l", "language"},
        QStringLiteral("The interface language for this run, in place of the one chosen in the settings: %1.")
            .arg(languages.join(QLatin1String(", "))),
        "code"));
    parser.addOption(QCommandLineOption(
        "scan-pdf",
        "Scans the pictures of pages named after the options into one searchable PDF, without "
        "opening a window: in each picture the page is found, straightened, cleaned and read. A "
        "picture in which no page is found goes in whole and is named on standard error. Exits "
        "with 0 when the PDF is written, 1 with the reason when not.",
        "OUT.pdf"));
    parser.addOption(QCommandLineOption(
        "ocr-language",
        "With --scan-pdf: the languages the text is read in, joined by '+' (eng+deu, or the "
        "interface languages' codes: en+de). Default: the interface language and English.",
        "LANGS"));
    parser.addOption(QCommandLineOption(
        "filter",
        "With --scan-pdf: colour (even light, white paper; the default), grey, bw (black and "
        "white) or original.",
        "NAME"));
    parser.addPositionalArgument(
        "FILE|FOLDER",
        "A film to play in Film mode, or a picture or a folder of pictures to show in "
        "Photograph mode. Without it the program starts in Live mode. With --scan-pdf, the "
        "pictures of pages to scan instead, one or more, in order (a folder: its pictures).",
        "[FILE|FOLDER]");
}

} // namespace

CommandLine::CommandLine(const QStringList &arguments, const QStringList &languages)
{
    describe(m_parser, languages);
    m_program = QFileInfo(arguments.value(0)).fileName();
    const bool parsed = m_parser.parse(arguments);
    if (m_parser.isSet(helpOption())) {
        m_request = Request::Help;
        return;
    }
    if (m_parser.isSet(versionOption())) {
        m_request = Request::Version;
        return;
    }
    m_request = Request::Invalid;
    m_scanAsked = m_parser.isSet(QStringLiteral("scan-pdf"));
    if (!parsed) {
        m_error = m_parser.errorText();
        return;
    }
    const QString language = m_parser.value(QStringLiteral("language"));
    if (m_parser.isSet(QStringLiteral("language")) && !languages.contains(language)) {
        m_error = QStringLiteral("No interface language '%1'; the program has %2.")
                      .arg(language, languages.join(QLatin1String(", ")));
        return;
    }
    m_language = language;
    const QStringList positional = m_parser.positionalArguments();
    if (m_parser.isSet(QStringLiteral("scan-pdf"))) {
        m_scanOutput = m_parser.value(QStringLiteral("scan-pdf"));
        m_scanPictures = positional;
        m_ocrLanguages = m_parser.value(QStringLiteral("ocr-language"));
        m_filter = m_parser.value(QStringLiteral("filter"));
        m_request = Request::ScanPdf;
        return;
    }
    for (const char *scanOnly : {"ocr-language", "filter"}) {
        if (m_parser.isSet(QLatin1String(scanOnly))) {
            m_error = QStringLiteral("--%1 goes with --scan-pdf.").arg(QLatin1String(scanOnly));
            return;
        }
    }
    if (positional.size() > 1) {
        m_error = QStringLiteral("Only one file or folder can be opened, not %1.").arg(positional.size());
        return;
    }
    m_file = positional.value(0);
    m_request = Request::Run;
}

bool CommandLine::asksForInformation(const QStringList &arguments)
{
    QCommandLineParser parser;
    describe(parser, {});
    // Options it does not know may be the toolkit's: they do not matter here.
    parser.parse(arguments);
    return parser.isSet(helpOption()) || parser.isSet(versionOption());
}

bool CommandLine::answeredBeforeTheToolkit(const QStringList &arguments, const QStringList &languages)
{
    return asksForInformation(arguments)
        || CommandLine(withoutToolkitOptions(arguments), languages).request() == Request::Invalid;
}

QStringList CommandLine::withoutToolkitOptions(const QStringList &arguments)
{
    // The options QGuiApplication and QApplication take, with a value or without.
    static const QStringList withValue = {"platform",
                                          "platformpluginpath",
                                          "platformtheme",
                                          "plugin",
                                          "qwindowgeometry",
                                          "geometry",
                                          "qwindowtitle",
                                          "title",
                                          "qwindowicon",
                                          "icon",
                                          "display",
                                          "name",
                                          "style",
                                          "stylesheet",
                                          "session",
                                          "visual",
                                          "font",
                                          "fn",
                                          "background",
                                          "bg",
                                          "foreground",
                                          "fg",
                                          "button",
                                          "btn",
                                          "ncols",
                                          "cmap"};
    static const QStringList alone = {"reverse", "widgetcount", "nograb", "dograb", "sync", "testability"};
    QStringList kept;
    for (int i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        if (i == 0 || !argument.startsWith(QLatin1Char('-')) || argument == QLatin1String("--")) {
            kept << argument;
            continue;
        }
        QString name = argument.mid(argument.startsWith(QLatin1String("--")) ? 2 : 1);
        const bool joined = name.contains(QLatin1Char('='));
        name = name.section(QLatin1Char('='), 0, 0);
        if (name.startsWith(QLatin1String("qmljsdebugger")) || alone.contains(name)
            || (joined && withValue.contains(name)))
            continue;
        if (withValue.contains(name)) {
            ++i; // and its value
            continue;
        }
        kept << argument;
    }
    return kept;
}

bool CommandLine::asksForScan(const QStringList &arguments)
{
    QCommandLineParser parser;
    describe(parser, {});
    parser.parse(arguments);
    return parser.isSet(QStringLiteral("scan-pdf"));
}

QString CommandLine::helpText() const
{
    return m_parser.helpText();
}

QString CommandLine::versionText()
{
    return QStringLiteral("Document Camera %1\n").arg(QLatin1String(DOCCAM_VERSION));
}

int CommandLine::answer() const
{
    switch (m_request) {
    case Request::Help:
        std::fputs(qPrintable(helpText()), stdout);
        return 0;
    case Request::Version:
        std::fputs(qPrintable(versionText()), stdout);
        return 0;
    case Request::Invalid:
        std::fprintf(stderr, "%s: %s\n\n%s", qPrintable(m_program), qPrintable(m_error),
                     qPrintable(helpText()));
        // A scan says 1 for every PDF it did not write, a wrong line among them.
        return m_scanAsked ? 1 : 2;
    case Request::Run:
    case Request::ScanPdf:
        break;
    }
    return 0;
}
