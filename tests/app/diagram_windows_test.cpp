#include <QLabel>
#include <QScreen>
#include <QtTest>

#include "app/diagram_pictures.h"
#include "app/ozr_diag_abs1.h"
#include "app/ozr_diag_abs2.h"
#include "app/ozr_diag_abs3.h"
#include "app/ozr_diag_abs4.h"
#include "app/ozr_diag_abs5.h"
#include "app/ozr_diag_wb_return_flow.h"
#include "tests/qt_support/qt_tests.h"

namespace {

// Shown over a caller in a corner of the screen, as the table forms call them.
std::vector<std::unique_ptr<TDiagramForm>> DiagramWindows(QWidget* caller)
{
    std::vector<std::unique_ptr<TDiagramForm>> windows;
    windows.push_back(std::make_unique<TFormAbs1>(caller));
    windows.push_back(std::make_unique<TFormAbs2>(caller));
    windows.push_back(std::make_unique<TFormAbs3>(caller));
    windows.push_back(std::make_unique<TFormAbs4>(caller));
    windows.push_back(std::make_unique<TFormAbs5>(caller));
    windows.push_back(std::make_unique<TFormReturnFlowDiagram>(caller));
    return windows;
}

bool HasInk(const QImage& image)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != qRgb(255, 255, 255))
                return true;
    return false;
}

}  // namespace

class DiagramWindowsTest : public QObject {
    Q_OBJECT

private slots:
    void eachWindowShowsItsPictureAtItsSizeInTheMiddleOfTheScreen()
    {
        const QSize clientSizes[] = {{860, 265}, {798, 437}, {694, 442},
                                     {584, 666}, {615, 668}, {875, 556}};
        QWidget caller;
        caller.setGeometry(0, 0, 200, 150);
        caller.show();
        auto windows = DiagramWindows(&caller);
        for (std::size_t i = 0; i < windows.size(); ++i) {
            TDiagramForm& window = *windows[i];
            window.show();
            QVERIFY(QTest::qWaitForWindowExposed(&window));
            QCOMPARE(window.size(), clientSizes[i]);
            QVERIFY(window.windowFlags().testFlag(Qt::Tool));
            const QSize picture = window.Image1()->pixmap().deviceIndependentSize().toSize();
            QVERIFY2(qAbs(picture.width() - window.width()) <= 2 &&
                         qAbs(picture.height() - window.height()) <= 2,
                     qPrintable(window.objectName()));
            QCOMPARE(window.Image1()->geometry(), window.rect());
            QVERIFY(HasInk(window.Image1()->pixmap().toImage()));
            const QPoint offCentre =
                window.frameGeometry().center() - window.screen()->availableGeometry().center();
            QVERIFY(offCentre.manhattanLength() <= 2);
        }
    }

    void noBoxOfAPictureOverlapsAnotherOrLeavesThePicture()
    {
        for (const TBoxDiagram& picture :
             {TotalAbstractionPicture(), PublicSupplyPicture(), SelfSupplyPicture(),
              SurfaceWaterSectorsPicture(), GroundwaterSectorsPicture(), ReturnFlowPicture()}) {
            const QRect canvas(QPoint(0, 0), picture.Size());
            const std::vector<TDiagramBox>& boxes = picture.Boxes();
            for (std::size_t i = 0; i < boxes.size(); ++i) {
                QVERIFY2(canvas.contains(boxes[i].Rect), qPrintable(boxes[i].Lines.front()));
                for (std::size_t j = i + 1; j < boxes.size(); ++j)
                    QVERIFY2(!boxes[i].Rect.intersects(boxes[j].Rect),
                             qPrintable(boxes[i].Lines.front() + QStringLiteral(" / ") +
                                        boxes[j].Lines.front()));
            }
        }
    }
};

WQ_REGISTER_TEST(DiagramWindowsTest);
#include "diagram_windows_test.moc"
