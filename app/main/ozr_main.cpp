#include "app/main/ozr_main.h"

#include <utility>

#include <QCloseEvent>
#include <QScreen>
#include <QToolButton>

#include "app/form_support.h"
#include "app/help_viewer/help_service.h"
#include "app/main/app_texts.h"
#include "app/main/main_pictures.h"
#include "app/main/wq_application.h"
#include "appcore/form_values.h"
#include "components/QvAboutInfo.h"
#include "components/choice_box.h"
#include "components/command_guard.h"
#include "components/frmproperties.h"
#include "io/ozr_io_load.h"
#include "io/ozr_io_save.h"
#include "model/ozr_types.h"
#include "platform/program_folder.h"
#include "ui_ozr_main.h"

TFormMain* FormMain = nullptr;

namespace {

const QString kNoCountry = QStringLiteral("Select your country...");
constexpr int kMainHelpContext = 1000;

// The window's client area when it first shows.
constexpr QSize kClientSize(902, 495);

}  // namespace

TFormMain::TFormMain(QWidget* parent)
    : QMainWindow(parent),
      ui_(std::make_unique<Ui::TFormMain>()),
      qvAboutInfo1_(new TQvAboutInfo(this))
{
    ui_->setupUi(this);
    SetFormFont(*this);
    SetUpKeyboard(*this, nullptr);
    SetUpToolBar();
    SetUpAbout();
    openDialog1_.Filter = "Water Quantity Data file (*.wqd)|*.wqd|All files (*.*)|*.*";
    saveDialog1_.Filter = "Water Quantity Data file (*.wqd)|*.wqd";
    saveDialog1_.DefaultExt = "wqd";
    saveDialog1_.OverwritePrompt = true;
    ResizeClientArea(kClientSize);
    RunGuarded([this] { FormCreate(); });
    ConnectCommands();
}

TFormMain::~TFormMain() = default;

// Until the regions are read the session exists with an empty tree, so that a
// regions file that cannot be read leaves a window that still works.
void TFormMain::FormCreate()
{
    SetHelpFile(ProgramFolder() + ToStd(kHelpFileName));
    qvAboutInfo1_->SetApplicationName(kAppTitle);
    session_ = std::make_unique<TSession>();
    Session = session_.get();
    session_->SetObserver(this);
    LoadRegions();
    updateCmBoxCountries();
}

void TFormMain::SetUpToolBar()
{
    ui_->ToolButton1->setIcon(OpenIcon());
    ui_->ToolButton2->setIcon(SaveIcon());
    ui_->ToolButton3->setIcon(WizardIcon());
    ui_->ToolButton4->setIcon(HelpIcon());
    for (QAction* action : ui_->ToolBar1->actions())
        ui_->ToolBar1->widgetForAction(action)->setObjectName(action->objectName());
}

void TFormMain::SetUpAbout()
{
    qvAboutInfo1_->SetAppDescription(QStringLiteral(
        "A data input tool for the \"State and Quantity of Water Resources\" reporting"));
    qvAboutInfo1_->SetImageShow(true);
    qvAboutInfo1_->SetIconShow(false);
    qvAboutInfo1_->SetCreditsButtonShow(false);
    qvAboutInfo1_->Partner(1) = {QStringLiteral("Tavrel-SoE data request"),
                                 QStringLiteral("Copyright \u00A9 2009 Tavrel-SoE"),
                                 QStringLiteral("https://tavrel-soe.example/"), true};
    qvAboutInfo1_->Partner(2) = {QStringLiteral("Water quantity reporting network"),
                                 QStringLiteral("Region tree and data definitions"),
                                 QStringLiteral("https://tavrel-soe.example/wq/"), true};
    qvAboutInfo1_->Partner(3).Show = false;
}

void TFormMain::ConnectCommands()
{
    ConnectCommand(ui_->cmboxCountry, &TChoiceBox::Chosen, this, &TFormMain::cmboxCountrySelect);
    connect(ui_->edtResponsible, &QLineEdit::textChanged, this, &TFormMain::MarkModified);
    connect(ui_->edtEmail, &QLineEdit::textChanged, this, &TFormMain::MarkModified);
    connect(ui_->memoRemarks, &QPlainTextEdit::textChanged, this, &TFormMain::MarkModified);
    for (QAction* open : {ui_->Load1, ui_->ToolButton1})
        ConnectCommand(open, &QAction::triggered, this, &TFormMain::OpenData);
    for (QAction* saveAs : {ui_->Exit1, ui_->ToolButton2})
        ConnectCommand(saveAs, &QAction::triggered, this, &TFormMain::SaveAsClick);
    ConnectCommand(ui_->SaveRegions1, &QAction::triggered, this, [] { SaveRegions(); });
    ConnectCommand(ui_->AddSU1, &QAction::triggered, this, &TFormMain::AddSubUnitsFromFile);
    ConnectCommand(ui_->Exit2, &QAction::triggered, this, &QWidget::close);
    for (QAction* help : {ui_->DataentryHelp1, ui_->ToolButton4})
        ConnectCommand(help, &QAction::triggered, this, [] { ShowHelp(kMainHelpContext); });
    ConnectCommand(ui_->About1, &QAction::triggered, this, &TFormMain::About1Click);
    ConnectCommand(ui_->Stations1, &QAction::triggered, this, &TFormMain::Stations1Click);
    ConnectCommand(ui_->Streamflowdailydata1, &QAction::triggered, this,
                   &TFormMain::Streamflowdailydata1Click);
    for (QAction* wizard : {ui_->Wizard1, ui_->ToolButton3})
        ConnectCommand(wizard, &QAction::triggered, this, &TFormMain::RunWizard);
    const std::pair<QAction*, TStationKind> lists[] = {{ui_->Groundwaterlevel1, skWell},
                                                       {ui_->Listalldata1, skReservoir},
                                                       {ui_->Streamflow1, skStreamFlow},
                                                       {ui_->Precipitation1, skRainGauge}};
    for (const auto& [list, kind] : lists)
        ConnectCommand(list, &QAction::triggered, this, [this, kind] { ListStations(kind); });
}

void TFormMain::ResizeClientArea(QSize client)
{
    resize(client + QSize(0, ui_->MainMenu1->sizeHint().height()));
    if (const QScreen* screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
}

void TFormMain::FitDataWidth(int width)
{
    const int frames = 2 * ui_->pnlData->frameWidth();
    if (ui_->pnlData->width() < width + frames)
        ResizeClientArea(QSize(width + frames, kClientSize.height()));
}

TPropertiesDialog& TFormMain::PropDlg()
{
    if (!propDlg_) {
        propDlg_ = new TPropertiesDialog(this);
        propDlg_->SetCaption(QStringLiteral("Object Properties"));
        propDlg_->SetReorderAllowed(false);
    }
    return *propDlg_;
}

QFrame* TFormMain::pnlData() const
{
    return ui_->pnlData;
}

void TFormMain::SetCaption(const std::string& caption)
{
    setWindowTitle(ToQt(caption));
}

void TFormMain::updateCmBoxCountries()
{
    const TSession& session = CurrentSession();
    QComboBox& box = *ui_->cmboxCountry;
    box.clear();
    for (TObject* item : session.FCountries) {
        auto* country = static_cast<TRegion*>(item);
        box.addItem(ToQt(country->GetCode() + "/" + country->FName),
                    QVariant::fromValue(static_cast<void*>(country)));
    }
    box.setCurrentIndex(session.GetCountry() ? session.FCountries.IndexOf(session.GetCountry())
                                             : -1);
    box.setPlaceholderText(kNoCountry);
}

void TFormMain::cmboxCountrySelect(int index)
{
    auto* country = static_cast<TRegion*>(ui_->cmboxCountry->itemData(index).value<void*>());
    CurrentSession().SetCountry(country);
}

void TFormMain::MarkModified()
{
    CurrentSession().SetModified(true);
}

void TFormMain::ShowSessionInfo()
{
    const TSession& session = CurrentSession();
    ui_->edtResponsible->setText(ToQt(session.FResponsible));
    ui_->edtEmail->setText(ToQt(session.FEmail));
    ShowRemarks(*ui_->memoRemarks, session.FRemarks, TLineEnds::Between);
}

void TFormMain::StoreSessionInfo()
{
    TSession& session = CurrentSession();
    session.FResponsible = ToStd(ui_->edtResponsible->text());
    session.FEmail = ToStd(ui_->edtEmail->text());
    session.FRemarks = RemarksOf(*ui_->memoRemarks, TLineEnds::Between);
}

void TFormMain::FormCloseQuery(bool& CanClose)
{
    CanClose = true;
    // Without a session (its creation failed) there is nothing to save.
    const TSession* session = Session;
    if (!session || !session->GetCountry() || !session->GetModified())
        return;
    switch (Dialogs().MessageDlg("The data have been modified. Save changes?",
                                 TMsgDlgType::mtConfirmation, mbYesNoCancel)) {
        case mrYes: CanClose = SaveData(); break;
        case mrNo: break;
        default: CanClose = false;
    }
}

// An exception out of the question's Save As leaves the event refused, so the
// window stays open with the data it holds.
void TFormMain::closeEvent(QCloseEvent* event)
{
    event->ignore();
    bool canClose = false;
    FormCloseQuery(canClose);
    event->setAccepted(canClose);
}

void TFormMain::About1Click()
{
    // Painted on the first use rather than while the program starts.
    if (qvAboutInfo1_->BigImage().isNull())
        qvAboutInfo1_->SetBigImage(AboutPicture());
    qvAboutInfo1_->Execute();
}
