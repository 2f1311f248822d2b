#pragma once

// What the tests of the station forms share: a session with a country and
// regions of several types, scripted modal runs and dialogs, and access to a
// form's controls by object name.

#include <QDialog>
#include <QLineEdit>
#include <QStringList>
#include <QtTest>

#include "model/ozr_types.h"
#include "platform/scripted_dialogs.h"
#include "tests/app/app_tests.h"
#include "tests/qt_support/scripted_modal.h"

class TQvStringGrid;

// The regions the tests use, created in the current session: a country with
// a NUTS region, a river basin district and a river basin in it.
struct TRegionTree {
    TRegion* Country;
    TRegion* Nuts1;
    TRegion* Rbd;
    TRegion* Rb;
};
TRegionTree BuildRegionTree();

class TStationBed {
public:
    TStationBed();
    ~TStationBed();
    TStationBed(const TStationBed&) = delete;
    TStationBed& operator=(const TStationBed&) = delete;

    // The findings that message lists showed since the last call, each as
    // "E:text" or "W:text".
    QStringList TakeFindings();

    std::unique_ptr<TSession> OwnSession = std::make_unique<TSession>();
    TSession& Session_ = *OwnSession;
    TRegionTree Regions;
    TRegion* Country;
    TRegion* Nuts1;
    TRegion* Rbd;
    TRegion* Rb;
    TScriptedModal Modal;
    TScriptedDialogs Dialogs_;
    ScopedDialogs InstalledDialogs{Dialogs_};
};

// The bed with one form of a kind, which the free edit procedure of the kind
// finds through the form's global.
template <typename TForm>
class TFormBed : public TStationBed {
public:
    explicit TFormBed(TForm*& global) : global_(global)
    {
        global_ = &Form;
        Form.EnsureBuilt();
    }
    ~TFormBed() { global_ = nullptr; }

    TForm Form;

private:
    TForm*& global_;
};

QString Text(const QWidget& form, const char* name);
// Types the text into the box, replacing what it held.
void Type(const QWidget& form, const char* name, const QString& text);
void Check(const QWidget& form, const char* name, bool checked = true);
void SetCell(const QWidget& form, const char* grid, int col, int row, const QString& text);
QString Cell(const QWidget& form, const char* grid, int col, int row);
// Chooses the year item, or types a text into the year box.
void SetYear(const QWidget& form, const QString& text);

// Clicks OK; true when the form closed.
bool ClickOK(QDialog& form);
void ClickCancel(QDialog& form);
