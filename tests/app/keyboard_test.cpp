// The program from the keyboard: the menus' mnemonics and shortcuts, F1 on
// every window with a help topic, and where each window puts the focus and
// where Tab takes it from there, out of the remarks boxes too. Windows are shown
// and made active, so that keys go where a user's would.

#include <algorithm>
#include <functional>
#include <set>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTabBar>
#include <QTabWidget>
#include <QWheelEvent>
#include <QtTest>

#include "app/form_support.h"
#include "app/forms/ozr_flow.h"
#include "app/forms/ozr_groundwater.h"
#include "app/forms/ozr_rain_gauge.h"
#include "app/forms/ozr_reservoirs.h"
#include "app/forms/ozr_water_abstractions.h"
#include "app/forms/ozr_water_balance.h"
#include "app/forms/ozr_water_use.h"
#include "app/imports/ozr_io_load_CSV_flow.h"
#include "app/imports/ozr_io_load_CSV_stations.h"
#include "app/wizard/ozr_wizard.h"
#include "components/modal_run.h"
#include "tests/app/app_tests.h"
#include "tests/app/main/main_window_fixture.h"
#include "tests/qt_support/qt_tests.h"

namespace {

TRegion* Region(const std::string& code, TRegionType type)
{
    TRegion* region = nullptr;
    FindRegion(code, type, region);
    return region;
}

// A window with a help topic, the box it opens on, and how the program opens it.
struct TWindowCase {
    const char* Name;
    int HelpContext;
    const char* FirstBox;
    std::function<void()> Open;
};

std::vector<TWindowCase> WindowCases()
{
    return {
        {"FormWizard", 2200, "rbGroundwater", [] { ShowModal(*FormWizard); }},
        {"FormCSVStationsImport", 2510, "edtFileName", [] { ShowModal(*FormCSVStationsImport); }},
        {"FormCSVFlowImport", 2520, "edtFileName", [] { ShowModal(*FormCSVFlowImport); }},
        {"FormReservoirs", 3220, "edtID",
         [] { FormReservoirs->Edit(new TReservoir(Region("GR01a", rtSU), "R1")); }},
        {"FormGroundwater", 3210, "edtID",
         [] { FormGroundwater->Edit(new TWell(Region("GR01a", rtSU), "W1")); }},
        {"FormFlow", 3230, "edtID",
         [] { FormFlow->Edit(new TStreamFlow(Region("GR01a", rtSU), "Q1")); }},
        {"FormRainGauge", 3240, "edtID",
         [] { FormRainGauge->Edit(new TRainGauge(Region("GR01a", rtSU), "P1")); }},
        {"FormWaterUse", 5000, "cmboxYear", [] { FormWaterUse->Edit(Region("GR", rtCountry)); }},
        {"FormWaterBalance", 3100, "cmboxYear",
         [] { FormWaterBalance->Edit(Region("GR", rtCountry)); }},
        {"FormWaterAbs", 4000, "cmboxYear", [] { FormWaterAbs->Edit(Region("GR", rtCountry)); }},
    };
}

bool Activate(QWidget& window)
{
    window.show();
    QApplication::setActiveWindow(&window);
    return QTest::qWaitForWindowActive(&window, kHangGuardMs);
}

// Opens the window as the program does and runs `use` while it is shown and active.
void WhileOpen(TProgramSetup& setup, const TWindowCase& window,
               const std::function<void(QDialog&)>& use)
{
    setup.Modal.Then([&](QDialog& form) {
        QCOMPARE(form.objectName(), QLatin1String(window.Name));
        if (Activate(form))
            use(form);
        else
            QFAIL("The window did not become active");
        form.reject();
    });
    window.Open();
    QVERIFY2(setup.Modal.AllScriptsUsed(), window.Name);
}

QAbstractButton& HelpButton(const QWidget& window)
{
    for (QAbstractButton* button : window.findChildren<QAbstractButton*>())
        if (button->text().trimmed() == QLatin1String("Help"))
            return *button;
    throw std::runtime_error("no Help button");
}

// The controls Tab visits from the focused one until it comes back to it; a
// control that keeps the focus ends the walk too. A page's tab bar, which
// chooses pages, is passed over.
QWidgetList TabWalk()
{
    QWidgetList visited;
    QWidget* control = QApplication::focusWidget();
    while (control && !visited.contains(control) && visited.size() < 100) {
        if (!qobject_cast<QTabBar*>(control))
            visited << control;
        QTest::keyClick(control, Qt::Key_Tab);
        control = QApplication::focusWidget();
    }
    return visited;
}

QRect InWindow(const QWidget& window, const QWidget& control)
{
    return {control.mapTo(&window, QPoint()), control.size()};
}

// Reading order: further down, further right on the same line, or at the top
// of a column to the right of the control before.
bool ReadsAfter(const QRect& before, const QRect& next)
{
    constexpr int kSameLine = 8;
    if (next.top() > before.top() + kSameLine)
        return true;
    if (next.top() >= before.top() - kSameLine)
        return next.left() > before.left();
    return next.left() >= before.right();
}

// A radio button that Tab visits is the checked one of its group, if it has one.
bool IsTheGroupsStop(const QWidget& control)
{
    const auto* radio = qobject_cast<const QRadioButton*>(&control);
    return !radio || radio->isChecked() ||
           std::ranges::none_of(
               radio->parentWidget()->findChildren<QRadioButton*>(Qt::FindDirectChildrenOnly),
               &QAbstractButton::isChecked);
}

QList<QPushButton*> DefaultButtons(const QWidget& window)
{
    QList<QPushButton*> defaults = window.findChildren<QPushButton*>();
    defaults.removeIf([](const QPushButton* button) { return !button->isDefault(); });
    return defaults;
}

// Tab from the window's first box on each of its pages visits no read-only
// one-line box, goes in reading order, lands on the checked button of a radio
// group, and gets past every memo and grid to the buttons.
void CheckTabOrderOfEachPage(QWidget& window, const QWidget& lastStop)
{
    auto* pages = window.findChild<QTabWidget*>();
    for (int page = 0; page < (pages ? pages->count() : 1); ++page) {
        if (pages)
            pages->setCurrentIndex(page);
        FocusFirstBox(window);
        const QWidgetList visited = TabWalk();
        QVERIFY2(visited.contains(&lastStop), qPrintable(window.objectName()));
        for (qsizetype i = 0; i < visited.size(); ++i) {
            const QString where = window.objectName() + QLatin1Char(' ') +
                                  visited[i]->objectName() + QStringLiteral(" page ") +
                                  QString::number(page);
            const auto* box = qobject_cast<const QLineEdit*>(visited[i]);
            QVERIFY2(!box || !box->isReadOnly(), qPrintable(where));
            QVERIFY2(IsTheGroupsStop(*visited[i]), qPrintable(where));
            if (i > 0)
                QVERIFY2(
                    ReadsAfter(InWindow(window, *visited[i - 1]), InWindow(window, *visited[i])),
                    qPrintable(where));
        }
    }
}

// The mnemonic letter of a caption, 0 when it has none.
QChar Mnemonic(const QString& caption)
{
    const qsizetype at = caption.indexOf(QLatin1Char('&'));
    return at >= 0 && at + 1 < caption.size() ? caption[at + 1].toUpper() : QChar();
}

}  // namespace

class KeyboardTest : public QObject {
    Q_OBJECT

private slots:
    void menusKeepTheirWordsAndGainMnemonicsAndShortcuts()
    {
        TMainWindowSetup setup;
        const std::pair<const char*, const char*> captions[] = {
            {"File1", "File"},
            {"Load1", "Open..."},
            {"Exit1", "Save As..."},
            {"Import1", "Import"},
            {"Stations1", "Stations..."},
            {"Streamflowdailydata1", "Streamflow daily data…"},
            {"Exit2", "Exit"},
            {"Tools1", "Tools"},
            {"Lists1", "Lists"},
            {"Groundwaterlevel1", "Groundwater level"},
            {"Listalldata1", "Reservoirs"},
            {"Streamflow1", "Stream flow"},
            {"Precipitation1", "Precipitation"},
            {"Wizard1", "Wizard"},
            {"Help1", "Help"},
            {"DataentryHelp1", "Data Entry Help"},
            {"About1", "About..."}};
        for (const auto& [name, words] : captions) {
            auto* menu = setup.Find<QMenu>(name);
            const QString caption = menu ? menu->title() : setup.Find<QAction>(name)->text();
            QCOMPARE(QString(caption).remove(QLatin1Char('&')), QString::fromUtf8(words));
            QVERIFY2(!Mnemonic(caption).isNull(), name);
        }
        // One letter opens one item in each menu.
        QList<QList<QAction*>> menus{setup.Find<QMenuBar>("MainMenu1")->actions()};
        for (const char* name : {"File1", "Import1", "Tools1", "Lists1", "Help1"})
            menus << setup.Find<QMenu>(name)->actions();
        for (const QList<QAction*>& items : menus) {
            std::set<QChar> letters;
            for (const QAction* item : items)
                if (item->isVisible())
                    QVERIFY2(letters.insert(Mnemonic(item->text())).second,
                             qPrintable(item->text()));
        }
        // The other shortcuts are pressed in the main window's test.
        QCOMPARE(setup.Find<QAction>("Exit1")->shortcut(),
                 QKeySequence(QStringLiteral("Ctrl+Shift+S")));
        for (const char* hidden : {"SaveRegions1", "AddSU1"}) {
            const QAction& item = *setup.Find<QAction>(hidden);
            QVERIFY2(item.shortcut().isEmpty() && Mnemonic(item.text()).isNull(), hidden);
        }
    }

    void mainWindowFromTheKeyboard()
    {
        TMainWindowSetup setup;
        TRecordedHelp help;
        QVERIFY(Activate(setup.Main()));
        QStringList tabOrder;
        for (const QWidget* control : TabWalk())
            tabOrder << control->objectName();
        QCOMPARE(tabOrder.join(u' '),
                 QLatin1String("cmboxCountry edtResponsible edtEmail memoRemarks gridRegions"));
        setup.Dialogs.AnswerFile(std::nullopt);
        QTest::keyClick(&setup.Main(), Qt::Key_O, Qt::ControlModifier);
        QCOMPARE(setup.Dialogs.FileRequests().size(), std::size_t{1});
        QTest::keyClick(&setup.Main(), Qt::Key_F1);
        QCOMPARE(help.Contexts(), std::vector<int>{1000});
        QTest::keyClick(&setup.Main(), Qt::Key_Q, Qt::ControlModifier);
        QVERIFY(!setup.Main().isVisible());
    }

    // Each window opens on its first editable box; F1 opens its help topic
    // (its Help button's is checked with each window), and so does Enter on
    // the focused Help button, which leaves the default button as it was;
    // Tab reads on in order, out of the remarks box too.
    void everyWindowWithAHelpTopicFromTheKeyboard()
    {
        TProgramSetup setup;
        PickCountry(setup.Main(), 0);
        for (const TWindowCase& window : WindowCases()) {
            WhileOpen(setup, window, [&](QDialog& form) {
                QCOMPARE(QApplication::focusWidget()->objectName(), QLatin1String(window.FirstBox));
                const QList<QPushButton*> defaults = DefaultButtons(form);
                TRecordedHelp help;
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_F1);
                QAbstractButton& helpButton = HelpButton(form);
                helpButton.setFocus(Qt::TabFocusReason);
                QTest::keyClick(&helpButton, Qt::Key_Return);
                QCOMPARE(help.Contexts(), std::vector<int>(2, window.HelpContext));
                Find<QWidget>(form, window.FirstBox).setFocus(Qt::TabFocusReason);
                QCOMPARE(DefaultButtons(form), defaults);
                CheckTabOrderOfEachPage(form, helpButton);
            });
        }
    }

    // The result box of an import is a Tab stop after the buttons, and the
    // keys scroll through findings that do not fit.
    void importFindingsAreReadFromTheKeyboard()
    {
        TProgramSetup setup;
        PickCountry(setup.Main(), 0);
        WhileOpen(setup, WindowCases()[1], [&](QDialog& form) {
            auto& findings = Find<QPlainTextEdit>(form, "Memo1");
            findings.setPlainText(QStringLiteral("Line: No station code found\n").repeated(40));
            HelpButton(form).setFocus(Qt::TabFocusReason);
            QTest::keyClick(&HelpButton(form), Qt::Key_Tab);
            QTest::keyClick(&findings, Qt::Key_PageDown);
            QVERIFY(findings.hasFocus() && findings.verticalScrollBar()->value() > 0);
        });
    }

    // Typing and the arrow keys in the country box, and opening its list,
    // take no country; leaving the box takes the one it shows.
    void theCountryIsTakenWhenTheUserLeavesTheBox()
    {
        TMainWindowSetup setup;
        QVERIFY(Activate(setup.Main()));
        auto* box = setup.Find<QComboBox>("cmboxCountry");
        box->setFocus(Qt::TabFocusReason);
        QTest::keyClicks(box, QStringLiteral("m"));
        QTest::keyClick(box, Qt::Key_Up);
        for (const int turn : {120, -120}) {
            const QPointF inside(5, 5);
            QWheelEvent wheel(inside, box->mapToGlobal(inside), QPoint(), QPoint(0, turn),
                              Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(box, &wheel);
        }
        box->showPopup();
        box->hidePopup();
        QCOMPARE(CurrentSession().GetCountry(), nullptr);
        QTest::keyClick(box, Qt::Key_Tab);
        QCOMPARE(CurrentSession().GetCountry()->GetCode(), std::string("CY"));
    }
};

WQ_REGISTER_TEST(KeyboardTest);

#include "keyboard_test.moc"
