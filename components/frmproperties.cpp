#include "components/frmproperties.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

#include "components/command_guard.h"
#include "components/modal_run.h"
#include "components/ozr_grid_utils.h"
#include "platform/dialogs.h"
#include "platform/sysutils.h"

namespace {

const QColor kSelectedRowColor(0x00, 0x40, 0x80);
const QColor kReadOnlyColor(0xD4, 0xD0, 0xC8);
const QColor kWritableColor(0xFF, 0xFB, 0xF0);
constexpr int kMeasuredRows = 200;

// A property value of -31111 means "no value" in the table.
const QString& NoValueText()
{
    static const QString text = QString::fromStdString(FloatToStr(-31111.0));
    return text;
}

QString ValueText(const TPropInfo& property, const TPropValue& value)
{
    switch (property.Kind) {
        case TTypeKind::tkInteger:
        case TTypeKind::tkEnumeration:
            if (const auto* number = std::get_if<std::int64_t>(&value))
                return QString::number(*number);
            return {};
        case TTypeKind::tkFloat:
            if (const auto* number = std::get_if<double>(&value))
                return QString::fromStdString(FloatToStr(*number));
            return {};
        case TTypeKind::tkLString:
            if (const auto* text = std::get_if<std::string>(&value))
                return QString::fromStdString(*text);
            return {};
        case TTypeKind::tkUString:
        case TTypeKind::tkOther: return {};
    }
    return {};
}

void CentreOnScreen(QWidget& window)
{
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        window.move(screen->availableGeometry().center() - window.rect().center());
}

}  // namespace

TFrmPropertiesDlg::TFrmPropertiesDlg(TPropertiesDialog& dialog) : dialog_(dialog)
{
    setObjectName(QStringLiteral("FrmPropertiesDlg"));
    resize(762, 681);

    panelPropertiesDlg_ = new QWidget(this);
    panelPropertiesDlg_->setObjectName(QStringLiteral("PanelPropertiesDlg"));
    auto* toolBar1 = new QWidget(panelPropertiesDlg_);
    toolBar1->setObjectName(QStringLiteral("ToolBar1"));
    toolBar1->setFixedHeight(29);
    auto* tools = new QHBoxLayout(toolBar1);
    tools->setContentsMargins(2, 2, 2, 2);
    tools->setSpacing(1);
    ConnectCommand(AddToolButton(toolBar1, "BtnNew", tr("New"), QStyle::SP_FileIcon),
                   &QToolButton::clicked, this, &TFrmPropertiesDlg::BtnNewClick);
    ConnectCommand(AddToolButton(toolBar1, "ToolButton1", tr("Open"), QStyle::SP_DialogOpenButton),
                   &QToolButton::clicked, this, &TFrmPropertiesDlg::ToolButton1Click);
    ConnectCommand(AddToolButton(toolBar1, "BtnDelete", tr("Delete"), QStyle::SP_TrashIcon),
                   &QToolButton::clicked, this, &TFrmPropertiesDlg::BtnDeleteClick);
    QToolButton* btnGet = AddToolButton(toolBar1, "BtnGet", tr("Get"), QStyle::SP_ArrowDown);
    ConnectCommand(btnGet, &QToolButton::clicked, this, &TFrmPropertiesDlg::BtnGetClick);
    btnGet->hide();
    QToolButton* btnRestore =
        AddToolButton(toolBar1, "BtnRestore", tr("Restore"), QStyle::SP_BrowserReload);
    ConnectCommand(btnRestore, &QToolButton::clicked, this, &TFrmPropertiesDlg::BtnRestoreClick);
    btnRestore->hide();
    tools->addStretch();

    BuildGrid();
    auto* panelLayout = new QVBoxLayout(panelPropertiesDlg_);
    panelLayout->setContentsMargins(0, 0, 0, 0);
    panelLayout->setSpacing(0);
    panelLayout->addWidget(toolBar1);
    panelLayout->addWidget(strGrdProp_);

    auto* panel2 = new QWidget(this);
    panel2->setObjectName(QStringLiteral("Panel2"));
    panel2->setFixedHeight(39);
    auto* button1 = new QPushButton(tr("OK"), panel2);
    button1->setObjectName(QStringLiteral("Button1"));
    button1->setDefault(true);
    ConnectCommand(button1, &QPushButton::clicked, this, &QDialog::accept);
    auto* buttons = new QHBoxLayout(panel2);
    buttons->addStretch();
    buttons->addWidget(button1);
    buttons->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(panelPropertiesDlg_);
    layout->addWidget(panel2);
}

QToolButton* TFrmPropertiesDlg::AddToolButton(QWidget* toolBar, const char* name,
                                              const QString& hint, int picture)
{
    auto* button = new QToolButton(toolBar);
    button->setObjectName(QLatin1String(name));
    button->setToolTip(hint);
    button->setIcon(style()->standardIcon(static_cast<QStyle::StandardPixmap>(picture)));
    button->setAutoRaise(true);
    toolBar->layout()->addWidget(button);
    return button;
}

void TFrmPropertiesDlg::BuildGrid()
{
    strGrdProp_ = new TQvStringGrid(panelPropertiesDlg_);
    strGrdProp_->setObjectName(QStringLiteral("StrGrdProp"));
    strGrdProp_->SetColor(Qt::white);
    strGrdProp_->SetDefaultColWidth(70);
    strGrdProp_->SetDefaultRowHeight(18);
    strGrdProp_->SetFixedColor(QColor(0xDD, 0xDD, 0xDD));
    strGrdProp_->SetOptions(goFixedVertLine | goFixedHorzLine | goVertLine | goHorzLine |
                            goColSizing | goRowMoving | goRowSelect);
    strGrdProp_->SetSelectedCellColor(kSelectedRowColor);
    strGrdProp_->SetSelectedFontColor(Qt::white);
    strGrdProp_->SetFitColToWidth(-1);
    strGrdProp_->SetFixedCols(1);
    strGrdProp_->SetFixedRows(1);
    strGrdProp_->OnDrawCell = [this](QPainter& canvas, int col, int row, const QRect& rect,
                                     TGridDrawState) {
        StrGrdPropDrawCell(canvas, col, row, rect);
    };
    ConnectCommand(strGrdProp_, &TQvStringGrid::MouseDown, this,
                   &TFrmPropertiesDlg::StrGrdPropMouseDown);
    connect(strGrdProp_, &TQvStringGrid::MouseUp, this, &TFrmPropertiesDlg::ApplyRowOrder);
    connect(strGrdProp_, &TQvStringGrid::RowMoved, this, &TFrmPropertiesDlg::ApplyRowOrder);
    ConnectCommand(strGrdProp_, &TQvStringGrid::DblClick, this, &TFrmPropertiesDlg::StrGrdPropDblClick);
}

bool TFrmPropertiesDlg::Execute(const TClassInfo* classInfo, TList& list)
{
    Show(classInfo, list);
    setWindowTitle(dialog_.Caption());
    CentreOnScreen(*this);
    return ShowModal(*this) == QDialog::Accepted;
}

void TFrmPropertiesDlg::ExecuteDontShow(const TClassInfo* classInfo, TList& list)
{
    Show(classInfo, list);
}

void TFrmPropertiesDlg::Show(const TClassInfo* classInfo, TList& list)
{
    classInfo_ = classInfo;
    list_ = &list;
    Refill();
}

void TFrmPropertiesDlg::ClearGridRows()
{
    for (int row = 0; row < strGrdProp_->RowCount(); ++row)
        for (int col = 0; col < strGrdProp_->ColCount(); ++col) {
            strGrdProp_->SetCell(col, row, QString());
            strGrdProp_->SetObject(col, row, nullptr);
        }
}

void TFrmPropertiesDlg::FillGrid()
{
    const std::vector<const TPropInfo*> properties =
        classInfo_ ? classInfo_->AllProperties() : std::vector<const TPropInfo*>{};
    const int count = list_ ? list_->Count() : 0;
    strGrdProp_->SetRowCount(std::max(count + 1, 2));
    strGrdProp_->SetColCount(static_cast<int>(properties.size()) + 1);
    for (std::size_t i = 0; i < properties.size(); ++i)
        strGrdProp_->SetCell(static_cast<int>(i) + 1, 0,
                             QString::fromStdString(properties[i]->Name));
    for (int j = 0; j < count; ++j) {
        TObject* item = (*list_)[j];
        strGrdProp_->SetCell(0, j + 1, QString::number(j + 1));
        strGrdProp_->SetObject(0, j + 1, item);
        for (std::size_t i = 0; i < properties.size(); ++i) {
            const QString text =
                GetPropertyText(*item, QString::fromStdString(properties[i]->Name));
            strGrdProp_->SetCell(static_cast<int>(i) + 1, j + 1,
                                 text == NoValueText() ? QString() : text);
        }
    }
    // The titles and what the first rows hold decide the widths; measuring a
    // long list whole would make it slow to open.
    WidenColumnsToCells(*strGrdProp_, kMeasuredRows);
}

void TFrmPropertiesDlg::Refill()
{
    ClearGridRows();
    FillGrid();
}

QString TFrmPropertiesDlg::GetPropertyText(const TObject& object, const QString& name)
{
    const TClassInfo* info = object.ClassInfo();
    const TPropInfo* property = info ? info->FindProperty(name.toStdString()) : nullptr;
    if (!property || !property->Get)
        return {};
    return ValueText(*property, property->Get(object));
}

bool TFrmPropertiesDlg::IsReadOnlyProperty(const TQvStringGrid& grid, int col, int row)
{
    if (col < 0 || row < 0)
        return false;
    const TObject* object = grid.Object(0, row);
    const TClassInfo* info = object ? object->ClassInfo() : nullptr;
    const TPropInfo* property =
        info ? info->FindProperty(grid.Cell(col, 0).toStdString()) : nullptr;
    return property && !property->Writable;
}

void TFrmPropertiesDlg::StrGrdPropDrawCell(QPainter& canvas, int col, int row, const QRect& rect)
{
    if (col < 1 || row < 1)
        return;
    const QBrush brush = canvas.brush();
    const QPen pen = canvas.pen();
    if (row == strGrdProp_->Selection().Top) {
        canvas.setBrush(kSelectedRowColor);
        canvas.setPen(Qt::white);
    } else {
        canvas.setBrush(IsReadOnlyProperty(*strGrdProp_, col, row) ? kReadOnlyColor
                                                                   : kWritableColor);
    }
    canvas.fillRect(rect, canvas.brush());
    canvas.drawText(rect.adjusted(2, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
                    strGrdProp_->Cell(col, row));
    canvas.setBrush(brush);
    canvas.setPen(pen);
}

// One direction flag for the whole window: each title click flips it,
// whichever column it sorts.
void TFrmPropertiesDlg::StrGrdPropMouseDown(int col, int row)
{
    mouseRow_ = row;
    if (row == 0 && col >= 1) {
        SortGridByColumn(*strGrdProp_, col, sortAscending_);
        sortAscending_ = !sortAscending_;
    }
}

void TFrmPropertiesDlg::ApplyRowOrder()
{
    if (!dialog_.ReorderAllowed() || !list_)
        return;
    for (int row = 1; row < strGrdProp_->RowCount(); ++row) {
        strGrdProp_->SetCell(0, row, QString::number(row));
        TObject* object = strGrdProp_->Object(0, row);
        const int index = object ? list_->IndexOf(object) : -1;
        if (index >= 0)
            list_->Move(index, row - 1);
    }
}

void TFrmPropertiesDlg::StrGrdPropDblClick()
{
    if (mouseRow_ > 0)
        EditSelected();
}

TObject* TFrmPropertiesDlg::SelectedObject() const
{
    const int row = strGrdProp_->Selection().Top;
    return row >= 1 ? strGrdProp_->Object(0, row) : nullptr;
}

void TFrmPropertiesDlg::RunSlot(bool assigned, const std::function<void()>& call)
{
    bool supported = assigned;
    if (supported) {
        try {
            call();
        } catch (...) {
            supported = false;
        }
    }
    if (!supported)
        Dialogs().MessageDlg("Operation not supported", TMsgDlgType::mtWarning, mbOK);
    Refill();
}

void TFrmPropertiesDlg::BtnNewClick()
{
    RunSlot(static_cast<bool>(dialog_.NewProc), [this] {
        TObject* created = nullptr;
        dialog_.NewProc(created);
    });
}

void TFrmPropertiesDlg::BtnGetClick()
{
    RunSlot(static_cast<bool>(dialog_.GetProc), [this] {
        TObject* got = nullptr;
        dialog_.GetProc(got);
    });
}

void TFrmPropertiesDlg::ToolButton1Click()
{
    EditSelected();
}

void TFrmPropertiesDlg::EditSelected()
{
    TObject* object = SelectedObject();
    if (object)
        RunSlot(static_cast<bool>(dialog_.EditProc), [this, object] { dialog_.EditProc(object); });
}

void TFrmPropertiesDlg::BtnRestoreClick()
{
    TObject* object = SelectedObject();
    if (object)
        RunSlot(static_cast<bool>(dialog_.RestoreProc),
                [this, object] { dialog_.RestoreProc(object); });
}

// The object leaves the list before it is freed, so the table never shows a
// freed object even when its destructor does not unregister it.
void TFrmPropertiesDlg::BtnDeleteClick()
{
    TObject* object = SelectedObject();
    if (!object)
        return;
    if (list_)
        list_->Remove(object);
    delete object;
    Refill();
}

TPropertiesDialog::TPropertiesDialog(QObject* owner)
    : QObject(owner),
      caption_(tr("Object Properties")),
      form_(std::make_unique<TFrmPropertiesDlg>(*this))
{
}

TPropertiesDialog::~TPropertiesDialog() = default;

void TPropertiesDialog::ApplyReorderOption()
{
    TQvStringGrid* grid = form_->StrGrdProp();
    TGridOptions options = grid->Options();
    options.setFlag(goRowMoving, reorderAllowed_);
    grid->SetOptions(options);
}

bool TPropertiesDialog::execute(const TClassInfo* classInfo, TList& list)
{
    ApplyReorderOption();
    return form_->Execute(classInfo, list);
}

bool TPropertiesDialog::executeDontShow(const TClassInfo* classInfo, TList& list)
{
    ApplyReorderOption();
    form_->ExecuteDontShow(classInfo, list);
    return true;
}
