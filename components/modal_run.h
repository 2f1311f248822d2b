#pragma once

// Every modal window of the program is shown through ShowModal, so that tests
// can run a script against the window in place of a real modal loop. The
// program installs nothing and gets the window's own modal loop.

#include "platform/scoped_service.h"

class QDialog;

class TModalRunner {
public:
    virtual ~TModalRunner() = default;
    // Shows the window modally and returns its result (QDialog::Accepted,
    // QDialog::Rejected or the code given to done()).
    virtual int Run(QDialog& window) = 0;
};

TModalRunner*& InstalledModalRunner();
using ScopedModalRunner = TScopedService<TModalRunner, InstalledModalRunner>;

int ShowModal(QDialog& window);
