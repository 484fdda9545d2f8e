#include "ui/MainWindow.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QSignalBlocker>
#include <QSlider>
#include <QStatusBar>
#include <QScrollBar>
#include <QStandardPaths>
#include <QTableView>
#include <exception>

#include "common/Errors.h"
#include "ui/AboutDialog.h"
#include "ui/FrequencyDisplay.h"
#include "ui/FrequencyGridView.h"
#include "ui/KeyboardMap.h"
#include "ui/MeterBar.h"
#include "ui/PanelAccessible.h"
#include "ui/PanelButton.h"
#include "ui/PanelLabel.h"
#include "ui/PanelLayout.h"
#include "ui/PanelStyle.h"

namespace ondaris {

namespace {

bool IsMenuItem(Ctl control) { return static_cast<int>(control) >= static_cast<int>(Ctl::NewFileItem); }

bool IsTextPanel(Ctl control) {
  return control == Ctl::StatusPanel || control == Ctl::TimePanel || control == Ctl::BankDispPanel ||
         control == Ctl::PBTDisplayPanel;
}

bool IsTrackbar(Ctl control) {
  return control == Ctl::TuningSpeedTrackbar || control == Ctl::LineTrackbar || control == Ctl::SpkrTrackbar;
}

QString ObjectName(Ctl control) {
  const std::string_view name = ControlName(control);
  return QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
}

// A button shows '&' as itself, not as a mnemonic.
QString ButtonText(const std::string& caption) { return PanelText(caption).replace(QLatin1Char('&'), "&&"); }

}  // namespace

MainWindow::MainWindow(PanelModel& model, PanelActions& actions, QWidget* parent)
    : QMainWindow(parent), model_(model), actions_sink_(actions) {
  InstallPanelAccessibility();
  setObjectName(QStringLiteral("TForm1"));
  // Fixed size, minimize but no maximize.
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);

  QFont windowFont = PanelButtonFont(true);
  setFont(windowFont);

  // Help pages open through the desktop's "open" action of the program.
  openUrl = [this](const QUrl& url) {
    const QString target = url.isLocalFile() ? url.toLocalFile() : url.toString();
    std::string error;
    return actions_sink_.OpenWithShell(target.toLocal8Bit().toStdString(), error);
  };
  showAbout = [this] {
    const QString page = findHelpPage(QStringLiteral("help/OndarisHelp.html"));
    AboutDialog dialog(page.isEmpty() ? QString() : QFileInfo(page).absolutePath(), this);
    dialog.exec();
  };

  buildPanel();
  buildMenus();

  errorLine_ = new QLabel(this);
  errorLine_->setObjectName(QStringLiteral("ErrorLine"));
  errorLine_->setTextFormat(Qt::PlainText);
  errorLine_->setFont(PanelButtonFont(false));
  errorLine_->setStyleSheet(QStringLiteral("color: rgb(128, 0, 0);"));
  statusBar()->addWidget(errorLine_, 1);
  statusBar()->setSizeGripEnabled(false);
  statusBar()->hide();

  previousOnChanged_ = model_.onChanged;
  model_.onChanged = [this](Ctl control) {
    if (previousOnChanged_) previousOnChanged_(control);
    render(control);
  };
  previousOnTitleChanged_ = model_.onTitleChanged;
  model_.onTitleChanged = [this] {
    if (previousOnTitleChanged_) previousOnTitleChanged_();
    setWindowTitle(PanelText(model_.title()));
  };

  renderAll();
  setWindowTitle(PanelText(model_.title()));
  layout()->setSizeConstraint(QLayout::SetFixedSize);

  // Keyboard preview: the panel sees key presses before the focused control.
  qApp->installEventFilter(this);
}

MainWindow::~MainWindow() {
  qApp->removeEventFilter(this);
  model_.onChanged = previousOnChanged_;
  model_.onTitleChanged = previousOnTitleChanged_;
}

void MainWindow::buildPanel() {
  area_ = new QWidget(this);
  area_->setObjectName(QStringLiteral("PanelArea"));
  area_->setFixedSize(PanelClientWidth, PanelClientHeight);
  setCentralWidget(area_);

  for (int i = 0; i < ControlCount; ++i) {
    const Ctl control = static_cast<Ctl>(i);
    const auto geometry = PanelGeometry(control);
    if (!geometry) continue;

    QWidget* widget = nullptr;
    if (IsButton(control)) {
      auto* button = new PanelButton(area_);
      connect(button, &QToolButton::clicked, this, [this, control] { buttonClicked(control); });
      // Whatever flips the check mark outside a click, the button shows the
      // program's state.
      connect(button, &QAbstractButton::toggled, this, [this, control, button](bool on) {
        if (on == model_[control].pressed) return;
        const QSignalBlocker block(button);
        button->setChecked(model_[control].pressed);
      });
      connect(button, &PanelButton::mouseDown, this,
              [this, control] { guarded([this, control] { actions_sink_.MouseDown(control); }); });
      connect(button, &PanelButton::mouseUp, this,
              [this, control] { guarded([this, control] { actions_sink_.MouseUp(control); }); });
      connect(button, &PanelButton::rightClicked, this,
              [this, control] { guarded([this, control] { actions_sink_.RightClick(control); }); });
      widget = button;
    } else if (control == Ctl::FreqDispPanel) {
      auto* display = new FrequencyDisplay(area_);
      connect(display, &FrequencyDisplay::clicked, this, [this](int x, int y, int w, int h) {
        guarded([this, x, y, w, h] { actions_sink_.DisplayClick(x, y, w, h); });
      });
      widget = display;
    } else if (control == Ctl::Meter) {
      auto* meter = new MeterBar(area_);
      connect(meter, &MeterBar::clicked, this, [this] { guarded([this] { actions_sink_.Click(Ctl::Meter); }); });
      widget = meter;
    } else if (IsTextPanel(control)) {
      auto* label = new PanelLabel(area_);
      connect(label, &PanelLabel::clicked, this,
              [this, control] { guarded([this, control] { actions_sink_.Click(control); }); });
      label->setFont(control == Ctl::PBTDisplayPanel ? PanelTextFont(12, true) : PanelTextFont(16, false));
      widget = label;
    } else if (IsTrackbar(control)) {
      const bool vertical = control == Ctl::TuningSpeedTrackbar;
      auto* slider = new QSlider(vertical ? Qt::Vertical : Qt::Horizontal, area_);
      slider->setFocusPolicy(Qt::ClickFocus);
      if (vertical) {
        // Position 1 (fastest) at the top.
        slider->setInvertedAppearance(true);
        slider->setInvertedControls(true);
        slider->setTickPosition(QSlider::TicksBothSides);
        slider->setTickInterval(5);
        slider->setPageStep(5);
      } else {
        slider->setTickPosition(QSlider::TicksBelow);
        slider->setTickInterval(5);
        slider->setPageStep(5);
      }
      connect(slider, &QSlider::valueChanged, this, [this, control](int value) { sliderMoved(control, value); });
      widget = slider;
    } else if (control == Ctl::Grid) {
      // The station list's grid; it shows a list once setStationGrid is called.
      auto* grid = new FrequencyGridView(area_);
      grid->onError = [this](const std::string& text) { actions_sink_.ReportError(text); };
      widget = grid;
    }
    if (!widget) continue;
    widget->setObjectName(ObjectName(control));
    widget->setGeometry(geometry->x, geometry->y, geometry->width, geometry->height);
    widgets_[Index(control)] = widget;
  }
}

QAction* MainWindow::addItem(QMenu* menu, Ctl item, bool checkable) {
  auto* action = new QAction(this);
  action->setObjectName(ObjectName(item));
  action->setCheckable(checkable);
  connect(action, &QAction::triggered, this, [this, item] { menuTriggered(item); });
  if (checkable)
    connect(action, &QAction::toggled, this, [this, item, action](bool on) {
      if (on == model_[item].pressed) return;
      const QSignalBlocker block(action);
      action->setChecked(model_[item].pressed);
    });
  menu->addAction(action);
  actions_[Index(item)] = action;
  return action;
}

void MainWindow::buildMenus() {
  QMenuBar* bar = menuBar();
  bar->setFont(PanelButtonFont(false));

  QMenu* file = bar->addMenu(QStringLiteral("File"));
  file->setObjectName(QStringLiteral("FileMenu"));
  addItem(file, Ctl::NewFileItem);
  addItem(file, Ctl::LoadFileItem);
  QMenu* reopen = file->addMenu(QString());
  reopen->setObjectName(ObjectName(Ctl::ReopenMainItem));
  reopen->menuAction()->setObjectName(ObjectName(Ctl::ReopenMainItem));
  actions_[Index(Ctl::ReopenMainItem)] = reopen->menuAction();
  for (int i = 0; i < 10; ++i) addItem(reopen, ReopenItem(i));
  addItem(file, Ctl::AppendFileItem);
  addItem(file, Ctl::ImportEibiItem);
  addItem(file, Ctl::SaveFileItem);
  addItem(file, Ctl::SaveFileAsItem);
  file->addSeparator();
  addItem(file, Ctl::SaveScpdItem);
  addItem(file, Ctl::BackupItem);
  file->addSeparator();
  addItem(file, Ctl::ExitItem);

  QMenu* edit = bar->addMenu(QStringLiteral("Edit"));
  edit->setObjectName(QStringLiteral("EditMenu"));
  addItem(edit, Ctl::AddEntryItem);
  addItem(edit, Ctl::EditEntryItem);
  edit->addSeparator();
  addItem(edit, Ctl::CopyItem);
  addItem(edit, Ctl::DeleteEntryItem);
  addItem(edit, Ctl::PasteItem);

  QMenu* banks = bar->addMenu(QStringLiteral("Scratchpad"));
  banks->setObjectName(QStringLiteral("BankJump"));
  for (int i = 0; i < 10; ++i) addItem(banks, BankItem(i), true);
  banks->addSeparator();
  addItem(banks, Ctl::BankTagItem);
  addItem(banks, Ctl::ClrMemItem);
  addItem(banks, Ctl::ClearBankItem);

  QMenu* limits = bar->addMenu(QStringLiteral("Limits"));
  limits->setObjectName(QStringLiteral("Limits1"));
  for (int i = 0; i < 20; ++i) addItem(limits, LimitRangeItem(i));

  QMenu* tools = bar->addMenu(QStringLiteral("Tools"));
  tools->setObjectName(QStringLiteral("ToolsMenu"));
  addItem(tools, Ctl::SkedItem);
  addItem(tools, Ctl::RecordItem);
  addItem(tools, Ctl::MFLGenItem);
  addItem(tools, Ctl::MFLViewItem);

  QMenu* options = bar->addMenu(QStringLiteral("Options"));
  options->setObjectName(QStringLiteral("OptionsMenu"));
  addItem(options, Ctl::MuteOnExitItem, true);
  addItem(options, Ctl::DefaultStepItem, true);
  addItem(options, Ctl::DefaultFiltItem, true);
  options->addSeparator();
  addItem(options, Ctl::UserOptionsItem);

  QMenu* help = bar->addMenu(QStringLiteral("Help"));
  help->setObjectName(QStringLiteral("HelpMenu"));
  addItem(help, Ctl::HelpItem);
  addItem(help, Ctl::LogHelpItem);
  addItem(help, Ctl::HintItem, true);
  help->addSeparator();
  addItem(help, Ctl::AboutItem);
}

// ---- The frequency grid ------------------------------------------------------

void MainWindow::setStationGrid(StationGrid& stations) {
  if (auto* grid = qobject_cast<FrequencyGridView*>(widgets_[Index(Ctl::Grid)])) {
    grid->setController(&stations);
  }
}

void MainWindow::showError(const std::string& text) {
  errorLine_->setText(PanelText(text));
  statusBar()->setVisible(!text.empty());
}

QString MainWindow::errorText() const { return errorLine_->text(); }

// ---- Rendering the model ---------------------------------------------------

void MainWindow::renderAll() {
  hintsShown_ = model_[Ctl::HintItem].pressed;
  for (int i = 0; i < ControlCount; ++i) render(static_cast<Ctl>(i));
}

void MainWindow::render(Ctl control) {
  if (static_cast<int>(control) < 0 || static_cast<int>(control) >= ControlCount) return;
  if (IsMenuItem(control)) {
    renderMenuItem(control);
    if (control == Ctl::HintItem) setHintsShown(model_[Ctl::HintItem].pressed);
    return;
  }
  QWidget* widget = widgets_[Index(control)];
  if (!widget) return;
  const ControlState& st = model_[control];

  widget->setEnabled(st.enabled);
  widget->setVisible(st.visible);
  renderTooltip(control);

  const QColor colour = PanelColour(st.colour);
  if (auto* button = qobject_cast<PanelButton*>(widget)) {
    button->setText(ButtonText(st.caption));
    button->setChecked(st.pressed);
    QPalette pal = button->palette();
    for (auto group : {QPalette::Active, QPalette::Inactive}) pal.setColor(group, QPalette::ButtonText, colour);
    button->setPalette(pal);
    button->setFont(PanelButtonFont(st.bold));
    button->setAccessibleName(PanelText(st.caption));
  } else if (auto* display = qobject_cast<FrequencyDisplay*>(widget)) {
    display->setText(PanelText(st.caption));
    display->setTextColour(colour);
  } else if (auto* meter = qobject_cast<MeterBar*>(widget)) {
    meter->setRange(st.minimum, st.maximum);
    meter->setValue(st.value);
  } else if (auto* label = qobject_cast<PanelLabel*>(widget)) {
    label->setText(PanelText(st.caption));
    label->setTextColour(st.colour == Colour::Default ? PanelColour(Colour::Aqua) : colour);
    label->setAccessibleName(PanelText(st.caption));
  } else if (auto* slider = qobject_cast<QSlider*>(widget)) {
    const QSignalBlocker block(slider);
    slider->setRange(st.minimum, st.maximum);
    slider->setValue(st.value);
  }
}

void MainWindow::renderMenuItem(Ctl control) {
  QAction* action = actions_[Index(control)];
  if (!action) return;
  const ControlState& st = model_[control];
  action->setText(PanelText(st.caption));
  // Qt does not enable a hidden action, so the visibility comes first.
  action->setVisible(st.visible);
  action->setEnabled(st.enabled);
  if (action->isCheckable()) {
    const QSignalBlocker block(action);
    action->setChecked(st.pressed);
  }
}

void MainWindow::renderTooltip(Ctl control) {
  QWidget* widget = widgets_[Index(control)];
  if (!widget) return;
  widget->setToolTip(hintsShown_ ? PanelText(model_[control].hint) : QString());
}

void MainWindow::setHintsShown(bool shown) {
  if (shown == hintsShown_) return;
  hintsShown_ = shown;
  for (int i = 0; i < ControlCount; ++i) renderTooltip(static_cast<Ctl>(i));
}

// ---- The listener's actions ------------------------------------------------

void MainWindow::guarded(const std::function<void()>& action) {
  try {
    action();
  } catch (const OndarisError& e) {
    actions_sink_.ReportError(e.what());
  } catch (const std::exception& e) {
    actions_sink_.ReportError(e.what());
  } catch (...) {
    actions_sink_.ReportError("Unexpected error.");
  }
}

void MainWindow::buttonClicked(Ctl control) {
  guarded([this, control] {
    ApplySpeedButtonClick(model_, control);
    actions_sink_.Click(control);
  });
  // The model decides whether the button stays down, whatever the click did.
  render(control);
}

void MainWindow::sliderMoved(Ctl control, int value) {
  guarded([this, control, value] {
    model_.setValue(control, value);
    actions_sink_.ValueChanged(control, value);
  });
  render(control);
}

void MainWindow::menuTriggered(Ctl control) {
  switch (control) {
    case Ctl::ExitItem:
      close();
      return;
    case Ctl::HelpItem:
      openHelp(QStringLiteral("help/OndarisHelp.html"));
      return;
    case Ctl::LogHelpItem:
      openHelp(QStringLiteral("LogHelp/B-LogHelp.html"));
      return;
    case Ctl::AboutItem:
      if (showAbout) showAbout();
      return;
    case Ctl::HintItem:
      // Only what is shown changes; the stored option stays as it is.
      model_.setChecked(Ctl::HintItem, !model_[Ctl::HintItem].pressed);
      renderMenuItem(control);
      return;
    default:
      break;
  }
  guarded([this, control] { actions_sink_.Click(control); });
  renderMenuItem(control);
}

QString MainWindow::findHelpPage(const QString& relativePath) const {
  QStringList candidates;
  std::string programDir;
  try {
    programDir = actions_sink_.ProgramDir();
  } catch (...) {
  }
  if (!programDir.empty()) candidates << QDir(QString::fromLocal8Bit(programDir)).filePath(relativePath);
  candidates << QDir(QCoreApplication::applicationDirPath()).filePath(relativePath);
  const QString installed =
      QStandardPaths::locate(QStandardPaths::GenericDataLocation, QStringLiteral("ondaris/") + relativePath);
  if (!installed.isEmpty()) candidates << installed;
  for (const QString& path : candidates)
    if (QFileInfo(path).isFile()) return QFileInfo(path).absoluteFilePath();
  return {};
}

void MainWindow::openHelp(const QString& relativePath) {
  guarded([this, &relativePath] {
    const QString page = findHelpPage(relativePath);
    if (page.isEmpty()) throw FileError("Cannot find the help file " + relativePath.toStdString());
    if (openUrl && !openUrl(QUrl::fromLocalFile(page)))
      throw OndarisError("The desktop could not open " + page.toStdString());
  });
}

// ---- Keyboard preview and closing -------------------------------------------

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  // The middle button on a panel button (buttons themselves only take the
  // left and right ones).
  if (type == QEvent::MouseButtonPress && static_cast<QMouseEvent*>(event)->button() == Qt::MiddleButton) {
    if (auto* button = qobject_cast<PanelButton*>(watched); button && button->window() == this) {
      const Ctl control = ControlByName(button->objectName().toStdString());
      if (control != Ctl::Count && widgets_[Index(control)] == button && button->isEnabled()) {
        guarded([this, control] { actions_sink_.MiddleClick(control); });
        event->accept();
        return true;
      }
    }
  }
  if ((type == QEvent::KeyPress || type == QEvent::KeyRelease) && watched->isWidgetType()) {
    auto* widget = static_cast<QWidget*>(watched);
    // The first receiver of a key is the focused widget, or the window itself
    // when nothing has the focus; parents see the same key again when it is
    // passed up, and other windows (dialogs) keep their keys.
    QWidget* focus = QApplication::focusWidget();
    const bool firstReceiver = focus ? widget == focus : widget == this;
    if (firstReceiver && widget->window() == this) {
      auto* key = static_cast<QKeyEvent*>(event);
      if (type == QEvent::KeyPress) {
        if (const auto c = PreviewCharacter(*key)) {
          bool used = false;
          guarded([this, &used, c] { used = actions_sink_.KeyPress(*c); });
          if (used) {
            event->accept();
            return true;
          }
        }
      } else if (const auto c = CtrlReleaseKey(*key)) {
        guarded([this, c] { actions_sink_.CtrlKeyUp(*c); });
        // Taken here: a dialog opened by the key may move the focus, and
        // the release passed up to the window would then count again.
        event->accept();
        return true;
      }
    }
  }
  return QMainWindow::eventFilter(watched, event);
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (!shutdownDone_) {
    shutdownDone_ = true;
    guarded([this] { actions_sink_.Shutdown(); });
  }
  event->accept();
}

}  // namespace ondaris
