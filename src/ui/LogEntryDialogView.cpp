#include "ui/LogEntryDialogView.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>
#include <exception>

#include "logbook/LogEntryDialog.h"
#include "ui/PanelLabel.h"
#include "ui/PanelStyle.h"

namespace ondaris {

namespace {

std::string Latin(const QString& text) { return text.toLatin1().toStdString(); }

std::string& ComboText(LogEntryDialog& m, int list) {
  switch (static_cast<LogPickList>(list)) {
    case LogPickList::Code: return m.CodeCombo;
    case LogPickList::Mode: return m.ModeCombo;
    case LogPickList::Country: return m.UserCombo;
    case LogPickList::Misc: return m.User2Edit;
    case LogPickList::ID: break;
  }
  return m.IDEdit;
}

}  // namespace

LogEntryDialogView::LogEntryDialogView(LogEntryDialog& model, QWidget* parent) : QDialog(parent), model_(model) {
  setObjectName(QStringLiteral("TLogEntryDlg"));
  setWindowTitle(QString::fromLatin1(LogEntryDialog::Caption));
  resize(517, 350);
  const QString navy = QStringLiteral("color: rgb(0, 0, 128);");
  auto* form = new QGridLayout;

  auto combo = [&](const char* name, const char* label, LogPickList list, const char* hint, int row, int column) {
    auto* box = new QComboBox(this);
    box->setObjectName(QString::fromLatin1(name));
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setToolTip(QString::fromLatin1(hint));
    box->setStyleSheet(navy);
    form->addWidget(new QLabel(QString::fromLatin1(label), this), row, column);
    form->addWidget(box, row, column + 1);
    combos_.emplace_back(box, static_cast<int>(list));
    return box;
  };
  auto edit = [&](const char* name, const char* label, std::string* text, const char* hint, int row, int column) {
    auto* box = new QLineEdit(this);
    box->setObjectName(QString::fromLatin1(name));
    box->setToolTip(QString::fromLatin1(hint));
    box->setStyleSheet(navy);
    form->addWidget(new QLabel(QString::fromLatin1(label), this), row, column);
    form->addWidget(box, row, column + 1);
    edits_.emplace_back(box, text);
    return box;
  };

  // In tab order.
  QWidget* chain[] = {
      combo("CodeCombo", "Code", LogPickList::Code,
            "Enter your user-defined service code, or pick one from the list of your previous entries.", 0, 0),
      edit("FreqText", "Freq", &model_.FreqText, "The station's frequency", 0, 2),
      combo("ModeCombo", "Mode", LogPickList::Mode,
            "The station's mode.  You  can enter one or pick from the list of your previous entries.", 0, 4),
      edit("DateText", "Date", &model_.DateText, "Log entry UTC date.", 1, 0),
      edit("TimeText", "Time", &model_.TimeText, "Log entry time or start time.  Asterisk designates signon.", 1, 2),
      edit("OffEdit", "Off", &model_.OffEdit, "Off time.  Asterisk designates signoff.", 1, 4),
      edit("Rpt1Edit", "Rpt1", &model_.Rpt1Edit, "First signal report", 2, 0),
      edit("Rpt2Edit", "Rpt2", &model_.Rpt2Edit, "Second signal report", 2, 2),
      combo("UserCombo", "Country", LogPickList::Country,
            "Enter the country, or pick one from the list of your previous entries.", 3, 0),
      combo("User2Edit", "Misc", LogPickList::Misc,
            "Enter miscellaneous data, or pick one from the list of previous entries", 3, 2),
      combo("IDEdit", "ID", LogPickList::ID, "Enter the ID, or pick one from the list of your previous entries", 4,
            0),
  };
  auto* add = new QToolButton(this);
  add->setObjectName(QStringLiteral("AddBtn"));
  add->setText(QStringLiteral("Add"));
  add->setToolTip(QStringLiteral("Remember the ID Field data"));
  add->setFocusPolicy(Qt::NoFocus);
  form->addWidget(add, 4, 2);
  connect(add, &QToolButton::clicked, this, [this] { guarded([this] { model_.AddBtnClick(); }); });

  notes_ = new QPlainTextEdit(this);
  notes_->setObjectName(QStringLiteral("NotesMemo"));
  notes_->setToolTip(QStringLiteral("Notes field.  Up to 2048 characters."));
  notes_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  notes_->setStyleSheet(navy);
  notes_->setTabChangesFocus(true);

  clock_ = new PanelLabel(this);
  clock_->setObjectName(QStringLiteral("ClkPanel"));
  clock_->setToolTip(QStringLiteral("Click to update start time and date fields"));
  clock_->setFont(PanelTextFont(16, true));
  clock_->setAlignment(Qt::AlignCenter);
  connect(clock_, &PanelLabel::clicked, this, [this] { guarded([this] { model_.ClkPanelClick(); }); });

  auto* write = new QPushButton(QStringLiteral("Write to Log"), this);
  write->setObjectName(QStringLiteral("WriteBtn"));
  write->setToolTip(QStringLiteral("Write your entry to the log.  (You can edit it later.)"));
  write->setDefault(true);
  connect(write, &QPushButton::clicked, this, &LogEntryDialogView::writeClicked);
  auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
  cancel->setObjectName(QStringLiteral("CancelBtn"));
  cancel->setToolTip(QStringLiteral("Exit without writing to the log."));
  cancel->setAutoDefault(false);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(new QLabel(QStringLiteral("Notes"), this));
  layout->addWidget(notes_, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(clock_, 1);
  buttons->addWidget(write);
  buttons->addWidget(cancel);
  layout->addLayout(buttons);

  QWidget* previous = nullptr;
  for (QWidget* next : chain) {
    if (previous) setTabOrder(previous, next);
    previous = next;
  }
  setTabOrder(previous, notes_);
  setTabOrder(notes_, write);
  setTabOrder(write, cancel);

  model_.show = [this](LogEntryDialog&) {
    push();
    combos_.front().first->setFocus(Qt::OtherFocusReason);
    exec();
  };
  model_.clockChanged = [this] { clock_->setText(PanelText(model_.ClkPanel)); };
}

LogEntryDialogView::~LogEntryDialogView() {
  model_.show = nullptr;
  model_.clockChanged = nullptr;
}

void LogEntryDialogView::guarded(const std::function<void()>& action) {
  pull();
  try {
    action();
  } catch (const std::exception& error) {
    if (onError) onError(error.what());
  }
  push();
}

void LogEntryDialogView::writeClicked() {
  bool closes = true;
  guarded([this, &closes] { closes = model_.WriteBtnClick(); });
  if (closes) accept();
}

void LogEntryDialogView::pull() {
  for (auto& [box, list] : combos_) ComboText(model_, list) = Latin(box->currentText());
  for (auto& [box, text] : edits_) *text = Latin(box->text());
  // The memo breaks lines with LF alone; as CR LF a break becomes one blank.
  model_.NotesMemo = Latin(notes_->toPlainText().replace(QLatin1Char('\n'), QStringLiteral("\r\n")));
}

void LogEntryDialogView::push() {
  for (auto& [box, list] : combos_) {
    box->clear();
    for (const std::string& entry : model_.lists[static_cast<std::size_t>(list)]) box->addItem(PanelText(entry));
    box->setEditText(PanelText(ComboText(model_, list)));
  }
  for (auto& [box, text] : edits_) box->setText(PanelText(*text));
  notes_->setPlainText(PanelText(model_.NotesMemo));
  clock_->setText(PanelText(model_.ClkPanel));
}

}  // namespace ondaris
