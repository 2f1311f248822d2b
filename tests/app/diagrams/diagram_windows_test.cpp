#include <QLabel>
#include <QtTest>

#include "app/diagrams/ozr_diag_abs1.h"
#include "app/diagrams/ozr_diag_abs2.h"
#include "app/diagrams/ozr_diag_abs3.h"
#include "app/diagrams/ozr_diag_abs4.h"
#include "app/diagrams/ozr_diag_abs5.h"
#include "app/diagrams/ozr_diag_wb_return_flow.h"
#include "tests/qt_support/qt_tests.h"

class DiagramWindowsTest : public QObject {
    Q_OBJECT

private slots:
    // Each window shows its whole picture, within 2 px of its client size.
    void eachWindowShowsItsPictureAtItsSize()
    {
        const std::unique_ptr<TDiagramForm> windows[] = {
            std::make_unique<TFormAbs1>(), std::make_unique<TFormAbs2>(),
            std::make_unique<TFormAbs3>(), std::make_unique<TFormAbs4>(),
            std::make_unique<TFormAbs5>(), std::make_unique<TFormReturnFlowDiagram>()};
        for (const auto& window : windows) {
            window->show();
            const QPixmap& picture = window->Image1()->pixmap();
            const QSize gap = picture.deviceIndependentSize().toSize() - window->size();
            QVERIFY2(qAbs(gap.width()) <= 2 && qAbs(gap.height()) <= 2,
                     qPrintable(window->objectName()));
        }
    }
};

WQ_REGISTER_TEST(DiagramWindowsTest);
#include "diagram_windows_test.moc"
