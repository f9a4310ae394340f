#include "PopupTestHost.h"
#include "ScriptedPrompts.h"
#include "common/Config.h"
#include "toolwindows/AboutToolWindow.h"
#include "toolwindows/SettingsToolWindow.h"
#include "widgets/ImageButton.h"

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QSettings>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QTranslator>
#include <QtTest>

#include <memory>

namespace {

QLabel *labelAt(const QWidget &popup, const QPoint &position)
{
    for (QLabel *label : popup.findChildren<QLabel *>()) {
        if (label->pos() == position)
            return label;
    }
    return nullptr;
}

} // namespace

class TestSettingsToolWindow : public QObject
{
    Q_OBJECT

    // Writes the stored settings as a previous run would have left them.
    static void store(const QMap<QString, QVariant> &values)
    {
        Config::resetForTesting();
        QSettings settings;
        settings.clear();
        for (auto it = values.begin(); it != values.end(); ++it)
            settings.setValue(it.key(), it.value());
        settings.sync();
        Config::resetForTesting();
    }

    static QMap<QString, QVariant> defaults()
    {
        return {{"snapshotMode", 0},
                {"snapshotInterval", 5},
                {"snapshotPath", "/tmp/snaps"},
                {"recordPath", "/tmp/films"},
                {"resolution2", QSize(1280, 720)},
                {"flicker", 2},
                {"language", "en"}};
    }

    struct Opened
    {
        std::unique_ptr<PopupTestHost> host;
        std::unique_ptr<SettingsToolWindow> popup;
    };

    static Opened open()
    {
        Opened opened;
        opened.host = std::make_unique<PopupTestHost>(1);
        ImageButton *anchor = opened.host->addAnchor(QStringLiteral("ICON_SETTING"), QPoint(10, 40));
        opened.popup = std::make_unique<SettingsToolWindow>(anchor, opened.host.get());
        opened.popup->show();
        return opened;
    }

private slots:
    void initTestCase()
    {
        QCoreApplication::setOrganizationName(QStringLiteral("Quillmore"));
        QCoreApplication::setApplicationName(QStringLiteral("Document Camera"));
    }

    void init() { store(defaults()); }

    void cleanupTestCase() { Config::resetForTesting(); }

    void layout()
    {
        Opened o = open();
        SettingsToolWindow &popup = *o.popup;
        QCOMPARE(popup.size(), QSize(244, 280));
        QCOMPARE(popup.closeButton()->pos(), QPoint(226, 4));
        const int rows[] = {24, 48, 72, 96, 120, 169, 218};
        const char *texts[] = {"Flicker", "Resolution", "Capture", "Time",
                               "Save as", "Recording",  "Language"};
        QWidget *controls[] = {popup.flickerBox(),  popup.resolutionBox(),       popup.captureModeBox(),
                               popup.intervalBox(), popup.snapshotFolderField(), popup.recordFolderField(),
                               popup.languageBox()};
        for (int i = 0; i < 7; ++i) {
            QLabel *label = labelAt(popup, QPoint(8, rows[i]));
            QVERIFY2(label, texts[i]);
            QCOMPARE(label->text(), QString::fromLatin1(texts[i]));
            QCOMPARE(controls[i]->pos(), QPoint(105, rows[i]));
        }
        QCOMPARE(popup.snapshotBrowseButton()->pos(), QPoint(160, 144));
        QCOMPARE(popup.recordBrowseButton()->pos(), QPoint(160, 193));
        QCOMPARE(popup.okButton()->pos(), QPoint(80, 249));
        QCOMPARE(popup.cancelButton()->pos(), QPoint(160, 249));
        QCOMPARE(popup.okButton()->text(), QStringLiteral("OK"));
        QCOMPARE(popup.cancelButton()->text(), QStringLiteral("Cancel"));
        QCOMPARE(popup.snapshotBrowseButton()->text(), QStringLiteral("Browse"));
        QCOMPARE(labelAt(popup, QPoint(8, 2))->text(), QStringLiteral("Setting"));
        QVERIFY(popup.snapshotFolderField()->isReadOnly());
        QVERIFY(popup.recordFolderField()->isReadOnly());

        QCOMPARE(popup.flickerBox()->count(), 2);
        QCOMPARE(popup.flickerBox()->itemText(1), QStringLiteral("60 Hz"));
        QCOMPARE(popup.captureModeBox()->itemText(1), QStringLiteral("Continuous"));
        QCOMPARE(popup.intervalBox()->count(), SettingsToolWindow::IntervalCount);
        const char *intervals[] = {"1 sec",  "2 sec",  "3 sec",  "4 sec",  "5 sec", "10 sec",
                                   "20 sec", "30 sec", "1 min",  "2 min",  "3 min", "4 min",
                                   "5 min",  "10 min", "20 min", "30 min", "1 hr"};
        const quint64 seconds[] = {1, 2, 3, 4, 5, 10, 20, 30, 60, 120, 180, 240, 300, 600, 1200, 1800, 3600};
        for (int i = 0; i < SettingsToolWindow::IntervalCount; ++i) {
            QCOMPARE(popup.intervalBox()->itemText(i), QString::fromLatin1(intervals[i]));
            QCOMPARE(SettingsToolWindow::intervalSeconds(i), seconds[i]);
        }
        QCOMPARE(popup.resolutionBox()->count(), 7);
        QCOMPARE(popup.resolutionBox()->itemText(3), QStringLiteral("1920 x 1080"));
    }

    // Each choice box, its arrow included, ends inside the popup; the popup is written to
    // <build>/screenshots/settings/popup.png to be looked at.
    void choiceBoxesEndInsideThePopup()
    {
        Opened o = open();
        SettingsToolWindow &popup = *o.popup;
        popup.show();
        QVERIFY(QTest::qWaitForWindowExposed(&popup));
        const QRect inside = popup.rect();
        for (QComboBox *box :
             {popup.flickerBox(), popup.resolutionBox(), popup.captureModeBox(), popup.intervalBox()}) {
            QStyleOptionComboBox option;
            option.initFrom(box);
            option.editable = box->isEditable();
            const QRect arrow = box->style()->subControlRect(QStyle::CC_ComboBox, &option,
                                                             QStyle::SC_ComboBoxArrow, box);
            QVERIFY2(arrow.isValid() && box->rect().contains(arrow), qPrintable(box->currentText()));
            const QRect shownBox(box->mapTo(&popup, QPoint()), box->size());
            QVERIFY2(inside.contains(shownBox), qPrintable(box->currentText()));
            QVERIFY2(inside.contains(arrow.translated(shownBox.topLeft())), qPrintable(box->currentText()));
        }
        const QString folder = QStringLiteral(DOCCAM_BINARY_DIR "/screenshots/settings");
        QVERIFY(QDir().mkpath(folder));
        QVERIFY(popup.grab().save(folder + QStringLiteral("/popup.png")));
    }

    void readsStoredValues_data()
    {
        QTest::addColumn<QVariant>("flicker");
        QTest::addColumn<QVariant>("interval");
        QTest::addColumn<QVariant>("mode");
        QTest::addColumn<int>("flickerIndex");
        QTest::addColumn<int>("intervalIndex");
        QTest::addColumn<int>("modeIndex");
        QTest::newRow("stored") << QVariant(2) << QVariant(600) << QVariant(1) << 1 << 13 << 1;
        QTest::newRow("50 Hz, an hour") << QVariant(1) << QVariant(3600) << QVariant(0) << 0 << 16 << 0;
        QTest::newRow("unknown frequency") << QVariant(0) << QVariant(5) << QVariant(0) << 0 << 4 << 0;
        QTest::newRow("out of range") << QVariant(7) << QVariant(7) << QVariant(5) << 0 << 0 << 0;
    }

    void readsStoredValues()
    {
        QFETCH(QVariant, flicker);
        QFETCH(QVariant, interval);
        QFETCH(QVariant, mode);
        QFETCH(int, flickerIndex);
        QFETCH(int, intervalIndex);
        QFETCH(int, modeIndex);
        auto values = defaults();
        values["flicker"] = flicker;
        values["snapshotInterval"] = interval;
        values["snapshotMode"] = mode;
        store(values);
        Opened o = open();
        QCOMPARE(o.popup->flickerBox()->currentIndex(), flickerIndex);
        QCOMPARE(o.popup->intervalBox()->currentIndex(), intervalIndex);
        QCOMPARE(o.popup->captureModeBox()->currentIndex(), modeIndex);
        QCOMPARE(o.popup->snapshotFolderField()->text(), QStringLiteral("/tmp/snaps"));
        QCOMPARE(o.popup->recordFolderField()->text(), QStringLiteral("/tmp/films"));
    }

    void nearestResolution_data()
    {
        QTest::addColumn<QSize>("stored");
        QTest::addColumn<int>("index");
        QTest::newRow("exact") << QSize(1600, 1200) << 2;
        QTest::newRow("tie takes the earlier") << QSize(1152, 744) << 0;
        QTest::newRow("near 1080p") << QSize(1900, 1000) << 3;
        QTest::newRow("larger than all") << QSize(8000, 6000) << 6;
        QTest::newRow("unset") << QSize(-1, -1) << 0;
    }

    void nearestResolution()
    {
        QFETCH(QSize, stored);
        QFETCH(int, index);
        PopupTestHost host(1);
        QCOMPARE(SettingsToolWindow::nearestResolution(host.supportedResolutions(), stored), index);
        auto values = defaults();
        values["resolution2"] = stored;
        store(values);
        Opened o = open();
        QCOMPARE(o.popup->resolutionBox()->currentIndex(), index);
        QCOMPARE(o.popup->currentResolutionIndex(), index);
    }

    // The size the camera runs at is shown, whatever was stored: one it refused, or none.
    void showsTheSizeInUse_data()
    {
        QTest::addColumn<QSize>("stored");
        QTest::addColumn<QSize>("inUse");
        QTest::addColumn<QString>("shown");
        QTest::newRow("a size the camera refused") << QSize(1600, 1200) << QSize(1280, 720) << "1280 x 720";
        QTest::newRow("zero size, the camera at a size not listed")
            << QSize(0, 0) << QSize(640, 480) << "640 x 480";
        QTest::newRow("negative size") << QSize(-5, -5) << QSize(1024, 768) << "1024 x 768";
        QTest::newRow("no camera: the stored size") << QSize(1920, 1080) << QSize() << "1920 x 1080";
    }
    void showsTheSizeInUse()
    {
        QFETCH(QSize, stored);
        QFETCH(QSize, inUse);
        QFETCH(QString, shown);
        auto values = defaults();
        values["resolution2"] = stored;
        store(values);
        PopupTestHost host(1);
        host.liveSize = inUse;
        ImageButton *anchor = host.addAnchor(QStringLiteral("ICON_SETTING"), QPoint(10, 40));
        SettingsToolWindow popup(anchor, &host);
        QCOMPARE(popup.resolutionBox()->currentText(), shown);
        QCOMPARE(popup.currentResolutionIndex(), popup.resolutionBox()->currentIndex());
    }

    // A language chosen is stored and said to hold from the next start; the one in use is
    // left alone (and so goes on following the desktop while none was chosen).
    void languageChoice_data()
    {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("said");
        QTest::newRow("unchanged") << "en" << QString() << QString();
        QTest::newRow("German") << "de"
                                << "de"
                                << "The program speaks Deutsch from its next start.";
        QTest::newRow("traditional Chinese")
            << "zh-tw"
            << "zh-tw" << QString::fromUtf8("The program speaks 繁體中文 from its next start.");
    }
    void languageChoice()
    {
        QFETCH(QString, chosen);
        QFETCH(QString, stored);
        QFETCH(QString, said);
        auto values = defaults();
        values.remove("language");
        store(values);
        ScriptedPrompts prompts;
        Opened o = open();
        QComboBox *box = o.popup->languageBox();
        QCOMPARE(box->count(), 7);
        QCOMPARE(box->currentData().toString(), QString("en"));
        box->setCurrentIndex(box->findData(chosen));
        o.popup->settingsOk();
        QCOMPARE(QSettings().value("language").toString(), stored);
        QCOMPARE(prompts.notices.size(), said.isEmpty() ? 0 : 1);
        if (!said.isEmpty())
            QCOMPARE(prompts.notices.first().text, said);
    }

    // A folder field shows the whole path, its middle left out where it does not fit, and the
    // path in full in its tooltip.
    void folderFieldsShowTheWholePath_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("elided");
        QTest::newRow("short") << "/tmp/snaps" << false;
        QTest::newRow("long") << "/home/teacher/Documents/Document Camera/images/spring term 2024" << true;
    }
    void folderFieldsShowTheWholePath()
    {
        QFETCH(QString, path);
        QFETCH(bool, elided);
        auto values = defaults();
        values["snapshotPath"] = path;
        values["recordPath"] = path;
        store(values);
        Opened o = open();
        for (ElidedPathField *field : {o.popup->snapshotFolderField(), o.popup->recordFolderField()}) {
            QCOMPARE(field->text(), path);
            QCOMPARE(field->toolTip(), path);
            const QString shown = field->shownText();
            QVERIFY2(shown.startsWith(path.left(5)), qPrintable(shown));
            QVERIFY2(shown.endsWith(path.right(4)), qPrintable(shown));
            QCOMPARE(shown.contains(QChar(0x2026)), elided);
        }
        // A folder browsed to updates the tooltip.
        ScriptedPrompts prompts;
        prompts.directories.enqueue("/media/usb/pictures");
        o.popup->snapshotFileBrowse();
        QCOMPARE(o.popup->snapshotFolderField()->toolTip(), QString("/media/usb/pictures"));
    }

    void noResolutions()
    {
        QCOMPARE(SettingsToolWindow::nearestResolution({}, QSize(1280, 720)), -1);
        PopupTestHost host(1);
        host.setSupportedResolutions({});
        ImageButton *anchor = host.addAnchor(QStringLiteral("ICON_SETTING"), QPoint(10, 40));
        SettingsToolWindow popup(anchor, &host);
        QCOMPARE(popup.currentResolutionIndex(), -1);
        popup.settingsOk();
        // Nothing to choose from: the stored size stays and goes to the camera as it is.
        QCOMPARE(Config::resolution(), QSize(1280, 720));
        QCOMPARE(host.liveResolutions, QVector<QSize>{QSize(1280, 720)});
    }

    void parseResolution_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QSize>("size");
        QTest::newRow("item") << "1920 x 1080" << QSize(1920, 1080);
        QTest::newRow("tight") << "640x480" << QSize(640, 480);
        QTest::newRow("one number") << "640" << QSize();
        QTest::newRow("words") << "wide x high" << QSize();
    }

    void parseResolution()
    {
        QFETCH(QString, text);
        QFETCH(QSize, size);
        QCOMPARE(SettingsToolWindow::parseResolution(text), size);
    }

    void highResolutionQuestion_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<bool>("asks");
        QTest::addColumn<int>("answer");
        const char *names[] = {"1024", "1280", "1600", "1920", "2048", "2592", "3264"};
        for (int i = 0; i < 7; ++i) {
            QTest::newRow(qPrintable(QStringLiteral("%1 yes").arg(names[i])))
                << i << (i >= 3) << int(QMessageBox::Yes);
            if (i >= 3)
                QTest::newRow(qPrintable(QStringLiteral("%1 no").arg(names[i])))
                    << i << true << int(QMessageBox::No);
        }
        QTest::newRow("escape answers no") << 6 << true << -1;
    }

    void highResolutionQuestion()
    {
        QFETCH(int, index);
        QFETCH(bool, asks);
        QFETCH(int, answer);
        auto values = defaults();
        values["resolution2"] = QSize(1280, 720);
        store(values);
        Opened o = open();
        ScriptedPrompts prompts;
        if (answer >= 0)
            prompts.answers.enqueue(static_cast<QMessageBox::StandardButton>(answer));
        QComboBox *box = o.popup->resolutionBox();
        const int previous = box->currentIndex();
        QCOMPARE(previous, 1);
        box->setCurrentIndex(index);

        const bool changed = index != previous;
        QCOMPARE(prompts.questions.size(), asks ? 1 : 0);
        if (asks) {
            const QSize size = o.host->supportedResolutions()[index];
            QCOMPARE(prompts.questions[0].title, QStringLiteral("Question"));
            QCOMPARE(prompts.questions[0].text,
                     QStringLiteral("Using a recording resolution of %1x%2 may cause low framerate "
                                    "when the PC isn't powerful. Continue?")
                         .arg(size.width())
                         .arg(size.height()));
            QCOMPARE(prompts.questions[0].parent, o.popup.get());
        }
        const bool accepted = changed && (!asks || answer == QMessageBox::Yes);
        QCOMPARE(box->currentIndex(), accepted || !changed ? index : previous);
        QCOMPARE(o.popup->currentResolutionIndex(), box->currentIndex());
        // Nothing is stored before OK.
        QCOMPARE(Config::resolution(), QSize(1280, 720));
    }

    void okStoresAndApplies()
    {
        auto values = defaults();
        values["flicker"] = 0;
        values["snapshotInterval"] = 7;
        store(values);
        Opened o = open();
        ScriptedPrompts prompts;
        prompts.answers.enqueue(QMessageBox::Yes);
        o.popup->resolutionBox()->setCurrentIndex(4);
        o.popup->captureModeBox()->setCurrentIndex(1);
        QCOMPARE(o.popup->intervalBox()->currentText(), QStringLiteral("1 sec"));
        QCOMPARE(o.popup->flickerBox()->currentText(), QStringLiteral("50 Hz"));

        QTest::mouseClick(o.popup->okButton(), Qt::LeftButton);
        QCOMPARE(Config::snapshotMode(), 1);
        QCOMPARE(Config::snapshotInterval(), quint64(1));
        QCOMPARE(Config::snapshotPath(), QStringLiteral("/tmp/snaps"));
        QCOMPARE(Config::recordPath(), QStringLiteral("/tmp/films"));
        QCOMPARE(Config::resolution(), QSize(2048, 1536));
        QCOMPARE(Config::flicker(), quint64(1));
        QCOMPARE(o.host->liveResolutions, QVector<QSize>{QSize(2048, 1536)});
        QCOMPARE(o.host->resetCount, 1);
        QCOMPARE(o.host->flickerCodes, QVector<int>{1});
        QVERIFY(!o.popup->isVisible());

        // The store holds it for the next run, and a new popup shows it.
        Config::resetForTesting();
        QCOMPARE(Config::resolution(), QSize(2048, 1536));
        Opened again = open();
        QCOMPARE(again.popup->resolutionBox()->currentText(), QStringLiteral("2048 x 1536"));
        QCOMPARE(again.popup->captureModeBox()->currentIndex(), 1);
    }

    void flickerChoiceStored()
    {
        Opened o = open();
        o.popup->flickerBox()->setCurrentIndex(0);
        o.popup->settingsOk();
        QCOMPARE(Config::flicker(), quint64(1));
        QCOMPARE(o.host->flickerCodes, QVector<int>{1});
        Opened second = open();
        second.popup->flickerBox()->setCurrentIndex(1);
        second.popup->settingsOk();
        QCOMPARE(Config::flicker(), quint64(2));
        QCOMPARE(second.host->flickerCodes, QVector<int>{2});
    }

    void cancelChangesNothing()
    {
        Opened o = open();
        ScriptedPrompts prompts;
        prompts.directories.enqueue(QStringLiteral("/srv/elsewhere"));
        o.popup->flickerBox()->setCurrentIndex(0);
        o.popup->captureModeBox()->setCurrentIndex(1);
        QTest::mouseClick(o.popup->snapshotBrowseButton(), Qt::LeftButton);
        QTest::mouseClick(o.popup->cancelButton(), Qt::LeftButton);
        QVERIFY(!o.popup->isVisible());
        QCOMPARE(Config::flicker(), quint64(2));
        QCOMPARE(Config::snapshotMode(), 0);
        QCOMPARE(Config::snapshotPath(), QStringLiteral("/tmp/snaps"));
        QVERIFY(o.host->liveResolutions.isEmpty());
        QVERIFY(o.host->flickerCodes.isEmpty());
        QCOMPARE(o.host->resetCount, 0);
    }

    void folderChoosers_data()
    {
        QTest::addColumn<bool>("record");
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("shown");
        QTest::newRow("snapshot folder") << false << "/srv/pictures"
                                         << "/srv/pictures";
        QTest::newRow("snapshot cancelled") << false << ""
                                            << "/tmp/snaps";
        QTest::newRow("record folder") << true << "/srv/films"
                                       << "/srv/films";
        QTest::newRow("record cancelled") << true << ""
                                          << "/tmp/films";
    }

    void folderChoosers()
    {
        QFETCH(bool, record);
        QFETCH(QString, chosen);
        QFETCH(QString, shown);
        Opened o = open();
        ScriptedPrompts prompts;
        prompts.directories.enqueue(chosen);
        QTest::mouseClick(record ? o.popup->recordBrowseButton() : o.popup->snapshotBrowseButton(),
                          Qt::LeftButton);
        QCOMPARE(prompts.directoryRequests, 1);
        QLineEdit *field = record ? o.popup->recordFolderField() : o.popup->snapshotFolderField();
        QLineEdit *other = record ? o.popup->snapshotFolderField() : o.popup->recordFolderField();
        QCOMPARE(field->text(), shown);
        QCOMPARE(other->text(), record ? QStringLiteral("/tmp/snaps") : QStringLiteral("/tmp/films"));
        QCOMPARE(record ? Config::recordPath() : Config::snapshotPath(),
                 record ? QStringLiteral("/tmp/films") : QStringLiteral("/tmp/snaps"));
        o.popup->settingsOk();
        QCOMPARE(record ? Config::recordPath() : Config::snapshotPath(), shown);
    }

    void recordingLabelByLanguage_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("source");
        QTest::newRow("en") << "en"
                            << "Recording";
        QTest::newRow("de") << "de"
                            << "Recording";
        QTest::newRow("ja") << "ja"
                            << "RecordingSave";
        QTest::newRow("ru") << "ru"
                            << "RecordingSave";
    }

    void recordingLabelByLanguage()
    {
        QFETCH(QString, language);
        QFETCH(QString, source);
        auto values = defaults();
        values["language"] = language;
        store(values);
        QTranslator translator;
        QVERIFY(translator.load(QStringLiteral(":/translations/VOREN_%1.qm").arg(language))
                || language == QLatin1String("en"));
        QCoreApplication::installTranslator(&translator);
        Opened o = open();
        const QString expected = QCoreApplication::translate("SettingsToolWindow", qPrintable(source));
        QCoreApplication::removeTranslator(&translator);
        if (language != QLatin1String("en"))
            QVERIFY(expected != source);
        QCOMPARE(labelAt(*o.popup, QPoint(8, 169))->text(), expected);
    }

    void aboutPopup()
    {
        PopupTestHost host(1);
        ImageButton *anchor = host.addAnchor(QStringLiteral("AboutButton"), QPoint(10, 40));
        host.show();
        AboutToolWindow popup(anchor, &host, host.aboutPicture());
        popup.show();
        QCOMPARE(popup.size(), QSize(240, 104));
        QCOMPARE(popup.closeButton()->pos(), QPoint(222, 4));
        QCOMPARE(popup.versionLabel()->text(), QStringLiteral("Version 3.00"));
        QCOMPARE(popup.versionLabel()->pos(), QPoint(20, 30));
        QCOMPARE(popup.okButton()->pos(), QPoint(90, 70));
        QCOMPARE(popup.okButton()->text(), QStringLiteral("OK"));
        QCOMPARE(labelAt(popup, QPoint(8, 2))->text(), QStringLiteral("About"));
        QTest::mouseClick(popup.okButton(), Qt::LeftButton);
        QVERIFY(!popup.isVisible());
    }
};

QTEST_MAIN(TestSettingsToolWindow)
#include "tst_settingstoolwindow.moc"
