// Scrolling the frequency grid over a station list of 100,000 entries: how
// many cells the table model is asked for per scroll step, against the rows
// the grid shows. The grid is a table view over the model, drawn off screen.
//
// Besides the Google Benchmark timings (with the model's counts as counters),
// the program scrolls through the whole list page by page and jumps to
// spread-out places, and exits with 1 when any drawing read a row outside
// the rows in view or more rows than fit in the grid.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QHeaderView>
#include <QScrollBar>
#include <QTableView>
#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>

#include "panel/PanelContext.h"
#include "radio/RadioState.h"
#include "radio/SerialLink.h"
#include "freqfiles/StationGrid.h"
#include "platform/MessageBoxes.h"
#include "platform/qt/QtClock.h"
#include "platform/qt/QtSerialPort.h"
#include "platform/qt/QtTimer.h"
#include "radio/Receiver.h"
#include "radio/ReceiverControls.h"
#include "radio/SerialLink.h"
#include "radio/TuningController.h"
#include "ui/FrequencyGridModel.h"

namespace {

using namespace ondaris;

constexpr int kListRows = 100000;
constexpr int kGridWidth = 729;
constexpr int kGridHeight = 157;
constexpr int kRowHeight = 20;

class SilentMessages : public MessageBoxes {
 public:
  void showMessage(const std::string& text) override { std::fprintf(stderr, "message: %s\n", text.c_str()); }
  bool askYesNo(const std::string&) override { return false; }
};

FrequencyRecord Station(int i) {
  FrequencyRecord r;
  r.Name = "Station " + std::to_string(i);
  r.Freq = std::to_string(100 + (i * 7) % 29900);
  r.Mode = i % 4 == 0 ? "USB" : "AM";
  r.Filter = "6000";
  r.FilterIndex = 1;
  r.AGC = "2";
  r.Step = "5000";
  r.StepIndex = 7;
  r.PBT = "0";
  r.Location = "Somewhere";
  r.Language = i % 3 ? "English" : "Spanish";
  r.OnAir = i % 2 ? "0000" : "1200";
  r.OffAir = "1300";
  r.Notes = "Notes";
  r.Spare = "0";
  r.Lockout = i % 5 == 0 ? "1" : "0";
  return r;
}

// The panel pieces the list's controller works with; nothing is sent (the
// port is never opened and nothing tunes).
struct GridRig {
  QtSerialPort port;
  QtClock clock;
  QtTimer tuningTimer, meterTimer, scanTimer, clockTimer, debounceTimer, pumpTimer;
  SilentMessages messages;
  RadioState state;
  PanelModel panel;
  SerialLink link{port, clock, pumpTimer};
  PanelContext ctx{state, panel, link,
                   PanelTimers{tuningTimer, meterTimer, scanTimer, clockTimer, debounceTimer},
                   clock, messages, '.', ScanStatus{}, PanelFlags{}, {}, {}, {}, {}};
  Receiver receiver{ctx};
  ReceiverControls controls{ctx, receiver};
  TuningController tuning{ctx, receiver, controls};
  StationGrid stations{ctx, receiver, controls, tuning, "/nonexistent/"};
  FrequencyGridModel model;
  QTableView view;

  GridRig() {
    for (int i = 0; i < kListRows; ++i) stations.list.AppendRecord(Station(i));
    stations.list.ResetRowOrders();
    state.LastFreqFile = "Big.320";
    stations.RefreshFrequencyGrid();
    model.setController(&stations);

    view.setModel(&model);
    view.verticalHeader()->setVisible(false);
    view.verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view.verticalHeader()->setDefaultSectionSize(kRowHeight);
    view.setSelectionBehavior(QAbstractItemView::SelectRows);
    view.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    view.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    view.resize(kGridWidth, kGridHeight);
    for (int c = 0; c < GridColumnCount; ++c)
      view.setColumnWidth(c, stations.grid.ColWidths[static_cast<std::size_t>(c)]);
    view.show();
    QApplication::processEvents();
  }

  // Rows that fit, the last one maybe in part.
  int visibleRows() const { return view.viewport()->height() / kRowHeight + 1; }
  int pageRows() const { return std::max(1, view.viewport()->height() / kRowHeight); }

  // Scrolls so that `top` (1-based) is the first row and draws the grid.
  void showFrom(int top) {
    view.verticalScrollBar()->setValue(top - 1);
    view.viewport()->repaint();
  }
  // The first and last rows drawn (1-based), partly shown ones included:
  // at the end of the list the last row sits at the bottom edge.
  int firstRowInView() const { return view.rowAt(0) + 1; }
  int lastRowInView() const {
    const int row = view.rowAt(view.viewport()->height() - 1);
    return row < 0 ? model.rowCount() : row + 1;
  }
};

GridRig* g_rig = nullptr;

void BM_ScrollOnePage(benchmark::State& state) {
  GridRig& rig = *g_rig;
  int top = 1;
  long long fetches = 0;
  long long rows = 0;
  long long steps = 0;
  for (auto _ : state) {
    top += rig.pageRows();
    if (top > kListRows) top = 1;
    rig.model.resetFetchCounters();
    rig.showFrom(top);
    fetches += rig.model.fetchCount();
    rows += static_cast<long long>(rig.model.rowsFetched().size());
    ++steps;
  }
  state.counters["cell_reads_per_step"] = static_cast<double>(fetches) / static_cast<double>(steps);
  state.counters["rows_read_per_step"] = static_cast<double>(rows) / static_cast<double>(steps);
  state.counters["rows_in_view"] = rig.visibleRows();
  state.counters["rows_in_list"] = kListRows;
}
BENCHMARK(BM_ScrollOnePage);

void BM_JumpAcrossTheList(benchmark::State& state) {
  GridRig& rig = *g_rig;
  unsigned next = 12345;
  long long rows = 0;
  long long steps = 0;
  for (auto _ : state) {
    next = next * 1103515245u + 12345u;
    const int top = static_cast<int>(next % kListRows) + 1;
    rig.model.resetFetchCounters();
    rig.showFrom(top);
    rows += static_cast<long long>(rig.model.rowsFetched().size());
    ++steps;
  }
  state.counters["rows_read_per_jump"] = static_cast<double>(rows) / static_cast<double>(steps);
  state.counters["rows_in_view"] = rig.visibleRows();
}
BENCHMARK(BM_JumpAcrossTheList);

// Every drawing must stay within the rows in view. Returns false on the
// first that does not.
bool CheckOnlyVisibleRowsAreRead(GridRig& rig) {
  const int visible = rig.visibleRows();
  long long totalReads = 0;
  long long draws = 0;
  std::size_t mostRows = 0;
  auto check = [&](int top) {
    rig.model.resetFetchCounters();
    rig.showFrom(top);
    const int first = rig.firstRowInView();
    const int last = rig.lastRowInView();
    const auto& rows = rig.model.rowsFetched();
    if (rows.empty() || *rows.begin() < first || *rows.rbegin() > last || static_cast<int>(rows.size()) > visible) {
      std::fprintf(stderr, "FAIL: rows %d..%d in view: read rows %d..%d (%zu rows), at most %d fit\n", first, last,
                   rows.empty() ? 0 : *rows.begin(), rows.empty() ? 0 : *rows.rbegin(), rows.size(), visible);
      return false;
    }
    totalReads += rig.model.fetchCount();
    mostRows = std::max(mostRows, rows.size());
    ++draws;
    return true;
  };
  for (int top = 1; top <= kListRows; top += rig.pageRows())
    if (!check(top)) return false;
  for (int top : {kListRows, kListRows / 2, 1, 77777, 3})
    if (!check(top)) return false;
  std::printf("grid of %d rows, %d in view: %lld drawings, at most %zu rows and %.1f cell reads per drawing\n",
              kListRows, visible, draws, mostRows, static_cast<double>(totalReads) / static_cast<double>(draws));
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  auto rig = std::make_unique<GridRig>();
  g_rig = rig.get();

  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();

  const bool ok = CheckOnlyVisibleRowsAreRead(*rig);
  g_rig = nullptr;
  return ok ? 0 : 1;
}
