#include <QDir>
#include <QFile>
#include <QHash>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QtTest>

#include <algorithm>

namespace {

struct TsMessage
{
    QString context;
    QString source;
    QString translation;
    QString type; // "", "unfinished", "obsolete", "vanished"
    bool numerus = false;
};

QVector<TsMessage> readTs(const QString &path, QString *language, QString *error)
{
    QVector<TsMessage> result;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        *error = "cannot open " + path;
        return result;
    }
    QXmlStreamReader xml(&f);
    QString context;
    TsMessage current;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            const auto name = xml.name();
            if (name == QLatin1String("TS")) {
                *language = xml.attributes().value("language").toString();
            } else if (name == QLatin1String("name")) {
                context = xml.readElementText();
            } else if (name == QLatin1String("message")) {
                current = TsMessage();
                current.context = context;
                current.numerus = xml.attributes().value("numerus") == QLatin1String("yes");
            } else if (name == QLatin1String("source")) {
                current.source = xml.readElementText();
            } else if (name == QLatin1String("translation")) {
                current.type = xml.attributes().value("type").toString();
                if (!current.numerus)
                    current.translation = xml.readElementText();
            } else if (name == QLatin1String("numerusform")) {
                const QString form = xml.readElementText();
                if (current.translation.isEmpty() || form.isEmpty())
                    current.translation = form;
            }
        } else if (xml.isEndElement() && xml.name() == QLatin1String("message")) {
            result.append(current);
        }
    }
    if (xml.hasError())
        *error = path + ": " + xml.errorString();
    return result;
}

QSet<QString> placeholders(const QString &text)
{
    QSet<QString> found;
    static const QRegularExpression re("%L?\\d+");
    auto it = re.globalMatch(text);
    while (it.hasNext())
        found.insert(it.next().captured().remove('L'));
    return found;
}

QVector<TsMessage> readLanguage(const QString &language, QString *tsLanguage, QString *error)
{
    return readTs(QString(DOCCAM_SOURCE_DIR) + "/resources/translations/VOREN_" + language + ".ts",
                  tsLanguage, error);
}

const char *const LANGUAGES[] = {"zh-tw", "de", "es", "fr", "ja", "ru"};

} // namespace

// Every text the code marks for translation must be translated, for real, in all six
// interface languages; a text added to the code without its translations fails here.
class TestTranslations : public QObject
{
    Q_OBJECT
private:
    QVector<TsMessage> m_sourceTexts;

private slots:
    void initTestCase()
    {
        QTemporaryDir tmp;
        QVERIFY(tmp.isValid());
        const QString ts = tmp.filePath("current.ts");
        QProcess lupdate;
        lupdate.setProcessChannelMode(QProcess::MergedChannels);
        lupdate.start(DOCCAM_LUPDATE,
                      {"-silent", "-locations", "none", QString(DOCCAM_SOURCE_DIR) + "/src", "-ts", ts});
        QVERIFY(lupdate.waitForFinished(120000));
        QVERIFY2(lupdate.exitCode() == 0, lupdate.readAll().constData());
        QString language, error;
        m_sourceTexts = readTs(ts, &language, &error);
        QVERIFY2(error.isEmpty(), qPrintable(error));
    }

    void everyEntryFinished_data()
    {
        QTest::addColumn<QString>("language");
        for (const char *l : LANGUAGES)
            QTest::newRow(l) << QString(l);
    }
    void everyEntryFinished()
    {
        QFETCH(QString, language);
        QString tsLanguage, error;
        const auto messages = readLanguage(language, &tsLanguage, &error);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QVERIFY2(!tsLanguage.isEmpty(), "the file names no language");
        for (const TsMessage &m : messages) {
            if (m.type == QLatin1String("vanished") || m.type == QLatin1String("obsolete"))
                continue;
            const QString where = m.context + " / \"" + m.source + "\"";
            QVERIFY2(m.type != QLatin1String("unfinished"), qPrintable("unfinished: " + where));
            QVERIFY2(!m.translation.trimmed().isEmpty(), qPrintable("empty: " + where));
            QVERIFY2(placeholders(m.translation) == placeholders(m.source),
                     qPrintable("placeholders differ: " + where));
        }
    }

    // The settings popup names each thing with a word of its own, and none the name of a mode
    // or of the recording tool beside it: the snapshots' mode and folder, the recordings' folder,
    // Film mode and the recording tool are five things.
    void oneWordOneThing_data() { everyEntryFinished_data(); }
    void oneWordOneThing()
    {
        QFETCH(QString, language);
        QString tsLanguage, error;
        const auto messages = readLanguage(language, &tsLanguage, &error);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        // The record folder's label is "RecordingSave" in some languages, "Recording" in others.
        const QStringList things = {"MainWindow/Film", "MainWindow/Recording", "SettingsToolWindow/Capture",
                                    "SettingsToolWindow/Save as", "SettingsToolWindow/Recording"};
        QHash<QString, QString> named; // translation -> thing
        for (const QString &thing : things) {
            const auto found = std::find_if(messages.begin(), messages.end(), [&](const TsMessage &m) {
                return m.context + "/" + m.source == thing && m.type.isEmpty();
            });
            QVERIFY2(found != messages.end(), qPrintable(thing));
            const QString word = found->translation;
            QVERIFY2(!named.contains(word),
                     qPrintable(QString("\"%1\" names %2 and %3").arg(word, named.value(word), thing)));
            named.insert(word, thing);
        }
        const auto save = std::find_if(messages.begin(), messages.end(), [](const TsMessage &m) {
            return m.context == "SettingsToolWindow" && m.source == "RecordingSave";
        });
        QVERIFY(save != messages.end());
        QVERIFY2(!named.contains(save->translation)
                     || named.value(save->translation) == "SettingsToolWindow/Recording",
                 qPrintable(QString("\"%1\" names the record folder and %2")
                                .arg(save->translation, named.value(save->translation))));
    }

    void everySourceTextPresent_data() { everyEntryFinished_data(); }
    void everySourceTextPresent()
    {
        QFETCH(QString, language);
        QString tsLanguage, error;
        const auto messages = readLanguage(language, &tsLanguage, &error);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QSet<QString> translated;
        for (const TsMessage &m : messages) {
            if (m.type.isEmpty())
                translated.insert(m.context + QChar(0) + m.source);
        }
        for (const TsMessage &m : m_sourceTexts) {
            QVERIFY2(translated.contains(m.context + QChar(0) + m.source),
                     qPrintable("missing: " + m.context + " / \"" + m.source + "\" (run make translations)"));
        }
    }
};

QTEST_GUILESS_MAIN(TestTranslations)
#include "tst_translations.moc"
