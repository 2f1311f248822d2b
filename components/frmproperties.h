#pragma once

// Shows a list of objects as a table: one row per object, one column per
// published property of a class (platform/rtti.h). Rows sort by a click on a
// column title and, when allowed, can be dragged into a new order that the
// list follows. The owner plugs in what New, Open, Restore and Get do.

#include <functional>
#include <memory>

#include <QDialog>
#include <QObject>
#include <QString>

#include "components/StrGrdQv.h"
#include "platform/rtti.h"

class QToolButton;
class TPropertiesDialog;

// May set the reference to an object it made; the dialog does nothing more with it.
using TPropNewProc = std::function<void(TObject*& object)>;
// The result is not looked at.
using TPropEditProc = std::function<bool(TObject* object)>;

class TFrmPropertiesDlg : public QDialog {
    Q_OBJECT
public:
    explicit TFrmPropertiesDlg(TPropertiesDialog& dialog);

    // True when closed with OK.
    bool Execute(const TClassInfo* classInfo, TList& list);
    void ExecuteDontShow(const TClassInfo* classInfo, TList& list);

    // The property's value as the table shows it; empty for kinds it does not show.
    static QString GetPropertyText(const TObject& object, const QString& name);
    static bool IsReadOnlyProperty(const TQvStringGrid& grid, int col, int row);

    TPropertiesDialog& Dialog() const { return dialog_; }
    TQvStringGrid* StrGrdProp() const { return strGrdProp_; }
    QWidget* PanelPropertiesDlg() const { return panelPropertiesDlg_; }

public slots:
    void BtnNewClick();
    void ToolButton1Click();
    void BtnDeleteClick();
    void BtnGetClick();
    void BtnRestoreClick();
    void EditSelected();

private:
    QToolButton* AddToolButton(QWidget* toolBar, const char* name, const QString& hint,
                               int picture);
    void BuildGrid();
    void Show(const TClassInfo* classInfo, TList& list);
    void FillGrid();
    void ClearGridRows();
    void Refill();
    void ApplyRowOrder();
    TObject* SelectedObject() const;
    // Runs a slot of the dialog; a missing slot or any failure is reported as
    // an unsupported operation. The table is refilled either way.
    void RunSlot(bool assigned, const std::function<void()>& call);
    void StrGrdPropDrawCell(QPainter& canvas, int col, int row, const QRect& rect);
    void StrGrdPropMouseDown(int col, int row);
    void StrGrdPropDblClick();

    TPropertiesDialog& dialog_;
    QWidget* panelPropertiesDlg_ = nullptr;
    TQvStringGrid* strGrdProp_ = nullptr;
    bool sortAscending_ = true;
    const TClassInfo* classInfo_ = nullptr;
    TList* list_ = nullptr;
    int mouseRow_ = -1;
};

class TPropertiesDialog : public QObject {
    Q_OBJECT
public:
    explicit TPropertiesDialog(QObject* owner = nullptr);
    ~TPropertiesDialog() override;

    QString Caption() const { return caption_; }
    void SetCaption(const QString& caption) { caption_ = caption; }
    bool ReorderAllowed() const { return reorderAllowed_; }
    void SetReorderAllowed(bool allowed) { reorderAllowed_ = allowed; }
    QWidget* Panel() const { return form_->PanelPropertiesDlg(); }
    TFrmPropertiesDlg* Form() const { return form_.get(); }

    // True when the window was closed with OK.
    bool execute(const TClassInfo* classInfo, TList& list);
    // Fills the table without showing the window; the result means nothing.
    bool executeDontShow(const TClassInfo* classInfo, TList& list);

    TPropNewProc NewProc;
    TPropEditProc EditProc;
    TPropEditProc RestoreProc;
    TPropNewProc GetProc;

private:
    void ApplyReorderOption();

    QString caption_;
    bool reorderAllowed_ = false;
    std::unique_ptr<TFrmPropertiesDlg> form_;
};
