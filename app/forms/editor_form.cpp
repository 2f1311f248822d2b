#include "app/forms/editor_form.h"

#include <QAbstractButton>
#include <QTabWidget>

#include "app/form_support.h"
#include "app/help_viewer/help_service.h"
#include "components/command_guard.h"
#include "components/modal_run.h"

TEditorForm::TEditorForm(QWidget* parent, int helpContext)
    : QDialog(parent), helpContext_(helpContext)
{
}

void TEditorForm::SetUpEditor(QAbstractButton& ok, QAbstractButton& cancel, QAbstractButton& help,
                              QTabWidget* pages)
{
    pages_ = pages;
    ConnectCommand(&ok, &QAbstractButton::clicked, this, &TEditorForm::btnInputClick);
    ConnectCommand(&cancel, &QAbstractButton::clicked, this, &TEditorForm::btnCancelClick);
    ConnectCommand(&help, &QAbstractButton::clicked, this, &TEditorForm::BitBtn1Click);
    SetUpKeyboard(*this, &help);
}

void TEditorForm::EnsureBuilt()
{
    if (built_)
        return;
    built_ = true;
    BuildForm();
}

void TEditorForm::showEvent(QShowEvent* event)
{
    EnsureBuilt();
    QDialog::showEvent(event);
}

bool TEditorForm::EditObject()
{
    EnsureBuilt();
    ResetForm();
    LoadObject();
    if (pages_ != nullptr)
        pages_->setCurrentIndex(0);
    FocusFirstBox(*this);
    if (ShowModal(*this) != QDialog::Accepted)
        return false;
    StoreObject();
    CurrentSession().SetModified(true);
    return true;
}

void TEditorForm::btnInputClick()
{
    if (Validate())
        accept();
}

void TEditorForm::btnCancelClick()
{
    reject();
}

void TEditorForm::BitBtn1Click()
{
    ShowHelp(helpContext_);
}

bool TRegionEditor::Edit(TRegion* region)
{
    FRegion = region;
    // The tables need the whole screen. Maximised here rather than when the
    // form is made, which would make its native window at start-up.
    setWindowState(windowState() | Qt::WindowMaximized);
    return EditObject();
}

void TRegionEditor::CheckEntriesKept(TNationalTable table, TCheckMessages& messages) const
{
    if (messages.HasErrors())
        return;
    TRegionTables tables = FRegion->Tables();
    StoreTables(tables);
    ::CheckEntriesKept(table, tables, messages);
}
