// The main window as a person first sees it: title, pages, every field by
// name with its kind, caption and default, and a size that holds every page.

#include "ui/main_window.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>

#include "commodities/catalogue.h"
#include "location/states.h"
#include "tests/window/window_test_support.h"
#include "ui/field_widgets.h"
#include "ui/page_tabs.h"
#include "ui/pages.h"

using namespace kbt2;

namespace {

// Every element of every control, in table order.
std::vector<FieldRef> allFields() {
    std::vector<FieldRef> fields;
    for (const ControlInfo& c : kControls)
        for (int i = 0; i < c.slots(); ++i) fields.push_back({c.control, i});
    return fields;
}

QString name(FieldRef field) { return QString::fromStdString(refName(field)); }

// The label whose text is `text`, searched in `parent`.
QLabel* labelWithText(QWidget* parent, const QString& text) {
    for (QLabel* label : parent->findChildren<QLabel*>())
        if (label->text() == text) return label;
    return nullptr;
}

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() {
        window_ = std::make_unique<ui::MainWindow>();
        window_->show();
        QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
    }
    void cleanup() { window_.reset(); }

    void titleAndStartPage() {
        QCOMPARE(window_->windowTitle(), QStringLiteral("Form2"));
        auto* tabs = window_->findChild<QTabWidget*>(QStringLiteral("SSTab1"));
        QVERIFY(tabs);
        QCOMPARE(tabs->currentIndex(), 0);
    }

    void pageCaptions_data() {
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("caption");
        QTest::newRow("1") << 0 << "1. General Farm Information";
        QTest::newRow("2") << 1 << "2. State and County";
        QTest::newRow("3") << 2 << "3. Kelbrant";
        QTest::newRow("4 trailing blank") << 3 << "4. Calculate KBT ";
        QTest::newRow("5") << 4 << "5. Commodity Names (Page 1)";
        QTest::newRow("6 small n") << 5 << "6. Commodity names (Page 2)";
        QTest::newRow("7 double blank") << 6 << "7.  Commodity Report (Page 1)";
        QTest::newRow("8 double blank") << 7 << "8.  Commodity Report (Page 2)";
        QTest::newRow("9") << 8 << "9. Calculate Premium";
    }
    void pageCaptions() {
        QFETCH(int, page);
        QFETCH(QString, caption);
        auto* tabs = window_->findChild<QTabWidget*>(QStringLiteral("SSTab1"));
        QCOMPARE(tabs->count(), 9);
        QCOMPARE(tabs->tabText(page), caption);
        // The tab a person clicks shows the same caption.
        auto* tab = window_->findChildren<ui::PageTab*>().value(page);
        QVERIFY(tab);
        QCOMPARE(tab->text(), caption);
    }

    void everyFieldHasOneWidgetOfItsKindOnItsPage() {
        window_->buildAllPages();
        auto* tabs = window_->pages();
        for (const FieldRef& field : allFields()) {
            const QList<QWidget*> found = window_->findChildren<QWidget*>(name(field));
            QVERIFY2(found.size() == 1, qPrintable(name(field)));
            QWidget* widget = found.first();
            QCOMPARE(widget, window_->fieldWidget(field));
            bool kindMatches = false;
            switch (info(field.control).kind) {
            case Kind::Text:
                kindMatches = field.control == Control::Infobox ? qobject_cast<QPlainTextEdit*>(widget) != nullptr
                                                                : qobject_cast<QLineEdit*>(widget) != nullptr &&
                                                                      !qobject_cast<ui::MaskedLineEdit*>(widget);
                break;
            case Kind::Masked: kindMatches = qobject_cast<ui::MaskedLineEdit*>(widget) != nullptr; break;
            case Kind::Check: kindMatches = qobject_cast<QCheckBox*>(widget) != nullptr; break;
            case Kind::Option: kindMatches = qobject_cast<QRadioButton*>(widget) != nullptr; break;
            case Kind::Button: kindMatches = qobject_cast<QPushButton*>(widget) != nullptr; break;
            }
            QVERIFY2(kindMatches, qPrintable(name(field)));
            const int page = ui::pageOf(field);
            if (page < 0)
                QVERIFY2(!tabs->isAncestorOf(widget), qPrintable(name(field)));
            else
                QVERIFY2(tabs->widget(page)->isAncestorOf(widget), qPrintable(name(field)));
        }
    }

    void everyFieldStartsAtItsDefault() {
        window_->buildAllPages();
        for (const FieldRef& field : allFields()) {
            QWidget* widget = window_->fieldWidget(field);
            QVERIFY2(!widget->isHidden(), qPrintable(name(field)));
            if (auto* masked = qobject_cast<ui::MaskedLineEdit*>(widget))
                QVERIFY2(masked->plainText().isEmpty(), qPrintable(name(field)));
            else if (auto* line = qobject_cast<QLineEdit*>(widget))
                QVERIFY2(line->text().isEmpty(), qPrintable(name(field)));
            else if (auto* multi = qobject_cast<QPlainTextEdit*>(widget))
                QVERIFY(multi->toPlainText().isEmpty());
            else if (auto* button = qobject_cast<QAbstractButton*>(widget); button && button->isCheckable()) {
                const bool selectedAtStart = field.control == Control::SSN || field.control == Control::IRSCash;
                QVERIFY2(button->isChecked() == selectedAtStart, qPrintable(name(field)));
            }
        }
    }

    void buttonCaptions_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<bool>("outside");
        QTest::newRow("Clear") << "Clear"
                               << "Clear" << true;
        QTest::newRow("Command1") << "Command1"
                                  << "Exit KBT Premium Calculation Program" << true;
        QTest::newRow("Print") << "Print"
                               << "Print" << true;
        QTest::newRow("save") << "save"
                              << "Save" << true;
        QTest::newRow("Load") << "Load"
                              << "Load" << true;
        QTest::newRow("Command2") << "Command2"
                                  << "Calculate Preliminary KBT and Adjustment Factor" << false;
        QTest::newRow("Command3") << "Command3"
                                  << "Calculate  KBT for each Commodity and Total Expected KBT" << false;
        QTest::newRow("Command4") << "Command4"
                                  << "Calculate Premium" << false;
        QTest::newRow("Command5") << "Command5"
                                  << "Clear all checked Crop Names" << false;
    }
    void buttonCaptions() {
        QFETCH(QString, button);
        QFETCH(QString, caption);
        QFETCH(bool, outside);
        window_->buildAllPages();
        auto* widget = window_->findChild<QPushButton*>(button);
        QVERIFY(widget);
        QCOMPARE(widget->text().remove(u'&'), caption);
        // The buttons outside the pages are in view whatever page is shown.
        for (int page = 0; outside && page < 9; ++page) {
            window_->pages()->setCurrentIndex(page);
            QVERIFY(widget->isVisible());
        }
    }

    void stateAndCountyOptionsCarryTheirNames() {
        window_->buildAllPages();
        for (const StateInfo& state : states())
            QCOMPARE(window_->findChild<QRadioButton*>(name({Control::St, state.index}))->text(),
                     QString::fromUtf8(state.caption.data(), static_cast<qsizetype>(state.caption.size())));
        QWidget* frame = nullptr;
        for (const CountyInfo& county : counties()) {
            auto* option = window_->findChild<QRadioButton*>(name({county.array, county.index}));
            QCOMPARE(option->text(),
                     QString::fromUtf8(county.caption.data(), static_cast<qsizetype>(county.caption.size())));
            // All 36 in one inner frame.
            if (!frame) frame = option->parentWidget();
            QCOMPARE(option->parentWidget(), frame);
        }
        QVERIFY(frame != window_->pages()->widget(1));
    }

    void commodityCaptionsSitLeftOfTheirBoxes() {
        for (int page : {4, 5}) {
            window_->pages()->setCurrentIndex(page);
            QApplication::processEvents();
            for (const CommodityEntry& entry : catalogue()) {
                if (entry.place.page != page + 1) continue;
                auto* box = qobject_cast<QCheckBox*>(window_->fieldWidget({entry.array, entry.index}));
                const QString caption =
                    QString::fromUtf8(entry.caption.data(), static_cast<qsizetype>(entry.caption.size()));
                QVERIFY2(box->text().isEmpty(), qPrintable(caption));
                QLabel* label = labelWithText(window_->pages()->widget(page), caption);
                QVERIFY2(label, qPrintable(caption));
                QVERIFY2(label->geometry().right() < box->geometry().left(), qPrintable(caption));
                QVERIFY2(qAbs(label->geometry().center().y() - box->geometry().center().y()) <= 2, qPrintable(caption));
            }
        }
    }

    // Columns run left to right and rows top to bottom as the catalogue places
    // them; the transfer boxes sit side by side in the bottom row of page 6,
    // right of its fourth column, under their instruction.
    void commodityPlaces() {
        window_->pages()->setCurrentIndex(5);
        window_->pages()->setCurrentIndex(4);
        QApplication::processEvents();
        auto boxAt = [&](const CommodityEntry& e) { return window_->fieldWidget({e.array, e.index})->geometry(); };
        for (const CommodityEntry& a : catalogue())
            for (const CommodityEntry& b : catalogue()) {
                if (a.place.page != b.place.page) continue;
                if (a.place.column < b.place.column) QVERIFY(boxAt(a).right() < boxAt(b).left());
                if (a.place.column == b.place.column && a.place.row < b.place.row)
                    QVERIFY(boxAt(a).bottom() < boxAt(b).top());
            }
        window_->pages()->setCurrentIndex(5);
        QApplication::processEvents();
        int fourthColumnRight = 0;
        int bottomRowCenter = 0;
        for (const CommodityEntry& e : catalogue())
            if (e.place.page == 6 && e.place.column == 4) {
                fourthColumnRight = std::max(fourthColumnRight, boxAt(e).right());
                if (e.place.row == 18) bottomRowCenter = boxAt(e).center().y();
            }
        int left = fourthColumnRight;
        for (const CommodityGroup& group : kCommodityGroups) {
            QWidget* box = window_->fieldWidget({group.array, group.transferBox});
            const QRect r = box->mapTo(window_->pages()->widget(5), QPoint(0, 0)) == QPoint()
                                ? box->geometry()
                                : QRect(box->mapTo(window_->pages()->widget(5), QPoint(0, 0)), box->size());
            QVERIFY(r.left() > left);
            QVERIFY(qAbs(r.center().y() - bottomRowCenter) <= 2);
            left = r.right();
        }
        const char* instruction[] = {"Click all boxes ", "below to get", "checked crops on", "Comm. Report"};
        int above = 0;
        for (const char* line : instruction) {
            QLabel* label = labelWithText(window_->pages()->widget(5), QString::fromLatin1(line));
            QVERIFY2(label, line);
            QVERIFY(label->geometry().top() > above);
            QVERIFY(label->geometry().bottom() < bottomRowCenter);
            QVERIFY(label->geometry().left() > fourthColumnRight);
            above = label->geometry().top();
        }
    }

    void reportColumnsAndNotices() {
        window_->buildAllPages();
        const char* columns[] = {"Commodity Name",    "Unit of measure",          "Com. code",
                                 "Years exp.",        "Intended Amt (e.g. acre)", "Total Amount (e.g., bu)",
                                 "Exp. Value / unit", "KBT by Commodity"};
        for (int page : {6, 7})
            for (const char* caption : columns)
                QVERIFY2(labelWithText(window_->pages()->widget(page), QString::fromLatin1(caption)), caption);
        QVERIFY(labelWithText(window_->pages()->widget(6),
                              QStringLiteral("Go to Page 2 of the Commodity Report (Tab 8) when you've  completed the "
                                             "entries  on this page.")));
        QVERIFY(labelWithText(window_->pages()->widget(7), QStringLiteral("Total Expected KBT")));
        const char* premium[] = {".80",
                                 ".75",
                                 ".65",
                                 "Indemnity Threshold",
                                 "Weighted average rate",
                                 "Diversification Factor",
                                 "KBT Rate",
                                 "KBT Liability",
                                 "Net KBT Liability",
                                 "Gross Premium",
                                 "Subsidy",
                                 "Producer Premium",
                                 "Livestock exceed 35% of expected KBT",
                                 "Livestock and MPCI crops exceeds 50% of exp. KBT",
                                 "Preliminary KBT (Tab 4)",
                                 "Total expected KBT (Tab 8)",
                                 "Preliminary estimate of Allowable KBT (subject to company approval)",
                                 "Number of crops used to calculate the diversification factor"};
        for (const char* caption : premium)
            QVERIFY2(labelWithText(window_->pages()->widget(8), QString::fromLatin1(caption)), caption);
    }

    // The default size holds every page, so nothing is clipped and the window
    // does not grow when a page is first shown.
    void defaultSizeHoldsEveryPage() {
        const QSize start = window_->size();
        window_->buildAllPages();
        for (int page = 0; page < 9; ++page) {
            window_->pages()->setCurrentIndex(page);
            QApplication::processEvents();
        }
        const QSize needed = window_->minimumSizeHint();
        QVERIFY2(needed.width() <= start.width() && needed.height() <= start.height(),
                 qPrintable(QStringLiteral("needs %1x%2, starts at %3x%4")
                                .arg(needed.width())
                                .arg(needed.height())
                                .arg(start.width())
                                .arg(start.height())));
        QCOMPARE(window_->size(), start);
    }

private:
    std::unique_ptr<ui::MainWindow> window_;
};

KBT2_WINDOW_TEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
