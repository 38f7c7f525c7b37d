// The premium as a person meets it in the window: the eligibility warnings
// are critical message boxes with OK and Cancel, and the coverage levels not
// offered are hidden widgets.

#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <fstream>

#include "tests/core/rate_records.h"
#include "tests/window/window_test_support.h"
#include "ui/accessibility.h"
#include "ui/main_window.h"

using namespace kbt2;

class PremiumWindowTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Corn and a cow-calf herd, four fifths livestock: both warnings, and with
    // two commodities only the 0.65 level.
    void warningsAndHiddenLevels() {
        QTemporaryDir dir;
        {
            using testing_support::rateRecord;
            std::ofstream rates(dir.filePath(QStringLiteral("Ratefile.prn")).toStdString(), std::ios::binary);
            rates << rateRecord({.code = "  41", .livestock = 'N', .insurable = 'Y'}) << "\r\n"
                  << rateRecord({.code = " 800", .livestock = 'Y', .insurable = 'N'}) << "\r\n";
        }
        ui::MainWindow window(std::make_unique<test::TestFolderPlatform>(dir.path().toStdString()));
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(test::fillCornAndCowsCase(window).empty());

        test::MessageCatcher catcher(QMessageBox::Cancel);
        window.showPageOf({Control::Command4});
        qobject_cast<QPushButton*>(window.fieldWidget({Control::Command4}))->click();

        QCOMPARE(catcher.seen().size(), size_t(2));
        for (const test::SeenMessage& seen : catcher.seen()) {
            QCOMPARE(seen.title, QStringLiteral("*** ERROR ***"));
            QCOMPARE(seen.icon, QMessageBox::Critical);
            QCOMPARE(seen.buttons, QMessageBox::StandardButtons(QMessageBox::Ok | QMessageBox::Cancel));
        }
        QVERIFY(catcher.seen()[0].text.find("35% of your expected KBT comes from livestock") != std::string::npos);

        const Control table[] = {Control::Text23, Control::Text24, Control::Text25, Control::Text26, Control::Text27,
                                 Control::Text28, Control::Text16, Control::Text17, Control::Text18};
        for (Control row : table) {
            for (int level : {0, 1}) {
                auto* hidden = qobject_cast<QLineEdit*>(window.fieldWidget({row, level}));
                QVERIFY(hidden->isHidden());
                QVERIFY(hidden->text().isEmpty());
            }
            auto* shown = qobject_cast<QLineEdit*>(window.fieldWidget({row, 2}));
            QVERIFY(!shown->isHidden());
            QVERIFY(shown->isVisible());
            QVERIFY(!shown->text().isEmpty());
        }
        QCOMPARE(qobject_cast<QLineEdit*>(window.fieldWidget({Control::Lvstex}))->text(), QStringLiteral("Yes"));
        // A screen reader hears the premium of the one level offered.
        const auto* announcer = window.findChild<ui::Announcer*>();
        QVERIFY(announcer);
        QCOMPARE(announcer->lastAnnounced(),
                 QStringLiteral("Premium calculated. Producer premium: .65 coverage %1.")
                     .arg(qobject_cast<QLineEdit*>(window.fieldWidget({Control::Text18, 2}))->text()));
    }
};

KBT2_WINDOW_TEST_MAIN(PremiumWindowTest)
#include "premium_window_test.moc"
