// A Michigan farm entered from the keyboard alone, as an agent types it: the
// keys beyond the characters of its data are counted by kind and must stay
// within a typist's budget, and the figures of page 9 must be those of the
// same farm entered field by field.

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <fstream>
#include <map>

#include "tests/core/rate_records.h"
#include "tests/window/window_test_support.h"
#include "ui/main_window.h"
#include "worksheet/premium_rows.h"
#include "worksheet/report_rows.h"

using namespace kbt2;

namespace {

// Keys other than the characters of the data, by kind.
class KeyCount {
public:
    void add(const char* kind, int keys = 1) { byKind_[kind] += keys; }
    int total() const {
        int sum = 0;
        for (const auto& [kind, keys] : byKind_) sum += keys;
        return sum;
    }
    QString text() const {
        QStringList parts;
        for (const auto& [kind, keys] : byKind_) parts << QStringLiteral("%1 %2").arg(keys).arg(kind);
        return QStringLiteral("%1 keys: %2").arg(total()).arg(parts.join(QStringLiteral(", ")));
    }

private:
    std::map<QString, int> byKind_;
};

struct Commodity {
    const char* find;    // typed on pages 5 and 6 to find its box: as far as it takes
    const char* box;     // the box it finds
    const char* report;  // its row of the report up to the amount, as a spreadsheet holds it
    const char* amount;
    const char* value;
};

// clang-format off
const Commodity kFarm[] = {
    {"ap", "Crop(1)",   "Apples\t\t54\t\t\t",       "20000",  "4.50"},
    {"co", "Crop(31)",  "Corn\t\t41\t\t\t",         "18000",  "2.10"},
    {"h",  "Crop1(3)",  "Hay (Other)\t\t611\t\t\t", "240",    "80"},
    {"so", "Crop2(16)", "Soybeans\t\t81\t\t\t",     "4000",   "5.60"},
    {"m",  "Crop2(54)", "Milk\t\t844\t\t\t",        "900000", "0.13"},
};
// The boxes that bring each group's ticked commodities onto the report, in
// the order of the page.
const char* const kTransferBoxes[] = {"Crop(51)", "Crop1(51)", "Crop2(57)"};
const char* const kIncome[] = {"180000", "192000", "201500", "214000", "226000"};
const char* const kExpenses[] = {"120000", "126500", "131000", "138000", "142500"};
const char* const kPageOne[] = {
    "Green Acres Farm", "1200 County Road 5", "Sparta, MI 49345", "6165550142", "Sole proprietor", "123456789",
};
const char* const kAgency[] = {
    "Lakeshore Crop Insurance", "88 Main Street", "Grand Rapids, MI 49503", "6165550190", "MI-0417", "1999",
};
// clang-format on

// Longer than a button's visible press (100 ms).
constexpr int kBetweenKeysMs = 150;

class Typist {
public:
    explicit Typist(ui::MainWindow& window) : window_(window) {}

    // The data: not counted.
    void type(const char* text) { QTest::keyClicks(QApplication::focusWidget(), QString::fromUtf8(text)); }
    void press(const char* kind, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(QApplication::focusWidget(), key, modifiers);
        keys_.add(kind);
    }
    void tab(int times = 1) {
        for (int i = 0; i < times; ++i) press("Tab", Qt::Key_Tab);
    }
    void alt(Qt::Key key) {
        QTest::keyClick(&window_, key, Qt::AltModifier);
        keys_.add("Alt");
        // A page brought to the front lays out its widgets from the event
        // loop, and a mnemonic presses its button visibly, for a moment: a
        // person's next key comes later than both.
        QTest::qWait(kBetweenKeysMs);
    }
    // A name typed to find a commodity's box counts among the keys.
    void find(const char* name) {
        QTest::keyClicks(QApplication::focusWidget(), QString::fromUtf8(name));
        keys_.add("find", static_cast<int>(qstrlen(name)));
    }
    void paste(const QString& cells) {
        QApplication::clipboard()->setText(cells);
        press("Ctrl+V", Qt::Key_V, Qt::ControlModifier);
    }
    void answered(size_t messages) { keys_.add("Return in a message", static_cast<int>(messages)); }
    const KeyCount& keys() const { return keys_; }

private:
    ui::MainWindow& window_;
    KeyCount keys_;
};

std::string pageNineFigures(const Worksheet& ws) {
    std::string figures;
    for (Control row : kPremiumRows)
        for (int level = 0; level < kPremiumColumns; ++level) figures += ws.text({row, level}) + "|";
    for (Control single : {Control::Text21, Control::Croptext, Control::Lvstex, Control::Mpciex})
        figures += ws.text({single, 0}) + "|";
    return figures;
}

}  // namespace

class KeyCountTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;

    std::unique_ptr<ui::MainWindow> openWindow() {
        auto window =
            std::make_unique<ui::MainWindow>(std::make_unique<test::TestFolderPlatform>(dir_.path().toStdString()));
        window->show();
        window->activateWindow();
        if (!QTest::qWaitForWindowActive(window.get())) return nullptr;
        return window;
    }

    // Page 1, the state and the county: typed in either way.
    static void typePagesOneAndTwo(Typist& typist) {
        for (const char* line : kPageOne) {
            typist.type(line);
            typist.tab();
        }
        typist.press("Space", Qt::Key_Space);  // SSN
        typist.tab();
        typist.press("Space", Qt::Key_Space);  // cash
        for (const char* line : kAgency) {
            typist.tab();
            typist.type(line);
        }
        typist.alt(Qt::Key_2);
        typist.press("Space", Qt::Key_Space);  // Michigan
        typist.tab();
        typist.press("arrow", Qt::Key_Down);  // Berrien
        typist.press("arrow", Qt::Key_Down);  // Kent
    }

    // The same farm set field by field, calculated up to the premium: what
    // page 9 must show.
    std::string expectedFigures() {
        auto window = openWindow();
        Form& form = window->form();
        form.select({Control::St, 0});
        form.select({Control::Mi1, 2});
        for (int year = 0; year < 5; ++year) {
            form.setText({Control::Allinc1, year}, kIncome[year]);
            form.setText({Control::Allexp1, year}, kExpenses[year]);
        }
        test::MessageCatcher catcher;
        form.click(Control::Command2);
        for (const Commodity& c : kFarm) form.setChecked(*parseRef(c.box), true);
        for (const char* box : kTransferBoxes) form.setChecked(*parseRef(box), true);
        int row = 0;
        for (const Commodity& c : kFarm) {
            form.setText({Control::Totamt1, row}, c.amount);
            form.setText({Control::Expval1, row++}, c.value);
        }
        form.click(Control::Command3);
        form.click(Control::Command4);
        return pageNineFigures(form.worksheet());
    }

    // The report's KBT and the premium, then page 9 as the farm set field by
    // field shows it, within `budget` keys.
    static void calculateAndCheck(ui::MainWindow& window, Typist& typist, const test::MessageCatcher& catcher,
                                  const std::string& expected, int budget) {
        typist.alt(Qt::Key_8);
        typist.alt(Qt::Key_T);
        typist.alt(Qt::Key_9);
        typist.alt(Qt::Key_M);
        typist.answered(catcher.seen().size());
        QCOMPARE(pageNineFigures(window.form().worksheet()), expected);
        QVERIFY(!window.form().worksheet().text({Control::Text18, 2}).empty());
        qInfo("%s", qPrintable(typist.keys().text()));
        QVERIFY2(typist.keys().total() <= budget, qPrintable(typist.keys().text()));
    }

private Q_SLOTS:
    void initTestCase() {
        QVERIFY(dir_.isValid());
        std::ofstream rates(dir_.filePath(QStringLiteral("Ratefile.prn")).toStdString(), std::ios::binary);
        using testing_support::rateRecord;
        for (const char* code : {"  54", "  41", " 611", "  81", " 844"})
            rates << rateRecord({.code = code, .livestock = 'N', .insurable = 'Y'}) << "\r\n";
    }

    // Every figure typed: at most 80 keys besides the data.
    void everyFigureTyped() {
        const std::string expected = expectedFigures();
        auto window = openWindow();
        QVERIFY(window);
        test::MessageCatcher catcher;
        Typist typist(*window);
        typePagesOneAndTwo(typist);

        typist.alt(Qt::Key_3);
        for (const char* const* column : {kIncome, kExpenses})
            for (int year = 0; year < 5; ++year) {
                if (column != kIncome || year) typist.tab();
                typist.type(column[year]);
            }
        typist.alt(Qt::Key_4);
        typist.alt(Qt::Key_K);

        typist.alt(Qt::Key_5);
        for (const Commodity& c : kFarm) {
            if (c.box == kFarm[3].box) typist.alt(Qt::Key_6);
            typist.find(c.find);
            QCOMPARE(QApplication::focusWidget()->objectName(), QString::fromLatin1(c.box));
            typist.press("Space", Qt::Key_Space);
        }
        // Past the last boxes of page 6 to the three that bring the ticked
        // commodities onto the report.
        typist.tab(3);
        for (const char* box : kTransferBoxes) {
            if (box != kTransferBoxes[0]) typist.tab();
            QCOMPARE(QApplication::focusWidget()->objectName(), QString::fromLatin1(box));
            typist.press("Space", Qt::Key_Space);
        }

        // The report: to the first row's amount, then each row's two figures
        // with Return to the next.
        typist.alt(Qt::Key_7);
        typist.tab(5);
        for (const Commodity& c : kFarm) {
            if (c.box != kFarm[0].box) typist.press("Return", Qt::Key_Return);
            typist.type(c.amount);
            typist.tab();
            typist.type(c.value);
        }
        calculateAndCheck(*window, typist, catcher, expected, 80);
    }

    // The five years and the report pasted from a spreadsheet: at most 60.
    void yearsAndReportPasted() {
        const std::string expected = expectedFigures();
        auto window = openWindow();
        QVERIFY(window);
        test::MessageCatcher catcher;
        Typist typist(*window);
        typePagesOneAndTwo(typist);

        QString years;
        for (int year = 0; year < 5; ++year)
            years += QStringLiteral("%1\t%2\n")
                         .arg(QString::fromLatin1(kIncome[year]), QString::fromLatin1(kExpenses[year]));
        typist.alt(Qt::Key_3);
        typist.paste(years);
        typist.alt(Qt::Key_4);
        typist.alt(Qt::Key_K);

        QString report;
        for (const Commodity& c : kFarm)
            report += QString::fromUtf8(c.report) +
                      QStringLiteral("%1\t%2\n").arg(QString::fromLatin1(c.amount), QString::fromLatin1(c.value));
        typist.alt(Qt::Key_7);
        typist.paste(report);
        calculateAndCheck(*window, typist, catcher, expected, 60);
    }
};

KBT2_WINDOW_TEST_MAIN(KeyCountTest)
#include "key_count_test.moc"
