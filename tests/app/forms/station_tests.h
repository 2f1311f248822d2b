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

struct TRegionTree {
    TRegion* Country = nullptr;
    TRegion* Nuts1 = nullptr;
    TRegion* Rbd = nullptr;
    TRegion* Rb = nullptr;
};
// Creates in the current session the country GR with the NUTS region GR1 and
// the river basin district GR01, which holds the river basin GR01A.
TRegionTree BuildRegionTree();

// The region tree in a session of its own, current while the bed lives.
class TStationBed : public TRegionTree {
public:
    TStationBed();
    ~TStationBed();

    std::unique_ptr<TSession> OwnSession = std::make_unique<TSession>();
    TSession& Session_ = *OwnSession;
    TScriptedModal Modal;
    TScriptedDialogs Dialogs_;
    ScopedDialogs InstalledDialogs{Dialogs_};
};

QString Text(const QWidget& form, const char* name);
// Types the text into the box, replacing what it held.
void Type(const QWidget& form, const char* name, const QString& text);
void Check(const QWidget& form, const char* name, bool checked = true);
void SetCell(const QWidget& form, const char* grid, int col, int row, const QString& text);

// Clicks OK; true when the form closed.
bool ClickOK(QDialog& form);
void ClickCancel(QDialog& form);
