// Where real data goes: page 1's halves share the width and its boxes hold a
// real address and phone number; page 9's single results stand on the rows of
// its table with captions of at most two lines; the report's columns stand in
// the same places on pages 7 and 8; the transfer boxes say what they do.

#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include "commodities/catalogue.h"
#include "tests/window/window_test_support.h"

using namespace kbt2;

namespace {

// A widget's place on its page (the widgets sit in frames inside it).
QRect onPage(QWidget* widget, QWidget* page) { return QRect(widget->mapTo(page, QPoint(0, 0)), widget->size()); }

// The inner width a line edit gives its text.
int textRoom(const QLineEdit* edit) {
    return edit->contentsRect().width() - edit->textMargins().left() - edit->textMargins().right() - 4;
}

}  // namespace

class PageLayoutTest : public QObject {
    Q_OBJECT

    QWidget* field(Control control, int index = 0) { return window_->fieldWidget({control, index}); }
    void show(int page) {
        window_->pages()->setCurrentIndex(page);
        QApplication::processEvents();
    }

private Q_SLOTS:
    void init() {
        window_ = test::showActiveMainWindow();
        QVERIFY(window_);
    }
    void cleanup() { window_.reset(); }

    void pageOneHalvesShareTheWidth() {
        show(0);
        QWidget* page = field(Control::Producer1)->parentWidget();
        const QRect producer = onPage(field(Control::Producer1), page);
        const QRect agency = onPage(field(Control::Agent1), page);
        QVERIFY2(qAbs(producer.width() - agency.width()) <= 1,
                 qPrintable(QStringLiteral("%1 against %2").arg(producer.width()).arg(agency.width())));
        QVERIFY(qAbs(onPage(field(Control::ProducerPhone), page).width() -
                     onPage(field(Control::AgentPhone), page).width()) <= 1);
    }

    void pageOneBoxesHoldRealData_data() {
        QTest::addColumn<int>("control");
        QTest::addColumn<QString>("text");
        QTest::newRow("address line") << int(Control::Producer2) << "4410 North Riverside Drive, Building 2, Suite 310";
        QTest::newRow("agency line") << int(Control::Agent3) << "Lakeshore Crop Insurance Agency of Grand Rapids";
        QTest::newRow("phone with extension") << int(Control::ProducerPhone) << "(616) 555-0142 ext. 2201";
        QTest::newRow("agency phone") << int(Control::AgentPhone) << "(616) 555-0190 ext. 14";
        QTest::newRow("EIN") << int(Control::SSNEIN) << "38-1234567";
    }
    void pageOneBoxesHoldRealData() {
        QFETCH(int, control);
        QFETCH(QString, text);
        show(0);
        auto* edit = static_cast<QLineEdit*>(field(static_cast<Control>(control)));
        QVERIFY2(edit->fontMetrics().horizontalAdvance(text) <= textRoom(edit),
                 qPrintable(QStringLiteral("%1 px of text in %2 px")
                                .arg(edit->fontMetrics().horizontalAdvance(text))
                                .arg(textRoom(edit))));
    }

    void premiumResultsStandOnTheTableRows() {
        show(8);
        const Control side[] = {Control::Lvstex, Control::Mpciex, Control::Projkbt,
                                Control::Text15, Control::Text21, Control::Croptext};
        const Control rows[] = {Control::Text23, Control::Text24, Control::Text25,
                                Control::Text26, Control::Text27, Control::Text28};
        QWidget* page = field(Control::Command4)->parentWidget();
        for (size_t i = 0; i < std::size(side); ++i) {
            QCOMPARE(onPage(field(side[i]), page).center().y(), onPage(field(rows[i], 1), page).center().y());
        }
        // The side captions wrap (the notice under the button, in brackets,
        // is a paragraph).
        for (QLabel* caption : page->findChildren<QLabel*>()) {
            if (!caption->wordWrap() || caption->text().startsWith(u'(')) continue;
            const int lines = caption->height() / caption->fontMetrics().lineSpacing();
            QVERIFY2(lines <= 2, qPrintable(caption->text()));
        }
    }

    void reportColumnsAlignOnBothPages() {
        window_->buildAllPages();
        show(6);
        show(7);
        const Control columns[] = {Control::Cropname1, Control::Type1,   Control::Unit1,   Control::YearProd,
                                   Control::Intamt1,   Control::Totamt1, Control::Expval1, Control::Total1};
        for (Control column : columns) {
            QWidget* first = field(column, 0);
            QWidget* ninth = field(column, 9);
            QCOMPARE(onPage(first, first->parentWidget()).left(), onPage(ninth, ninth->parentWidget()).left());
            QCOMPARE(first->width(), ninth->width());
        }
    }

    void transferBoxesSayWhatTheyDo() {
        window_->buildAllPages();
        QSet<QString> seen;
        for (const CommodityGroup& group : kCommodityGroups) {
            QWidget* box = field(group.array, group.transferBox);
            QVERIFY(box->toolTip().contains(QStringLiteral("commodity report")));
            QCOMPARE(box->accessibleDescription(), box->toolTip());
            seen.insert(box->toolTip());
        }
        QCOMPARE(seen.size(), 3);
    }

private:
    std::unique_ptr<ui::MainWindow> window_;
};

KBT2_WINDOW_TEST_MAIN(PageLayoutTest)
#include "page_layout_test.moc"
