#include "components/modal_run.h"

#include <QDialog>

namespace {

class TExecRunner final : public TModalRunner {
public:
    int Run(QDialog& window) override { return window.exec(); }
};

}  // namespace

TModalRunner*& InstalledModalRunner()
{
    static TExecRunner exec;
    static TModalRunner* installed = &exec;
    return installed;
}

int ShowModal(QDialog& window)
{
    return InstalledModalRunner()->Run(window);
}
