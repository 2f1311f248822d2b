#include "app/help_viewer/help_window.h"

#include <iterator>

#include <QDialog>
#include <QDir>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTreeWidget>
#include <QtEndian>
#include <QtTest>

#include "app/help_viewer/help_file.h"
#include "tests/qt_support/qt_tests.h"

namespace {

const QString kHelpFile = QStringLiteral(WQ_HELP_FILE);

struct TTopic {
    int context;
    const char* path;
    const char* title;
};

const TTopic kTopics[] = {
    {1000, "topics/main_window.htm", "Main window"},
    {2200, "topics/wizard.htm", "Data Entry Wizard"},
    {2510, "topics/import_stations.htm", "Import stations"},
    {2520, "topics/import_flow.htm", "Import daily streamflow data"},
    {3100, "topics/water_balance.htm", "Water balance"},
    {3210, "topics/groundwater.htm", "Groundwater level"},
    {3220, "topics/reservoirs.htm", "Reservoir"},
    {3230, "topics/stream_flow.htm", "Streamflow"},
    {3240, "topics/rain_gauge.htm", "Rain gauge station"},
    {4000, "topics/water_abstraction.htm", "Water abstraction"},
    {5000, "topics/water_use.htm", "Water use"},
};

QTextBrowser& Browser(THelpWindow& window)
{
    return *window.findChild<QTextBrowser*>(QStringLiteral("browserTopic"));
}

QTreeWidget& Contents(THelpWindow& window)
{
    return *window.findChild<QTreeWidget*>(QStringLiteral("treeContents"));
}

QString MarkedContentsLine(THelpWindow& window)
{
    const QTreeWidgetItem* item = Contents(window).currentItem();
    return item != nullptr ? item->text(0) : QString();
}

// Where on the screen the first link to href lies, scrolled into view.
QPoint LinkPoint(QTextBrowser& browser, const QString& href)
{
    for (QTextBlock block = browser.document()->begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it)
            if (it.fragment().charFormat().anchorHref() == href) {
                QTextCursor cursor(browser.document());
                cursor.setPosition(it.fragment().position() + 1);
                browser.setTextCursor(cursor);
                browser.ensureCursorVisible();
                return browser.cursorRect(cursor).center();
            }
    return {-1, -1};
}

QList<QString> LinksOf(const QString& html)
{
    static const QRegularExpression link(
        QStringLiteral(R"re((?:href|src|value)\s*=\s*"([^"]+\.(?:htm|css|png)(?:#[^"]*)?)")re"));
    QList<QString> links;
    for (const QRegularExpressionMatch& match : link.globalMatch(html))
        links.append(match.captured(1));
    return links;
}

// The map as 7-Zip extracts it: context number to path.
QMap<int, QString> MapExtractedBy7Zip(const QString& folder)
{
    QProcess sevenZip;
    sevenZip.start(QStringLiteral("7zz"),
                   {QStringLiteral("x"), QStringLiteral("-y"), QStringLiteral("-o") + folder,
                    kHelpFile, QStringLiteral("#IVB"), QStringLiteral("#STRINGS")});
    if (!sevenZip.waitForFinished() || sevenZip.exitCode() != 0)
        return {};
    QFile ivbFile(folder + QStringLiteral("/#IVB"));
    QFile stringsFile(folder + QStringLiteral("/#STRINGS"));
    if (!ivbFile.open(QIODevice::ReadOnly) || !stringsFile.open(QIODevice::ReadOnly))
        return {};
    const QByteArray ivb = ivbFile.readAll();
    const QByteArray strings = stringsFile.readAll();
    QMap<int, QString> map;
    for (qsizetype at = 4; at + 8 <= ivb.size(); at += 8) {
        const auto offset = qFromLittleEndian<quint32>(ivb.constData() + at + 4);
        map.insert(qFromLittleEndian<qint32>(ivb.constData() + at),
                   QString::fromUtf8(strings.constData() + offset));
    }
    return map;
}

}  // namespace

class HelpWindowTest : public QObject {
    Q_OBJECT

private slots:
    void builtFileMapsEveryContextToItsTopic()
    {
        const THelpFile file(kHelpFile);
        for (const TTopic& topic : kTopics) {
            QCOMPARE(file.TopicOfContext(topic.context), QString::fromLatin1(topic.path));
            const QString html = QString::fromUtf8(
                file.Read(QString::fromLatin1(topic.path)).value_or(QByteArray()));
            QVERIFY2(
                html.contains(QStringLiteral("<title>%1</title>").arg(QLatin1String(topic.title))),
                topic.path);
        }
        QVERIFY(file.TopicOfContext(4242).isEmpty());
        QCOMPARE(file.DefaultTopic(), QStringLiteral("topics/main_window.htm"));
        QVERIFY(!file.Title().isEmpty());

        const QList<THelpContentsEntry> contents = file.Contents();
        QCOMPARE(contents.size(), 6);
        QCOMPARE(contents[3].name, QStringLiteral("Stations"));
        QVERIFY(contents[3].topic.isEmpty());
        QCOMPARE(contents[3].children.size(), 4);
        QCOMPARE(contents[3].children[1].topic, QStringLiteral("topics/reservoirs.htm"));
    }

    // 7-Zip has its own reader of the format: it must read the rewritten
    // section and see topics inside the file, not paths of the build folder.
    void anotherReaderSeesTheSameMap()
    {
        QTemporaryDir folder;
        const THelpFile file(kHelpFile);
        const QMap<int, QString> map = MapExtractedBy7Zip(folder.path());
        QCOMPARE(map.size(), qsizetype(std::size(kTopics)));
        for (const TTopic& topic : kTopics)
            QCOMPARE(map.value(topic.context), QString::fromLatin1(topic.path));

        QProcess sevenZip;
        sevenZip.start(QStringLiteral("7zz"), {QStringLiteral("t"), kHelpFile});
        QVERIFY(sevenZip.waitForFinished());
        QCOMPARE(sevenZip.exitCode(), 0);
    }

    void everyLinkOfEveryTopicLeadsIntoTheFile()
    {
        const THelpFile file(kHelpFile);
        QStringList pages = {QStringLiteral("contents.hhc"), QStringLiteral("index.hhk")};
        for (const TTopic& topic : kTopics)
            pages.append(QString::fromLatin1(topic.path));
        pages.append(QStringLiteral("topics/entering_values.htm"));
        for (const QString& page : pages) {
            const QUrl base = QUrl(QStringLiteral("chm:/") + page);
            for (const QString& link : LinksOf(QString::fromUtf8(*file.Read(page)))) {
                const QUrl target = base.resolved(QUrl(link));
                const std::optional<QByteArray> bytes = file.Read(target.path());
                QVERIFY2(bytes, qPrintable(page + QStringLiteral(" -> ") + link));
                if (target.hasFragment())
                    QVERIFY2(bytes->contains("name=\"" + target.fragment().toUtf8() + '"'),
                             qPrintable(page + QStringLiteral(" -> ") + link));
            }
        }
    }

    void showsTheReservoirTopicAndFollowsALink()
    {
        THelpWindow window(kHelpFile);
        window.ShowContext(3220);
        QVERIFY(QTest::qWaitForWindowExposed(&window, kHangGuardMs));
        QTextBrowser& browser = Browser(window);
        QCOMPARE(browser.source(), QUrl(QStringLiteral("chm:/topics/reservoirs.htm")));
        QCOMPARE(browser.documentTitle(), QStringLiteral("Reservoir"));
        QVERIFY(browser.toPlainText().contains(QStringLiteral("Reservoir characteristics")));
        QCOMPARE(MarkedContentsLine(window), QStringLiteral("Reservoir"));

        const QPoint link = LinkPoint(browser, QStringLiteral("entering_values.htm#ltaa"));
        QVERIFY(link.x() >= 0);
        QTest::mouseClick(browser.viewport(), Qt::LeftButton, {}, link);
        QCOMPARE(browser.source(), QUrl(QStringLiteral("chm:/topics/entering_values.htm#ltaa")));
        QCOMPARE(browser.documentTitle(), QStringLiteral("Entering values"));
        QCOMPARE(MarkedContentsLine(window), QStringLiteral("Entering values"));
        const QImage picture =
            QImage::fromData(browser
                                 .loadResource(QTextDocument::ImageResource,
                                               QUrl(QStringLiteral("../images/period_rows.png")))
                                 .toByteArray());
        QCOMPARE(picture.width(), 251);
        QVERIFY(browser
                    .loadResource(QTextDocument::StyleSheetResource,
                                  QUrl(QStringLiteral("../style.css")))
                    .toString()
                    .contains(QStringLiteral("font-family")));

        const QList<QTreeWidgetItem*> waterUse =
            Contents(window).findItems(QStringLiteral("Water use"), Qt::MatchRecursive);
        QCOMPARE(waterUse.size(), 1);
        emit Contents(window).itemClicked(waterUse[0], 0);
        QCOMPARE(browser.documentTitle(), QStringLiteral("Water use"));
    }

    void missingBrokenOrUnmappedGivesAMessageNamingTheFile()
    {
        QTemporaryDir folder;
        const QString missing = folder.filePath(QStringLiteral("absent/Rivulon.chm"));
        const QString broken = folder.filePath(QStringLiteral("Rivulon.chm"));
        QFile brokenFile(broken);
        QVERIFY(brokenFile.open(QIODevice::WriteOnly));
        brokenFile.write("not a help file");
        brokenFile.close();
        for (const QString& path : {missing, broken}) {
            THelpWindow window(path);
            window.ShowContext(1000);
            QVERIFY(window.isVisible());
            QVERIFY(Browser(window).toPlainText().contains(path));
            QVERIFY(!Contents(window).isVisible());
        }

        THelpWindow window(kHelpFile);
        window.ShowContext(4242);
        QVERIFY(Browser(window).toPlainText().contains(QStringLiteral("help context 4242")));
        QVERIFY(Contents(window).isVisible());
    }

    void escapeClosesTheWindow()
    {
        THelpWindow window(kHelpFile);
        window.ShowContext(1000);
        QVERIFY(QTest::qWaitForWindowActive(&window, kHangGuardMs));
        QTest::keyClick(&Browser(window), Qt::Key_Escape);
        QVERIFY(!window.isVisible());
    }

    // A window outside the modal form would take no input while the form waits.
    void viewerOpensOverTheModalForm()
    {
        SetHelpFile(kHelpFile.toStdString());
        THelpWindowViewer viewer;
        ScopedHelpViewer installed(viewer);
        QDialog form;
        form.setWindowModality(Qt::ApplicationModal);
        form.show();
        ShowHelp(3230);
        QCOMPARE(viewer.Window()->parentWidget(), &form);
        QVERIFY(viewer.Window()->isVisible());
        QCOMPARE(Browser(*viewer.Window()).documentTitle(), QStringLiteral("Streamflow"));
        form.hide();
    }
};

WQ_REGISTER_TEST(HelpWindowTest);
#include "help_window_test.moc"
