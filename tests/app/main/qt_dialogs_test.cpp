#include "app/main/qt_dialogs.h"

#include <QDialog>
#include <QLineEdit>
#include <QtTest>

#include "tests/qt_support/qt_tests.h"

class QtDialogsTest : public QObject {
    Q_OBJECT

private slots:
    // Longer passwords than the archiver takes are cut while typing, not after.
    void passwordBoxTakesAtMost255Characters()
    {
        TQtDialogs dialogs;
        OnModal([](QWidget* window) {
            QVERIFY(window);
            auto* edit = window->findChild<QLineEdit*>();
            QVERIFY(edit);
            QTest::keyClicks(edit, QString(300, QLatin1Char('x')));
            qobject_cast<QDialog*>(window)->accept();
        });
        const std::optional<std::string> typed =
            dialogs.InputText("Password", "Password:", "", true);
        QVERIFY(typed.has_value());
        QCOMPARE(typed->size(), std::size_t{255});
    }
};

WQ_REGISTER_TEST(QtDialogsTest);
#include "qt_dialogs_test.moc"
