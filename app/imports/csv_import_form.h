#pragma once

// The window both CSV imports share: the file with its Open button, the
// delimiter and the start row, the country being imported into, "Check",
// "Import", help and the memo of result lines. An import adds its own
// settings below the country and builds the import object from the boxes.

#include <memory>
#include <string>

#include <QDialog>

#include "io/ozr_io_csv.h"

namespace Ui {
class CsvImportForm;
}

class TCsvImportForm : public QDialog {
    Q_OBJECT
public:
    ~TCsvImportForm() override;

    // Shows the session's country; runs each time the window is shown.
    void FormShow();

public slots:
    // Open
    void Button1Click();
    // Check
    void Button2Click();
    // Import
    void Button3Click();
    void BitBtn1Click();

protected:
    // `failureText` is the error box shown when "Import" found errors.
    TCsvImportForm(QWidget* parent, int helpContext, std::string failureText);

    // Places the import's own settings below the country, next in the tab order.
    void AddOwnSettings(QWidget& settings);
    // The shared settings as the user typed them.
    TCsvSettingsText CsvSettings() const;
    virtual std::unique_ptr<TCsvImport> NewImport() const = 0;

    void showEvent(QShowEvent* event) override;

private:
    void ShowLines(const TCsvRunResult& result);

    std::unique_ptr<Ui::CsvImportForm> ui;
    int helpContext_;
    std::string failureText_;
};
