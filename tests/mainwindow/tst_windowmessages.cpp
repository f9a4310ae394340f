// The main window's three messages (a missing snapshot or record folder, no printer) are
// translated with the main window's texts, whichever part of the window shows them.
#include "MainWindowRig.h"
#include "ScriptedPrompts.h"
#include "common/Config.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/PrintControl.h"
#include "sources/devices/simulated/SimulatedCamera.h"
#include "sources/live/LiveSource.h"
#include "sources/media/MediaFramework.h"
#include "widgets/ImageButton.h"

#include <QTranslator>
#include <QtTest>

namespace {

constexpr int OpenTimeoutMs = 10000;

// Answers every text with its context in brackets in front, so that the shown text tells
// under which context it was looked up.
class ContextTagger : public QTranslator
{
public:
    QString translate(const char *context, const char *sourceText, const char *, int) const override
    {
        return QStringLiteral("[%1] %2").arg(QLatin1String(context), QString::fromUtf8(sourceText));
    }
    bool isEmpty() const override { return false; }
};

enum class Situation { SnapshotFolder, RecordFolder, NoPrinter };

} // namespace

Q_DECLARE_METATYPE(Situation)

class TestWindowMessages : public QObject
{
    Q_OBJECT

    // Brings up the message of `situation` in a new window; the prompts record it.
    static void provoke(Situation situation)
    {
        auto camera = std::make_shared<SimulatedCamera>();
        if (situation != Situation::RecordFolder)
            camera->unplug();
        auto w = MainWindowRig::makeWindow(nullptr, camera);
        switch (situation) {
        case Situation::SnapshotFolder:
            Config::setSnapshotPath(QStringLiteral("/nonexistent/images"));
            QTest::mouseClick(w->toolButtons().snapshot, Qt::LeftButton);
            break;
        case Situation::RecordFolder:
            // The folder is only looked at once a camera delivers.
            QVERIFY(QTest::qWaitFor([&] { return w->liveSource()->isOpen(); }, OpenTimeoutMs));
            Config::setRecordPath(QStringLiteral("/nonexistent/videos"));
            QTest::mouseClick(w->toolButtons().record, Qt::LeftButton);
            break;
        case Situation::NoPrinter:
            w->printControl()->setPrinterList([] { return QStringList(); });
            QTest::mouseClick(w->toolButtons().print, Qt::LeftButton);
            break;
        }
    }

    // The three situations and the text each shows.
    static void situations()
    {
        QTest::addColumn<Situation>("situation");
        QTest::addColumn<QString>("text");
        QTest::newRow("snapshot folder missing")
            << Situation::SnapshotFolder << "Please select a folder first.";
        QTest::newRow("record folder missing") << Situation::RecordFolder << "Please select a folder first.";
        QTest::newRow("no printer") << Situation::NoPrinter << "No printers found on this system.";
    }

private slots:
    void initTestCase()
    {
        QCoreApplication::setOrganizationName(QStringLiteral("Quillmore"));
        QCoreApplication::setApplicationName(QStringLiteral("Document Camera"));
        QVERIFY(MediaFramework::initialize());
    }

    void cleanupTestCase()
    {
        Config::resetForTesting();
        MediaFramework::shutdown();
    }

    void init() { Config::resetForTesting(); }

    void translatedInTheMainWindowContext_data() { situations(); }
    void translatedInTheMainWindowContext()
    {
        QFETCH(Situation, situation);
        QFETCH(QString, text);
        ContextTagger tagger;
        QCoreApplication::installTranslator(&tagger);
        ScriptedPrompts prompts;
        provoke(situation);
        QCoreApplication::removeTranslator(&tagger);
        // Without a printer the box asks whether to print to a PDF file instead.
        const auto shown = prompts.errors + prompts.questions;
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown.first().title, QStringLiteral("[MainWindow] Error"));
        QVERIFY2(shown.first().text.startsWith(QStringLiteral("[MainWindow] ") + text),
                 qPrintable(shown.first().text));
        QCOMPARE(shown.first().text.count(QStringLiteral("[MainWindow] ")),
                 situation == Situation::NoPrinter ? 2 : 1);
    }

    // The shipped translations carry the three texts in that context.
    void shownInFrench_data() { situations(); }
    void shownInFrench()
    {
        QFETCH(Situation, situation);
        QFETCH(QString, text);
        QTranslator french;
        QVERIFY(french.load(QStringLiteral(":/translations/VOREN_fr.qm")));
        QCoreApplication::installTranslator(&french);
        ScriptedPrompts prompts;
        provoke(situation);
        QCoreApplication::removeTranslator(&french);
        const auto shown = prompts.errors + prompts.questions;
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown.first().title, QStringLiteral("Erreur"));
        QCOMPARE(shown.first().text.section('\n', 0, 0),
                 text.startsWith(QLatin1String("Please"))
                     ? QStringLiteral("Veuillez d’abord choisir un dossier.")
                     : QStringLiteral("Aucune imprimante n’a été trouvée sur ce système."));
    }
};

QTEST_MAIN(TestWindowMessages)
#include "tst_windowmessages.moc"
