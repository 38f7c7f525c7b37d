#pragma once
// The main window: the nine pages of the worksheet in a tabbed container and
// the five buttons below them. It holds the form (the worksheet with its
// commands) and mirrors every field in a widget named after it.
//
// A page's widgets are built the first time the page is shown or one of its
// fields is asked for (fieldWidget), from the worksheet as it is then; call
// buildAllPages() before looking widgets up by name with findChild.

#include <QMainWindow>
#include <QTabWidget>
#include <array>
#include <memory>

#include "commands/case.h"
#include "commands/form.h"
#include "ui/document_actions.h"
#include "ui/field_binding.h"
#include "ui/premium_watch.h"
#include "ui/qt_platform.h"
#include "ui/quote_actions.h"
#include "ui/scenario_actions.h"

namespace kbt2::ui {

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    // `platform` replaces the window's own (the driver's stand-in printer);
    // the window becomes its parent window.
    explicit MainWindow(std::unique_ptr<QtPlatform> platform = nullptr, QWidget* parent = nullptr);
    ~MainWindow() override;

    Form& form() { return form_; }
    // The menu bar's work on the worksheet as a document.
    DocumentActions& documents() { return *documents_; }
    // Whether page 9's figures still hold.
    const PremiumWatch& premiumWatch() const { return *premiumWatch_; }
    // The premium's details view and the quote summary.
    QuoteActions& quotes() { return *quotes_; }
    QTabWidget* pages() const { return tabs_; }
    // The scenarios of the case; the form holds the current one.
    Case& scenarioCase() { return case_; }
    // The strip and the Scenarios menu.
    ScenarioActions& scenarios() { return *scenarios_; }

    // The widget of a field, its page built first if need be.
    QWidget* fieldWidget(FieldRef field);
    // Brings the page of a field to the front (the buttons below the pages
    // are always in view).
    void showPageOf(FieldRef field);
    void buildAllPages();

Q_SIGNALS:
    // The window closed: by Exit, by a command, or by its close control.
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildPageOnce(int index);
    // What a screen reader says once a premium is calculated: the producer
    // premium of each level offered.
    QString premiumSpoken() const;
    // Gives the keyboard to the first field of page `index`.
    void focusPage(int index);
    QWidget* makeButtonRow();

    std::unique_ptr<QtPlatform> platform_;
    Form form_;
    Case case_{form_};
    FieldBinding binding_;
    std::unique_ptr<DocumentActions> documents_;
    std::unique_ptr<PremiumWatch> premiumWatch_;
    std::unique_ptr<QuoteActions> quotes_;
    std::unique_ptr<ScenarioActions> scenarios_;
    QTabWidget* tabs_ = nullptr;
    std::array<QWidget*, 9> pageWidgets_{};
    std::array<bool, 9> built_{};
};

}  // namespace kbt2::ui
