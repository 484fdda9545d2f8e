#include "ui/LogDisplayView.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>
#include <exception>

#include "logbook/LogDisplay.h"
#include "ui/ListGrid.h"
#include "ui/LogGridModel.h"
#include "ui/PanelStyle.h"

namespace ondaris {

namespace {

constexpr int RowHeight = 21;

std::string Latin(const QString& text) { return text.toLatin1().toStdString(); }

}  // namespace

LogDisplayView::LogDisplayView(LogDisplay& display, QWidget* parent)
    : QWidget(parent, Qt::Window), display_(display) {
  setObjectName(QStringLiteral("TLogDisplayDlg"));
  setWindowTitle(QString::fromLatin1(LogDisplay::Caption));
  resize(768, 513);
  auto* layout = new QVBoxLayout(this);

  grid_ = new QTableView(this);
  grid_->setObjectName(QStringLiteral("LogGrid"));
  grid_->setToolTip(QStringLiteral("Relocate or resize columns, click headers to sort"));
  model_ = new LogGridModel(display_, this);
  grid_->setModel(model_);
  SetUpListGrid(grid_, {LogGridModel::PlainColour(), 6, 2, RowHeight, QAbstractItemView::ContiguousSelection});
  grid_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  grid_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  grid_->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
  QHeaderView* header = grid_->horizontalHeader();
  header->setSectionsMovable(true);
  header->setMinimumSectionSize(1);
  header->viewport()->installEventFilter(this);
  layout->addWidget(grid_, 1);

  connect(grid_->selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this] { reportCursor(); });
  connect(grid_->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] { reportCursor(); });
  connect(grid_, &QAbstractItemView::clicked, this, [this] { act([this] { display_.GridClick(); }); });
  connect(grid_->verticalScrollBar(), &QScrollBar::valueChanged, this, [this](int value) {
    if (!syncing_) display_.GridScrolled(value + 1);
  });
  connect(header, &QHeaderView::sectionResized, this, [this](int column, int, int width) {
    if (!syncing_) display_.GridColumnResized(column, width);
  });
  // The display keeps the column order itself: the header's own move is
  // taken back and the display told, which then shows the moved field there.
  connect(header, &QHeaderView::sectionMoved, this, [this, header](int, int from, int to) {
    if (syncing_) return;
    ++syncing_;
    header->moveSection(to, from);
    --syncing_;
    act([this, from, to] { display_.GridColumnMoved(from, to); });
  });

  // The find row.
  auto* findRow = new QHBoxLayout;
  match_ = new QCheckBox(QStringLiteral("Match Case"), this);
  match_->setObjectName(QStringLiteral("MatchBox"));
  match_->setToolTip(QStringLiteral("Select case-sensitive or case-insensitive searching"));
  connect(match_, &QCheckBox::toggled, this, [this](bool on) { display_.MatchBoxClick(on); });
  find_ = new QLineEdit(this);
  find_->setObjectName(QStringLiteral("FindEdit"));
  findRow->addWidget(match_);
  findRow->addWidget(button("FindBtn", "Find First", "Find the first occurrence of the search string.",
                            [this] { display_.FindBtnClick(); }));
  findRow->addWidget(find_, 1);
  findNext_ = button("FindNextBtn", "Find Next", "Find each subsequent occurrence of the search string.",
                     [this] { display_.FindNextBtnClick(); });
  findRow->addWidget(findNext_);
  findRow->addWidget(button("ExtractBtn", "Find-Sort", "Find all entries that match your search string.",
                            [this] { display_.ExtractBtnClick(); }));
  layout->addLayout(findRow);

  // The boxes of the shown record.
  LogEditBoxes& b = display_.boxes;
  struct Box {
    const char* name;
    const char* label;
    std::string* text;
    const char* hint;
  };
  const Box boxes[] = {
      {"CodeEdit", "Code", &b.CodeEdit, nullptr},
      {"FreqEdit", "Freq", &b.FreqEdit, nullptr},
      {"ModeEdit", "Mode", &b.ModeEdit, nullptr},
      {"DateEdit", "Date", &b.DateEdit, nullptr},
      {"TimeEdit", "Time", &b.TimeEdit, nullptr},
      {"OffEdit", "Time Off", &b.OffEdit, nullptr},
      {"Rpt1Edit", "Rpt1", &b.Rpt1Edit, nullptr},
      {"Rpt2Edit", "Rpt2", &b.Rpt2Edit, nullptr},
      {"User1Edit", "Country", &b.User1Edit, nullptr},
      {"User2Edit", "Misc", &b.User2Edit, nullptr},
      {"SentEdit", "Sent", &b.SentEdit, nullptr},
      {"RcvdEdit", "QSL Rcv'd", &b.RcvdEdit, nullptr},
      {"IDEdit", "ID", &b.IDEdit, "Station identification - 80 characters max"},
      {"AttachEdit", "Attach", &b.AttachEdit, "Attach a file with the Attach button or type a URL"},
  };
  auto* form = new QGridLayout;
  int at = 0;
  for (const Box& box : boxes) {
    auto* edit = new QLineEdit(this);
    edit->setObjectName(QString::fromLatin1(box.name));
    if (box.hint) edit->setToolTip(QString::fromLatin1(box.hint));
    const bool wide = at >= 12;  // ID and Attach take a whole row each
    const int row = wide ? 2 + (at - 12) : at / 6;
    const int column = wide ? 0 : (at % 6) * 2;
    form->addWidget(new QLabel(QString::fromLatin1(box.label), this), row, column);
    form->addWidget(edit, row, column + 1, 1, wide ? 11 : 1);
    edits_.emplace_back(edit, box.text);
    ++at;
  }
  notes_ = new QPlainTextEdit(this);
  notes_->setObjectName(QStringLiteral("NotesMemo"));
  notes_->setToolTip(QStringLiteral("Notes - 2048 characters max"));
  notes_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  notes_->setFixedHeight(48);
  form->addWidget(new QLabel(QStringLiteral("Notes"), this), 4, 0);
  form->addWidget(notes_, 4, 1, 1, 11);
  sig_ = new QLineEdit(this);
  sig_->setObjectName(QStringLiteral("SigEdit"));
  form->addWidget(new QLabel(QStringLiteral("Sig"), this), 5, 0);
  form->addWidget(sig_, 5, 1, 1, 11);
  layout->addLayout(form);

  // The buttons.
  auto* row1 = new QHBoxLayout;
  save_ = button("SaveBtn", "Save File", "Saves the file.  Red = File has been changed.",
                 [this] { display_.SaveBtnClick(); });
  row1->addWidget(save_);
  row1->addWidget(button("ReplBtn", "Replace Rec",
                         "Replace the selected record with the edited data from the boxes above.",
                         [this] { display_.ReplBtnClick(); }));
  row1->addWidget(button("DeleteBtn", "Delete Rec", "Delete the selected record or block of records",
                         [this] { display_.DeleteBtnClick(); }));
  row1->addWidget(button("AttachBtn", "Attach", "Attach a file with the Attach button or type a URL",
                         [this] { display_.AttachBtnClick(); }));
  row1->addWidget(button("ExecBtn", "Execute", "Opens the file or connects to the URL entered in the Attach field",
                         [this] { display_.ExecBtnClick(); }));
  QPushButton* exitButton =
      button("ExitBtn", "Close", "Exit the log display screen", [this] { display_.ExitBtnClick(); });
  QFont bold = exitButton->font();
  bold.setBold(true);
  exitButton->setFont(bold);
  row1->addWidget(exitButton);
  layout->addLayout(row1);

  auto* row2 = new QHBoxLayout;
  for (const LogHookButton& hooked : LogHookButtons) {
    const auto hook = hooked.hook;
    exportButtons_.push_back(
        button(hooked.name, hooked.caption, hooked.hint, [this, hook] { display_.HookBtnClick(hook); }));
    row2->addWidget(exportButtons_.back());
  }
  row2->addWidget(button("SortFreqIDBtn", "Sort Freq/ID", "Sort by Code, Date, Freq, then ID",
                         [this] { display_.SortBtnClick(LogButtonSort::FreqID); }));
  row2->addWidget(button("SortDateFreqBtn", "Sort Date/Freq", "Sort by Code, Date, then Frequency",
                         [this] { display_.SortBtnClick(LogButtonSort::DateFreq); }));
  row2->addWidget(button("SortCtryFreqBtn", "Sort Ctry/Freq", "Sort by Code, Date, Country, then Frequency",
                         [this] { display_.SortBtnClick(LogButtonSort::CtryFreq); }));
  row2->addWidget(button("SortFreqCtryBtn", "Sort Freq/Ctry", "Sort by Code, Date, Frequency, then Country",
                         [this] { display_.SortBtnClick(LogButtonSort::FreqCtry); }));
  layout->addLayout(row2);

  display_.show = [this](LogDisplay&) {
    push();
    hiding_ = false;
    show();
    raise();
    activateWindow();
    grid_->setFocus(Qt::OtherFocusReason);
  };
  display_.hide = [this] {
    hiding_ = true;
    hide();
  };
  display_.gridChanged = [this] {
    if (!syncing_) pushGrid();
  };
}

LogDisplayView::~LogDisplayView() {
  display_.show = nullptr;
  display_.hide = nullptr;
  display_.gridChanged = nullptr;
}

QPushButton* LogDisplayView::button(const char* name, const char* caption, const char* hint,
                                    const std::function<void()>& action) {
  auto* b = new QPushButton(QString::fromLatin1(caption), this);
  b->setObjectName(QString::fromLatin1(name));
  if (hint) b->setToolTip(QString::fromLatin1(hint));
  b->setAutoDefault(false);
  connect(b, &QPushButton::clicked, this, [this, action] { act(action); });
  return b;
}

template <class Action>
void LogDisplayView::act(Action&& action) {
  pull();
  try {
    ++syncing_;
    action();
    --syncing_;
  } catch (const std::exception& error) {
    --syncing_;
    if (onError) onError(error.what());
  }
  if (display_.isOpen()) push();
}

void LogDisplayView::pull() {
  for (auto& [edit, text] : edits_) *text = Latin(edit->text());
  // The memo breaks lines with LF alone; as CR LF a break becomes one blank.
  display_.boxes.NotesMemo = Latin(notes_->toPlainText().replace(QLatin1Char('\n'), QStringLiteral("\r\n")));
  display_.FindEdit = Latin(find_->text());
  display_.SigEdit = Latin(sig_->text());
}

void LogDisplayView::push() {
  for (auto& [edit, text] : edits_) edit->setText(PanelText(*text));
  notes_->setPlainText(PanelText(display_.boxes.NotesMemo));
  find_->setText(PanelText(display_.FindEdit));
  sig_->setText(PanelText(display_.SigEdit));
  {
    const QSignalBlocker block(match_);
    match_->setChecked(display_.MatchCase);
  }
  findNext_->setEnabled(display_.FindNextEnabled);
  for (std::size_t i = 0; i < exportButtons_.size(); ++i)
    exportButtons_[i]->setEnabled(static_cast<bool>(display_.*LogHookButtons[i].hook));
  pushGrid();
}

void LogDisplayView::pushGrid() {
  ++syncing_;
  model_->refresh();
  QHeaderView* header = grid_->horizontalHeader();
  for (int p = 0; p < LogGridColumns; ++p) header->resizeSection(p, display_.layout.WidthOfGridColumn(p));
  // The Save button: maroon and bold while the log differs from its file.
  QFont font = save_->font();
  font.setBold(display_.SaveBtnChanged());
  save_->setFont(font);
  save_->setStyleSheet(display_.SaveBtnChanged() ? QStringLiteral("color: rgb(128, 0, 0);") : QString());

  const LogGridCursor& cursor = display_.grid;
  const int rows = model_->rowCount();
  QItemSelectionModel* selection = grid_->selectionModel();
  if (display_.table.IsRecord(cursor.Row)) {
    const int top = std::clamp(std::min(cursor.Top, cursor.Row), 1, rows);
    const int bottom = std::clamp(std::max(cursor.Bottom, cursor.Row), 1, rows);
    selection->setCurrentIndex(model_->index(cursor.Row - 1, 0), QItemSelectionModel::NoUpdate);
    selection->select(QItemSelection(model_->index(top - 1, 0), model_->index(bottom - 1, LogGridColumns - 1)),
                      QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  } else {
    selection->clear();
  }
  grid_->verticalScrollBar()->setValue(cursor.TopRow - 1);
  grid_->scrollTo(model_->index(std::clamp(cursor.Row, 1, std::max(rows, 1)) - 1, 0));
  display_.grid.TopRow = grid_->verticalScrollBar()->value() + 1;
  display_.grid.VisibleRows = std::max(grid_->viewport()->height() / RowHeight, 1);
  grid_->horizontalScrollBar()->setValue(0);
  --syncing_;
}

void LogDisplayView::reportCursor() {
  if (syncing_) return;
  const QModelIndex current = grid_->currentIndex();
  const int row = current.isValid() ? current.row() + 1 : display_.grid.Row;
  int top = row, bottom = row;
  const QModelIndexList rows = grid_->selectionModel()->selectedRows();
  if (!rows.isEmpty()) {
    top = bottom = rows.front().row() + 1;
    for (const QModelIndex& index : rows) {
      top = std::min(top, index.row() + 1);
      bottom = std::max(bottom, index.row() + 1);
    }
  }
  display_.GridCursorMoved(row, top, bottom);
}

bool LogDisplayView::eventFilter(QObject* watched, QEvent* event) {
  QHeaderView* header = grid_->horizontalHeader();
  if (watched == header->viewport() && event->type() == QEvent::MouseButtonRelease) {
    const int x = static_cast<QMouseEvent*>(event)->position().toPoint().x();
    const int column = header->logicalIndexAt(x);
    if (column >= 0) {
      // The display measures its columns from x = 1 with one pixel between them.
      int left = 1;
      for (int p = 0; p < column; ++p) left += display_.layout.WidthOfGridColumn(p) + 1;
      const int gridX = left + x - header->sectionViewportPosition(column);
      // After the header has finished with the release (a column move reaches
      // the display first, so that the release that ends a drag does not sort).
      QTimer::singleShot(0, this, [this, gridX] {
        if (display_.isOpen()) act([this, gridX] { display_.GridMouseUp(gridX, 0, 1); });
      });
    }
  }
  return QWidget::eventFilter(watched, event);
}

void LogDisplayView::closeEvent(QCloseEvent* event) {
  if (hiding_ || !display_.isOpen()) {
    event->accept();
    return;
  }
  bool closed = true;
  act([this, &closed] { closed = display_.ExitBtnClick(); });
  if (closed) {
    event->accept();
  } else {
    event->ignore();
  }
}

}  // namespace ondaris
