#pragma once

// The main window and the regions overview as the program creates them, or
// every form of the program, over a regions file of three countries beside the
// program, with every dialog and modal window scripted.

#include <memory>
#include <string>

#include <QString>

#include "app/main/forms.h"
#include "app/main/ozr_main.h"
#include "app/main/ozr_regions.h"
#include "platform/scripted_dialogs.h"
#include "tests/qt_support/scripted_modal.h"

class QAction;
class QWidget;
class TQvStringGrid;

// The regions file of the program's data folder while the object lives.
class TRegionsFileBesideProgram {
public:
    explicit TRegionsFileBesideProgram(const std::string& contents = ThreeCountries());
    ~TRegionsFileBesideProgram();
    TRegionsFileBesideProgram(const TRegionsFileBesideProgram&) = delete;
    TRegionsFileBesideProgram& operator=(const TRegionsFileBesideProgram&) = delete;

    // Countries GR (with district GR01 and its sub-unit GR01a), CY and MT.
    static std::string ThreeCountries();

private:
    std::string folder_;
    bool createdFolder_ = false;
};

// Picks the country of this index from the main window's list as the user does.
void PickCountry(TFormMain& main, int index);
// Presses on a data cell and double-clicks it, as the user opens what it shows.
void DoubleClickCell(TQvStringGrid& grid, int col, int row);

class TMainWindowSetup {
public:
    TMainWindowSetup();
    ~TMainWindowSetup();
    TMainWindowSetup(const TMainWindowSetup&) = delete;
    TMainWindowSetup& operator=(const TMainWindowSetup&) = delete;

    TFormMain& Main() { return *main_; }
    template <typename TWidget>
    TWidget* Find(const char* name)
    {
        return main_->findChild<TWidget*>(QString::fromLatin1(name));
    }
    void PickCountry(int index) { ::PickCountry(*main_, index); }
    // Types into a header field as the user does.
    void Type(const char* field, const QString& text);
    // A country chosen and the header filled in: ready to save.
    void FillHeader();

    TScriptedDialogs Dialogs;
    TScriptedModal Modal;

private:
    TRegionsFileBesideProgram regionsFile_;
    ScopedDialogs installed_{Dialogs};
    std::unique_ptr<TFormMain> main_;
};

// Every form of the program, created as at start-up, and the overview filled.
class TProgramSetup {
public:
    TProgramSetup();

    TFormMain& Main() { return *FormMain; }

    TScriptedDialogs Dialogs;
    TScriptedModal Modal;

private:
    TRegionsFileBesideProgram regionsFile_;
    ScopedDialogs installed_{Dialogs};
    TForms forms_;
};
