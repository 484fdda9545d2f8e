#include "ui/LogPreviewView.h"

#include <QClipboard>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "logbook/LogPreview.h"
#include "ui/PanelStyle.h"

namespace ondaris {

LogPreviewView::LogPreviewView(LogPreview& model, QWidget* parent) : QDialog(parent), model_(model) {
  setObjectName(QStringLiteral("TLogPreviewDlg"));
  setWindowTitle(QString::fromLatin1(LogPreview::Caption));
  resize(610, 433);
  memo_ = new QPlainTextEdit(this);
  memo_->setObjectName(QStringLiteral("PreviewMemo"));
  memo_->setReadOnly(true);
  memo_->setLineWrapMode(QPlainTextEdit::NoWrap);
  memo_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  QFont courier(QStringLiteral("Courier New"));
  courier.setStyleHint(QFont::TypeWriter);
  courier.setFixedPitch(true);
  memo_->setFont(courier);

  auto* copy = new QPushButton(QStringLiteral("Copy to Clipboard"), this);
  copy->setObjectName(QStringLiteral("ClipbrdCopyBtn"));
  copy->setToolTip(QStringLiteral("Copy all text to clipboard"));
  copy->setAutoDefault(false);
  connect(copy, &QPushButton::clicked, this, &LogPreviewView::copyClicked);
  auto* close = new QPushButton(QStringLiteral("Close"), this);
  close->setObjectName(QStringLiteral("OKBtn"));
  close->setDefault(true);
  connect(close, &QPushButton::clicked, this, &QDialog::accept);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(memo_, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(copy);
  buttons->addStretch(1);
  buttons->addWidget(close);
  layout->addLayout(buttons);

  model_.show = [this](LogPreview& preview) {
    setWindowTitle(PanelText(preview.title));
    memo_->setPlainText(PanelText(preview.text));
    exec();
  };
  model_.copyToClipboard = [](const std::string& text) {
    if (QClipboard* clipboard = QGuiApplication::clipboard()) clipboard->setText(PanelText(text));
  };
}

LogPreviewView::~LogPreviewView() {
  model_.show = nullptr;
  model_.copyToClipboard = nullptr;
}

void LogPreviewView::copyClicked() {
  memo_->selectAll();
  model_.ClipbrdCopyBtnClick();
}

}  // namespace ondaris
