#include "app/imports/csv_import_form.h"

#include <QPlainTextEdit>
#include <QShowEvent>
#include <QValidator>

#include "app/form_support.h"
#include "app/help_viewer/help_service.h"
#include "components/command_guard.h"
#include "model/ozr_types.h"
#include "platform/dialogs.h"
#include "ui_csv_import_form.h"

namespace {

// The delimiter box takes one character. Its length limit counts UTF-16
// units, of which a character outside the Basic Multilingual Plane takes two,
// so the limit lets two units in and this takes no more than one character.
class TOneCharacterValidator : public QValidator {
public:
    using QValidator::QValidator;

    State validate(QString& input, int&) const override
    {
        return QStringView(input).toUcs4().size() <= 1 ? Acceptable : Invalid;
    }
};

}  // namespace

TCsvImportForm::TCsvImportForm(QWidget* parent, int helpContext, std::string failureText)
    : QDialog(parent, Qt::Tool),
      ui(std::make_unique<Ui::CsvImportForm>()),
      helpContext_(helpContext),
      failureText_(std::move(failureText))
{
    ui->setupUi(this);
    SetFormFont(*this);
    ui->edtDelim->setValidator(new TOneCharacterValidator(ui->edtDelim));
    ConnectCommand(ui->Button1, &QAbstractButton::clicked, this, &TCsvImportForm::Button1Click);
    ConnectCommand(ui->Button2, &QAbstractButton::clicked, this, &TCsvImportForm::Button2Click);
    ConnectCommand(ui->Button3, &QAbstractButton::clicked, this, &TCsvImportForm::Button3Click);
    ConnectCommand(ui->BitBtn1, &QAbstractButton::clicked, this, &TCsvImportForm::BitBtn1Click);
    SetUpKeyboard(*this, ui->BitBtn1);
}

TCsvImportForm::~TCsvImportForm() = default;

void TCsvImportForm::AddOwnSettings(QWidget& settings)
{
    ui->ownSettingsLayout->addWidget(&settings);
    QWidget* previous = ui->edtCountryDescription;
    for (QWidget* control : settings.findChildren<QWidget*>()) {
        if (!(control->focusPolicy() & Qt::TabFocus))
            continue;
        setTabOrder(previous, control);
        previous = control;
    }
    setTabOrder(previous, ui->Button2);
}

TCsvSettingsText TCsvImportForm::CsvSettings() const
{
    return {TextOf(*ui->edtFileName), TextOf(*ui->edtDelim), TextOf(*ui->edtStartRow)};
}

void TCsvImportForm::showEvent(QShowEvent* event)
{
    if (!event->spontaneous())
        FormShow();
    QDialog::showEvent(event);
}

void TCsvImportForm::FormShow()
{
    const TRegion* country = CurrentSession().GetCountry();
    ui->edtCountryCode->setText(country ? ToQt(country->GetCode()) : QString());
    ui->edtCountryDescription->setText(country ? ToQt(country->FName) : QString());
    FocusFirstBox(*this);
}

void TCsvImportForm::Button1Click()
{
    TFileDialogRequest request;
    request.Filter = "Comma Separated Values (*.csv)|*.csv|All files (*.*)|*.*";
    if (const std::optional<std::string> fileName = Dialogs().OpenFile(request))
        ui->edtFileName->setText(ToQt(*fileName));
}

void TCsvImportForm::Button2Click()
{
    ui->Memo1->clear();
    ShowLines(NewImport()->Check());
}

void TCsvImportForm::Button3Click()
{
    const TCsvRunResult result = NewImport()->Import();
    ShowLines(result);
    if (!result.Passed)
        ShowMessage(failureText_, TMsgDlgType::mtError);
}

void TCsvImportForm::BitBtn1Click()
{
    ShowHelp(helpContext_);
}

void TCsvImportForm::ShowLines(const TCsvRunResult& result)
{
    QStringList lines;
    lines.reserve(static_cast<qsizetype>(result.Lines.size()));
    for (const std::string& line : result.Lines)
        lines << ToQt(line);
    ui->Memo1->setPlainText(lines.join(QLatin1Char('\n')));
}
