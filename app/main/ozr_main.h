#pragma once

// The program's main window: the country and the header of the submission,
// the file and help commands, and the overview of the data reported so far
// (the panel of FormRegions, placed in pnlData). Creating it creates the
// session of the run and reads the region tree.

#include <memory>
#include <string>

#include <QMainWindow>

#include "model/ozr_types.h"
#include "model/session_observer.h"
#include "platform/dialogs.h"

namespace Ui {
class TFormMain;
}
class QDialog;
class QFrame;
class TPropertiesDialog;
class TQvAboutInfo;
class TSession;

class TFormMain : public QMainWindow, public TSessionObserver {
    Q_OBJECT

public:
    explicit TFormMain(QWidget* parent = nullptr);
    ~TFormMain() override;

    // What the session tells the window.
    void SetCaption(const std::string& caption) override;
    void updateCmBoxCountries() override;
    void ShowSessionInfo() override;

    // The header fields into the session, as typed.
    void StoreSessionInfo();
    // Lists what the header lacks; true when nothing is an error.
    bool ValidateSessionInfo();

    // File > Open: reads a data file while no country is chosen.
    void OpenData();
    // Save As: the data file and its zip copy; true only when both were written.
    bool SaveData();
    // Adds the sub-units of "su.txt" in the current folder to the region tree.
    void AddSubUnitsFromFile();

    // File > Import: stations, and the daily values of stream-flow stations,
    // from CSV files into the regions of the country.
    void Stations1Click();
    void Streamflowdailydata1Click();
    // Tools > Wizard and its tool button.
    void RunWizard();
    // Tools > Lists: every station of the kind; needs no country.
    void ListStations(TStationKind kind);

    // Answers whether the window may close, asking to save unsaved changes.
    void FormCloseQuery(bool& CanClose);

    QFrame* pnlData() const;
    // Widens the window, when it is narrower, so that pnlData shows a content
    // of this width whole.
    void FitDataWidth(int width);
    // Made on first use: building its window would take a good part of the
    // program's start.
    TPropertiesDialog& PropDlg();
    TQvAboutInfo* QvAboutInfo1() const { return qvAboutInfo1_; }
    const TFileDialogRequest& OpenDialog1() const { return openDialog1_; }
    const TFileDialogRequest& SaveDialog1() const { return saveDialog1_; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void FormCreate();
    void SetUpAbout();
    void SetUpToolBar();
    void ConnectCommands();
    void ResizeClientArea(QSize client);
    void cmboxCountrySelect(int index);
    void MarkModified();
    void SaveAsClick();
    void About1Click();
    // Shows "A country has to be selected first" when there is none.
    bool CountryChosen();
    // Shows a form that works in the country, then the overview after it.
    void ShowCountryForm(QDialog& form);

    std::unique_ptr<Ui::TFormMain> ui_;
    std::unique_ptr<TSession> session_;
    TPropertiesDialog* propDlg_ = nullptr;
    TQvAboutInfo* qvAboutInfo1_;
    TFileDialogRequest openDialog1_;
    TFileDialogRequest saveDialog1_;
};

extern TFormMain* FormMain;

// Lists every station of the kind, of every region, in `dialog`; Open and a
// double-click open the station's form, Delete frees the station. The main
// window's Lists commands and the overview's station columns show the same.
void ShowStationList(TPropertiesDialog& dialog, TStationKind kind);
