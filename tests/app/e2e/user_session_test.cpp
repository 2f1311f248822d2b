// The whole program as a user works with it, on a real X server: the windows,
// their modal loops, the file dialogs and the message boxes are the program's
// own, driven by mouse and keyboard events on the widgets. Every step waits
// for the state it needs, however long a busy machine takes; only a hang
// guard of minutes ends a wait, and a window that does not come or does not
// close is closed by force, so the run ends whatever goes wrong.

#include <algorithm>
#include <filesystem>
#include <functional>
#include <initializer_list>
#include <memory>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include "app/main/ozr_regions.h"
#include "app/main/program_start.h"
#include "app/main/wq_application.h"
#include "components/StrGrdQv.h"
#include "platform/regional_settings.h"
#include "tests/app/main/main_window_fixture.h"
#include "tests/qt_support/qt_tests.h"
#include "tests/support/files.h"
#include "tests/support/temp_folder.h"

namespace {

// Columns of the overview.
constexpr int kRegionNameCol = 1;
constexpr int kStreamflowCol = 8;

using TWindowTest = std::function<bool(const QWidget&)>;
using TUse = std::function<void(QWidget&)>;

TWindowTest Named(const char* name)
{
    return [name](const QWidget& window) { return window.objectName() == QLatin1String(name); };
}

template <typename TWindow>
TWindowTest Of()
{
    return [](const QWidget& window) { return qobject_cast<const TWindow*>(&window) != nullptr; };
}

void Close(QWidget& window)
{
    if (auto* dialog = qobject_cast<QDialog*>(&window))
        dialog->reject();
    else
        window.close();
}

bool WaitFor(const std::function<bool()>& condition)
{
    return QTest::qWaitFor(condition, kHangGuardMs);
}

// Gives the window the keyboard focus, as a click on it does under a window
// manager. The X server runs none, and it ignores a request for the focus
// that carries an older time than its last change of focus (as when the
// window before was closed), so the request is repeated until it takes.
bool Activate(QWidget& window)
{
    return WaitFor([&window] {
        if (!window.isActiveWindow())
            window.activateWindow();
        return window.isActiveWindow();
    });
}

// What a window is, for a failure message: its name and, for a message box,
// what it says.
QString Describe(const QWidget& window)
{
    const auto* box = qobject_cast<const QMessageBox*>(&window);
    return window.objectName() + QLatin1Char(' ') + window.windowTitle() +
           (box ? QStringLiteral(": ") + box->text() : QString());
}

// A modal window that stays active longer than the hang guard is one that a
// step did not expect or did not close: the watchdog closes it, so that the
// run goes on, and fails the test.
class TModalWatchdog {
public:
    TModalWatchdog()
    {
        QObject::connect(&timer_, &QTimer::timeout, [this] { Check(); });
        timer_.start(100);
    }

private:
    void Check()
    {
        QWidget* window = QApplication::activeModalWidget();
        if (window != seen_) {
            seen_ = window;
            since_.start();
        } else if (window && since_.hasExpired(kHangGuardMs)) {
            const QString what = Describe(*window);
            Close(*window);
            seen_ = nullptr;
            QFAIL(qPrintable(QStringLiteral("Closed by the watchdog: ") + what));
        }
    }

    QTimer timer_;
    QPointer<QWidget> seen_;
    QElapsedTimer since_;
};

// Runs `open`, which shows a modal window and usually waits in its loop, and
// hands the window that `matches` to `use` once it is the active modal window,
// on the screen and with the focus, as a user finds it. `use` should close it.
void WithModal(const std::function<void()>& open, const TWindowTest& matches, const TUse& use)
{
    bool done = false;
    QElapsedTimer clock;
    clock.start();
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QWidget* window = QApplication::activeModalWidget();
        if (window && window->isVisible() && matches(*window)) {
            poll.stop();
            done = true;
            QVERIFY2(QTest::qWaitForWindowExposed(window, kHangGuardMs) && Activate(*window),
                     "The window did not get the focus");
            use(*window);
        } else if (clock.hasExpired(kHangGuardMs)) {
            poll.stop();
            done = true;
            QFAIL("The expected window did not come");
        }
    });
    poll.start(20);
    open();
    QVERIFY(QTest::qWaitFor([&done] { return done; }, 2 * kHangGuardMs));
}

QAction* ActionTitled(const QList<QAction*>& actions, const char* title)
{
    for (QAction* action : actions)
        if (action->text().remove(QLatin1Char('&')) == QString::fromUtf8(title))
            return action;
    return nullptr;
}

// Opens the menus of the path from the main window's menu bar and clicks its
// last item.
void ChooseMenu(QMainWindow& window, std::initializer_list<const char*> path)
{
    QMenuBar& bar = *window.menuBar();
    QAction* item = ActionTitled(bar.actions(), *path.begin());
    QVERIFY(item);
    QTest::mouseClick(&bar, Qt::LeftButton, {}, bar.actionGeometry(item).center());
    for (auto title = path.begin() + 1; title != path.end(); ++title) {
        QMenu* menu = item->menu();
        QVERIFY(WaitFor([menu] { return menu->isVisible(); }));
        item = ActionTitled(menu->actions(), *title);
        QVERIFY2(item, *title);
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(item).center());
    }
}

template <typename TWidget>
TWidget& Control(const QWidget& window, const char* name)
{
    auto* control = window.findChild<TWidget*>(QLatin1String(name));
    if (!control)
        qFatal("No control %s in %s", name, qPrintable(window.objectName()));
    return *control;
}

// Clicks a button near its left end, where the box of a radio button or a
// check box is.
void Click(const QWidget& window, const char* name)
{
    QWidget& button = Control<QWidget>(window, name);
    QTest::mouseClick(&button, Qt::LeftButton, {},
                      QPoint(std::min(8, button.width() / 2), button.height() / 2));
}

// Types into the box as a user does: in the active window, once the click
// has given the box the focus. A file dialog, for one, puts the name of the
// file it selects into its name box whenever the box lacks the focus.
void TypeInto(QLineEdit& edit, const QString& text)
{
    QVERIFY(Activate(*edit.window()));
    QTest::mouseClick(&edit, Qt::LeftButton);
    QVERIFY(WaitFor([&edit] { return edit.hasFocus(); }));
    QTest::keyClick(&edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(&edit, text);
}

void TypeInto(const QWidget& window, const char* name, const QString& text)
{
    TypeInto(Control<QLineEdit>(window, name), text);
}

// Types the file's full name into the dialog's name box and confirms.
void ChooseFile(QWidget& window, const std::string& fileName)
{
    auto& dialog = static_cast<QFileDialog&>(window);
    TypeInto(dialog, "fileNameEdit", QString::fromStdString(fileName));
    const bool saving = dialog.acceptMode() == QFileDialog::AcceptSave;
    QPushButton* confirm = Control<QDialogButtonBox>(dialog, "buttonBox")
                               .button(saving ? QDialogButtonBox::Save : QDialogButtonBox::Open);
    QTest::mouseClick(confirm, Qt::LeftButton);
}

// Clicks the button that opens a file dialog and chooses the file there.
void OpenFileWith(const QWidget& window, const char* button, const std::string& fileName)
{
    WithModal([&] { Click(window, button); }, Of<QFileDialog>(),
              [&](QWidget& dialog) { ChooseFile(dialog, fileName); });
}

// The row whose cell in this column shows the text; -1 when none does.
int RowShowing(const TQvStringGrid& grid, int col, const QString& text)
{
    for (int row = 1; row < grid.RowCount(); ++row)
        if (grid.Cell(col, row) == text)
            return row;
    return -1;
}

TQvStringGrid& Overview()
{
    return *FormRegions->gridRegions();
}

// The overview's rows as "code: stream-flow stations".
QStringList StreamflowStationsByRegion()
{
    QStringList rows;
    for (int row = 1; row < Overview().RowCount(); ++row)
        rows << Overview().Cell(0, row) + QStringLiteral(": ") +
                    Overview().Cell(kStreamflowCol, row);
    return rows;
}

const QStringList kStreamflowStationsImported = {QStringLiteral("GR01: 1"),
                                                 QStringLiteral("GR01a: 1")};

void PressEscape(QWidget& window)
{
    QTest::keyClick(&window, Qt::Key_Escape);
}

void ShowsDataImported(const QWidget& form)
{
    QVERIFY(Control<QPlainTextEdit>(form, "Memo1")
                .toPlainText()
                .contains(QStringLiteral("Data imported")));
}

// Reads the file through the import form of File > Import > `item`; `settle`
// makes the form's own settings.
void Import(const char* item, const char* formName, const std::string& fileName,
            const std::function<void(QWidget& form)>& settle)
{
    WithModal(
        [item] {
            ChooseMenu(*FormMain, {"File", "Import", item});
        },
        Named(formName),
        [&](QWidget& form) {
            OpenFileWith(form, "Button1", fileName);
            settle(form);
            Click(form, "Button3");
            ShowsDataImported(form);
            PressEscape(form);
        });
}

void ImportStreamflowStations(const std::string& fileName)
{
    Import("Stations...", "FormCSVStationsImport", fileName, [](QWidget& form) {
        // The file's first line names its columns.
        TypeInto(form, "edtStartRow", QStringLiteral("2"));
        Click(form, "rbFlow");
    });
}

void ImportDailyFlows(const std::string& fileName)
{
    Import("Streamflow daily data…", "FormCSVFlowImport", fileName, [](QWidget&) {});
}

// In an open list of stations, opens the station's form and lets `use` work on it.
void OpenListedStation(QWidget& list, const char* id, const TUse& use)
{
    auto& grid = Control<TQvStringGrid>(list, "StrGrdProp");
    const int row = RowShowing(grid, 1, QString::fromLatin1(id));
    QVERIFY(row > 0);
    WithModal([&] { DoubleClickCell(grid, 1, row); }, Named("FormFlow"), use);
}

// Opens the stream-flow stations of the region's row in the overview, and
// there the station Q1, whose name and river change.
void ChangeStationFromOverview(const char* regionName)
{
    const int row = RowShowing(Overview(), kRegionNameCol, QString::fromLatin1(regionName));
    QVERIFY(row > 0);
    WithModal([row] { DoubleClickCell(Overview(), kStreamflowCol, row); },
              Named("FrmPropertiesDlg"),
              [](QWidget& list) {
                  QCOMPARE(list.windowTitle(), QStringLiteral("Stream flow properties"));
                  OpenListedStation(list, "Q1", [](QWidget& form) {
                      TypeInto(form, "edtName", QStringLiteral("Alfeios at Karytaina"));
                      TypeInto(form, "edtRiver", QStringLiteral("Alfeios"));
                      Click(form, "chbWFD");
                      Click(form, "btnInput");
                  });
                  const auto& grid = Control<TQvStringGrid>(list, "StrGrdProp");
                  QCOMPARE(grid.Cell(2, RowShowing(grid, 1, QStringLiteral("Q1"))),
                           QStringLiteral("Alfeios at Karytaina"));
                  Click(list, "Button1");
              });
}

// Through Tools > Lists, the station Q1 as changed, with its imported days.
void FindChangedStation()
{
    WithModal(
        [] {
            ChooseMenu(*FormMain, {"Tools", "Lists", "Stream flow"});
        },
        Named("FrmPropertiesDlg"),
        [](QWidget& list) {
            OpenListedStation(list, "Q1", [](QWidget& form) {
                QCOMPARE(Control<QLineEdit>(form, "edtName").text(),
                         QStringLiteral("Alfeios at Karytaina"));
                QCOMPARE(Control<QLineEdit>(form, "edtRiver").text(), QStringLiteral("Alfeios"));
                QVERIFY(Control<QCheckBox>(form, "chbWFD").isChecked());
                const auto& daily = Control<TQvStringGrid>(form, "gridDailyData");
                QCOMPARE(daily.Cell(1, 1), QStringLiteral("14.25"));
                QCOMPARE(daily.Cell(1, 74), QStringLiteral("12.7"));
                Click(form, "btnCancel");
            });
            Click(list, "Button1");
        });
}

// File > `item` ("Open...", "Save As...") with this file chosen in the dialog.
void ChooseFileFromMenu(const char* item, const std::string& fileName)
{
    WithModal(
        [item] {
            ChooseMenu(*FormMain, {"File", item});
        },
        Of<QFileDialog>(), [&fileName](QWidget& dialog) { ChooseFile(dialog, fileName); });
}

// File > Save As from the keyboard alone: Alt+F opens the menu and the item's
// letter chooses Save As; the save dialog, which starts in the folder used
// last, takes the typed name and Enter.
void SaveAsByKeyboard(const std::string& folder, const QString& name)
{
    WithModal(
        [] {
            // Keys go to the active window; the X server runs no window
            // manager that would hand the activation back after a dialog.
            QVERIFY(Activate(*FormMain));
            QTest::keyClick(FormMain, Qt::Key_F, Qt::AltModifier);
            // A completion list of the last file dialog may still be a popup.
            QMenu* file = ActionTitled(FormMain->menuBar()->actions(), "File")->menu();
            QVERIFY(WaitFor([file] { return QApplication::activePopupWidget() == file; }));
            QTest::keyClick(file, Qt::Key_A);
        },
        Of<QFileDialog>(),
        [&](QWidget& dialog) {
            QCOMPARE(static_cast<QFileDialog&>(dialog).directory().absolutePath(),
                     QString::fromStdString(folder));
            QWidget* nameBox = QApplication::focusWidget();
            QVERIFY(nameBox && nameBox->objectName() == QLatin1String("fileNameEdit"));
            QTest::keyClick(nameBox, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClicks(nameBox, name);
            QTest::keyClick(nameBox, Qt::Key_Return);
        });
}

void Quit()
{
    ChooseMenu(*FormMain, {"File", "Exit"});
    QVERIFY(WaitFor([] { return !FormMain->isVisible(); }));
}

std::unique_ptr<TProgramStart> Start()
{
    auto program = std::make_unique<TProgramStart>();
    if (!QTest::qWaitForWindowExposed(FormMain, kHangGuardMs))
        qWarning("The main window did not show");
    return program;
}

const char* const kStations =
    "Scale;Region;Code;Name;Longitude;Latitude\n"
    "su;GR01a;Q1;Alfeios at Flokas;21.58;37.65\n"
    "RBD;GR01;Q2;Pineios at Gastouni;21.26;37.85\n";
const char* const kDailyFlows =
    "* daily mean flow in m3/s\n"
    "Q1;01/01/2005;14.25\n"
    "Q1;15/03/2005;12.7\n"
    "q2;31/12/2005;3.5\n";

}  // namespace

class UserSessionTest : public QObject {
    Q_OBJECT

private slots:
    // The program starts on the display with every country of the delivered
    // regions file in its list, each as code "/" name in the file's order.
    void startsWithTheDeliveredRegions()
    {
        TModalWatchdog watchdog;
        const std::string delivered = wqtest::ReadFileText(
            std::string(qgetenv("WQ_SOURCE_DIR").constData()) + "/data/OZR_wq_regions.xml");
        QVERIFY(!delivered.empty());
        TRegionsFileBesideProgram regionsFile(delivered);
        const auto program = Start();
        QVERIFY(FormMain->isVisible());
        const auto& countries = Control<QComboBox>(*FormMain, "cmboxCountry");
        std::ptrdiff_t inFile = 0;
        for (std::size_t at = 0; (at = delivered.find("<Country>", at)) != std::string::npos; ++at)
            ++inFile;
        QCOMPARE(countries.count(), static_cast<int>(inFile));
        const auto* first = static_cast<const TRegion*>(Session->FCountries[0]);
        QCOMPARE(countries.itemText(0),
                 QString::fromStdString(first->GetCode() + "/" + first->FName));
        QCOMPARE(countries.currentIndex(), -1);
        Quit();
    }

    void importChangeSaveQuitAndFindTheDataAgain()
    {
        TModalWatchdog watchdog;
        ScopedRegionalSettings regional('.', "dd/mm/yyyy");
        TRegionsFileBesideProgram regionsFile;
        wqtest::TempFolder folder;
        wqtest::WriteTextFile(folder / "stations.csv", kStations);
        wqtest::WriteTextFile(folder / "flows.csv", kDailyFlows);
        const std::string dataFile = folder / "greece.wqd";

        auto program = Start();
        PickCountry(*FormMain, 0);
        TypeInto(*FormMain, "edtResponsible", QStringLiteral("Maria P."));
        TypeInto(*FormMain, "edtEmail", QStringLiteral("maria@example.org"));
        ImportStreamflowStations(folder / "stations.csv");
        QCOMPARE(StreamflowStationsByRegion(), kStreamflowStationsImported);
        ImportDailyFlows(folder / "flows.csv");
        ChangeStationFromOverview("Alfeios");
        // The daily values came from the folder, so Save As starts there.
        SaveAsByKeyboard(folder.Path(), QStringLiteral("greece"));
        QCOMPARE(FormMain->windowTitle(), QStringLiteral("Tavrel-SoE WQ Data Request"));
        QVERIFY(std::filesystem::exists(dataFile));
        QVERIFY(std::filesystem::exists(folder / "greece.zip"));
        Quit();
        program.reset();

        program = Start();
        QCOMPARE(Overview().Cell(0, 1), QString());
        ChooseFileFromMenu("Open...", dataFile);
        QCOMPARE(Control<QComboBox>(*FormMain, "cmboxCountry").currentText(),
                 QStringLiteral("GR/Greece"));
        QCOMPARE(Control<QLineEdit>(*FormMain, "edtEmail").text(),
                 QStringLiteral("maria@example.org"));
        QCOMPARE(StreamflowStationsByRegion(), kStreamflowStationsImported);
        FindChangedStation();
        Quit();
    }
};

int main(int argc, char* argv[])
{
    // The dialogs of Qt itself, the same on every desktop, rather than those
    // of a platform theme that the test could not drive.
    QApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    TWqApplication application(argc, argv);
    UserSessionTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "user_session_test.moc"
