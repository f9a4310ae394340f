#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <QtTest>

#include <functional>

// The shape of the source tree that the build alone does not keep: the layers' include roots
// stop a layer from reaching a layer it does not link, and this test keeps the rest of the
// architecture guide true (no include cycles, GStreamer inside the sources, files that stay
// readable, connections that do not go by name).
class TestSourceLayout : public QObject
{
    Q_OBJECT

    struct File
    {
        QString path;         // below src/, e.g. "canvas/ImageCanvas.cpp"
        QStringList includes; // the project's own, as written ("canvas/FramePipeline.h")
        QStringList systemIncludes;
        int lines = 0;
        QString text;
    };

    QString m_src = QStringLiteral(DOCCAM_SOURCE_DIR "/src");
    QHash<QString, File> m_files;

    // "canvas/ImageCanvas.cpp" and "canvas/ImageCanvas.h" are one component.
    static QString component(const QString &path) { return path.left(path.lastIndexOf(QLatin1Char('.'))); }

    QStringList gstReachedFrom(const QString &header, QSet<QString> &seen) const
    {
        if (seen.contains(header) || !m_files.contains(header))
            return {};
        seen.insert(header);
        const File &file = m_files[header];
        for (const QString &system : file.systemIncludes) {
            if (system.startsWith(QLatin1String("gst/")) || system.startsWith(QLatin1String("glib")))
                return {header, system};
        }
        for (const QString &include : file.includes) {
            QStringList chain = gstReachedFrom(include, seen);
            if (!chain.isEmpty()) {
                chain.prepend(header);
                return chain;
            }
        }
        return {};
    }

private slots:
    void initTestCase()
    {
        static const QRegularExpression include(QStringLiteral("^\\s*#\\s*include\\s+([<\"])([^>\"]+)[>\"]"),
                                                QRegularExpression::MultilineOption);
        QDirIterator it(m_src, {QStringLiteral("*.h"), QStringLiteral("*.cpp")}, QDir::Files,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            QFile f(it.next());
            QVERIFY(f.open(QIODevice::ReadOnly));
            File file;
            file.path = QDir(m_src).relativeFilePath(f.fileName());
            file.text = QString::fromUtf8(f.readAll());
            file.lines = file.text.count(QLatin1Char('\n'));
            auto matches = include.globalMatch(file.text);
            while (matches.hasNext()) {
                const auto m = matches.next();
                (m.captured(1) == QLatin1String("\"") ? file.includes : file.systemIncludes) << m.captured(2);
            }
            m_files.insert(file.path, file);
        }
        QVERIFY(m_files.size() > 100);
    }

    void includesNameTheirFolder()
    {
        for (const File &file : qAsConst(m_files)) {
            for (const QString &include : file.includes) {
                QVERIFY2(
                    m_files.contains(include),
                    qPrintable(file.path + " includes \"" + include + "\", which is not a path below src/"));
            }
        }
    }

    void noIncludeCycleBetweenComponents()
    {
        QHash<QString, QSet<QString>> edges;
        for (const File &file : qAsConst(m_files)) {
            for (const QString &include : file.includes) {
                if (component(include) != component(file.path))
                    edges[component(file.path)].insert(component(include));
            }
        }
        // Depth-first search; a grey node reached again closes a cycle.
        QHash<QString, int> colour; // 0 white, 1 grey, 2 black
        QStringList stack;
        QString cycle;
        std::function<void(const QString &)> visit = [&](const QString &node) {
            colour[node] = 1;
            stack << node;
            for (const QString &next : edges.value(node)) {
                if (!cycle.isEmpty())
                    return;
                if (colour.value(next) == 1)
                    cycle = (stack.mid(stack.indexOf(next)) << next).join(QStringLiteral(" -> "));
                else if (colour.value(next) == 0)
                    visit(next);
            }
            stack.removeLast();
            colour[node] = 2;
        };
        for (auto it = edges.cbegin(); it != edges.cend() && cycle.isEmpty(); ++it) {
            if (colour.value(it.key()) == 0)
                visit(it.key());
        }
        QVERIFY2(cycle.isEmpty(), qPrintable("include cycle: " + cycle));
    }

    void gstreamerStaysInsideTheSources()
    {
        for (const File &file : qAsConst(m_files)) {
            if (file.path.startsWith(QLatin1String("sources/")))
                continue;
            QSet<QString> seen;
            for (const QString &include : file.includes) {
                const QStringList chain = gstReachedFrom(include, seen);
                QVERIFY2(chain.isEmpty(),
                         qPrintable(file.path + " reaches GStreamer through "
                                    + chain.join(QStringLiteral(" -> "))));
            }
            for (const QString &system : file.systemIncludes)
                QVERIFY2(!system.startsWith(QLatin1String("gst/")), qPrintable(file.path));
        }
    }

    void filesStayReadable_data()
    {
        QTest::addColumn<QString>("path");
        for (const File &file : qAsConst(m_files))
            QTest::newRow(qPrintable(file.path)) << file.path;
    }
    void filesStayReadable()
    {
        QFETCH(QString, path);
        const File &file = m_files[path];
        QVERIFY2(file.lines <= 500, qPrintable(QStringLiteral("%1 lines").arg(file.lines)));
        // Every source lives in the folder of its concern, not in the sources' hall.
        QVERIFY(QFileInfo(path).path() != QLatin1String("sources"));
    }

    void connectionsDoNotGoByName()
    {
        static const QRegularExpression byName(
            QStringLiteral("\\b(SIGNAL|SLOT)\\s*\\(|indexOfSlot|indexOfSignal"));
        for (const File &file : qAsConst(m_files)) {
            const auto match = byName.match(file.text);
            QVERIFY2(!match.hasMatch(), qPrintable(file.path + ": " + match.captured(0)));
        }
    }
};

QTEST_GUILESS_MAIN(TestSourceLayout)
#include "tst_sourcelayout.moc"
