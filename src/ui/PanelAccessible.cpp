#include "ui/PanelAccessible.h"

#include <QAccessibleWidget>

#include "ui/FrequencyDisplay.h"
#include "ui/MeterBar.h"
#include "ui/PanelButton.h"

namespace ondaris {

namespace {

class DisplayAccessible : public QAccessibleWidget {
 public:
  explicit DisplayAccessible(FrequencyDisplay* display) : QAccessibleWidget(display, QAccessible::StaticText) {}

  QString text(QAccessible::Text t) const override {
    const auto* display = static_cast<const FrequencyDisplay*>(object());
    if (t == QAccessible::Value) return display->text();
    if (t == QAccessible::Name) {
      const QString name = display->accessibleName();
      return name.isEmpty() ? display->text() : name;
    }
    return QAccessibleWidget::text(t);
  }
};

class MeterAccessible : public QAccessibleWidget, public QAccessibleValueInterface {
 public:
  explicit MeterAccessible(MeterBar* bar) : QAccessibleWidget(bar, QAccessible::ProgressBar) {}

  void* interface_cast(QAccessible::InterfaceType type) override {
    if (type == QAccessible::ValueInterface) return static_cast<QAccessibleValueInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
  }
  QString text(QAccessible::Text t) const override {
    if (t == QAccessible::Value) return QString::number(bar()->value());
    return QAccessibleWidget::text(t);
  }
  QVariant currentValue() const override { return bar()->value(); }
  void setCurrentValue(const QVariant&) override {}  // read-only
  QVariant maximumValue() const override { return bar()->maximum(); }
  QVariant minimumValue() const override { return bar()->minimum(); }
  QVariant minimumStepSize() const override { return 1; }

 private:
  const MeterBar* bar() const { return static_cast<const MeterBar*>(object()); }
};

// A panel button's press and toggle actions are both a mouse click, so that a
// screen reader or an automation tool does exactly what the mouse does and
// the program decides whether the button stays down (the stock toggle
// action would only flip the check mark).
class ButtonAccessible : public QAccessibleWidget {
 public:
  explicit ButtonAccessible(PanelButton* button) : QAccessibleWidget(button, QAccessible::Button) {}

  QAccessible::State state() const override {
    QAccessible::State st = QAccessibleWidget::state();
    st.checkable = button()->isCheckable();
    st.checked = button()->isChecked();
    st.pressed = button()->isDown();
    return st;
  }
  QString text(QAccessible::Text t) const override {
    if (t == QAccessible::Name) {
      const QString name = button()->accessibleName();
      return name.isEmpty() ? button()->text().remove(QLatin1Char('&')) : name;
    }
    return QAccessibleWidget::text(t);
  }
  QStringList actionNames() const override {
    QStringList names;
    if (button()->isEnabled()) {
      names << pressAction();
      if (button()->isCheckable()) names << toggleAction();
    }
    return names + QAccessibleWidget::actionNames();
  }
  void doAction(const QString& action) override {
    if (action == pressAction() || action == toggleAction()) {
      button()->clickAsTheMouse();
      return;
    }
    QAccessibleWidget::doAction(action);
  }

 private:
  PanelButton* button() const { return static_cast<PanelButton*>(object()); }
};

QAccessibleInterface* Factory(const QString& className, QObject* object) {
  if (className == QLatin1String(FrequencyDisplay::staticMetaObject.className()))
    return new DisplayAccessible(static_cast<FrequencyDisplay*>(object));
  if (className == QLatin1String(PanelButton::staticMetaObject.className()))
    return new ButtonAccessible(static_cast<PanelButton*>(object));
  if (className == QLatin1String(MeterBar::staticMetaObject.className()))
    return new MeterAccessible(static_cast<MeterBar*>(object));
  return nullptr;
}

}  // namespace

void InstallPanelAccessibility() {
  static const bool installed = [] {
    QAccessible::installFactory(Factory);
    return true;
  }();
  (void)installed;
}

}  // namespace ondaris
