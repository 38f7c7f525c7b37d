#include "ui/accessibility.h"

#include <QAccessibleWidget>
#include <QApplication>
#include <QPointer>
#include <QRegularExpression>
#include <QTimer>
#include <vector>

#include "ui/field_widgets.h"
#include "ui/page_tabs.h"

namespace kbt2::ui {
namespace {

// How long an announcement stays shown.
constexpr int kAnnouncementMs = 8000;

QString withoutMnemonic(QString text) { return text.remove(QRegularExpression(QStringLiteral("&(?!&)"))); }

// A checkable button told apart by its role: the option buttons keep their
// group exclusive through the worksheet, not through Qt's auto-exclusivity,
// by which the standard interface would call them check boxes; the page
// strip's buttons are tabs of one page each.
class RoleButton : public QAccessibleWidget {
public:
    RoleButton(QAbstractButton* button, QAccessible::Role role) : QAccessibleWidget(button, role) {}

    QAbstractButton* button() const { return static_cast<QAbstractButton*>(object()); }

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name) {
            const QString name = button()->accessibleName();
            return name.isEmpty() ? withoutMnemonic(button()->text()) : name;
        }
        return QAccessibleWidget::text(t);
    }

    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.checkable = true;
        s.checked = button()->isChecked();
        if (role() == QAccessible::PageTab) s.selected = button()->isChecked();
        return s;
    }

    QStringList actionNames() const override {
        return button()->isEnabled() ? QStringList{pressAction()} : QStringList{};
    }
    void doAction(const QString& name) override {
        if (name == pressAction() && button()->isEnabled()) button()->click();
    }
};

// The announcement: an alert, which screen readers speak when it shows.
class AlertLabel : public QAccessibleWidget {
public:
    explicit AlertLabel(QLabel* label) : QAccessibleWidget(label, QAccessible::AlertMessage) {}
    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name) return static_cast<QLabel*>(object())->text();
        return QAccessibleWidget::text(t);
    }
};

QAccessibleInterface* interfaceOf(const QString& className, QObject* object) {
    if (className == QLatin1String(OptionButton::staticMetaObject.className()))
        return new RoleButton(static_cast<OptionButton*>(object), QAccessible::RadioButton);
    if (className == QLatin1String(PageTab::staticMetaObject.className()))
        return new RoleButton(static_cast<PageTab*>(object), QAccessible::PageTab);
    if (className == QLatin1String(PageTabRows::staticMetaObject.className()))
        return new QAccessibleWidget(static_cast<PageTabRows*>(object), QAccessible::PageTabList,
                                     QStringLiteral("Pages"));
    if (className == QLatin1String(Announcer::staticMetaObject.className()))
        return new AlertLabel(static_cast<Announcer*>(object));
    return nullptr;
}

// The figures marked to be reached, told when a technology comes or goes.
class FigureReach : public QAccessible::ActivationObserver {
public:
    bool listened() const { return listened_; }
    void add(QWidget* widget) {
        figures_.emplace_back(widget);
        widget->setFocusPolicy(figureFocusPolicy());
    }
    void accessibilityActiveChanged(bool active) override {
        listened_ = active;
        const Qt::FocusPolicy policy = figureFocusPolicy();
        for (const QPointer<QWidget>& figure : figures_)
            if (figure) figure->setFocusPolicy(policy);
        std::erase_if(figures_, [](const QPointer<QWidget>& figure) { return figure.isNull(); });
    }

private:
    bool listened_ = QAccessible::isActive();
    std::vector<QPointer<QWidget>> figures_;
};

FigureReach& figureReach() {
    static FigureReach* reach = [] {
        auto* made = new FigureReach;
        QAccessible::installActivationObserver(made);
        return made;
    }();
    return *reach;
}

}  // namespace

void installAccessibleInterfaces() {
    static const bool installed = [] {
        QAccessible::installFactory(interfaceOf);
        return true;
    }();
    (void)installed;
}

Qt::FocusPolicy figureFocusPolicy() { return figureReach().listened() ? Qt::StrongFocus : Qt::ClickFocus; }

void reachWhileListened(QWidget* widget) { figureReach().add(widget); }

Announcer::Announcer(QWidget* parent) : QLabel(parent) {
    setObjectName(QStringLiteral("announcement"));
    setTextFormat(Qt::PlainText);
    // Heard, not seen: what it says is on screen already (the status bar's
    // note, page 9's figures), so it takes no room among the widgets.
    setFixedSize(1, 1);
    hide();
}

void Announcer::announce(const QString& text) {
    if (text.isEmpty()) return;
    last_ = text;
    setText(text);
    // Shown anew, so that the alert's showing is what the reader hears.
    hide();
    show();
    QAccessibleEvent named(this, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&named);
    QAccessibleEvent alert(this, QAccessible::Alert);
    QAccessible::updateAccessibility(&alert);
    QTimer::singleShot(kAnnouncementMs, this, [this, text] {
        if (text == last_) hide();
    });
}

}  // namespace kbt2::ui
