// The review screen's drawing: one long profile drawn into the display
// lists and painted once offscreen, and stepping through typical profiles.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLocale>
#include <QPushButton>
#include <QWheelEvent>
#include <cmath>

#include "platform/picturebox.h"
#include "schermen/frmgraphicview.h"
#include "shell/schermvolgorde.h"
#include "taak/taak.h"

namespace {

using namespace zarvo;
using namespace zarvo::gui;

// A surveyed cross-section: points every few decimetres along a straight
// plan line, heights going up a dike and down again with some noise.
Profiel maakProfiel(const std::string& naam, int punten, double oorsprongX) {
  Profiel p;
  p.naam = naam;
  p.punten.reserve(static_cast<std::size_t>(punten));
  for (int k = 0; k < punten; ++k) {
    const double t = static_cast<double>(k) / punten;
    const double z = 4.0 * std::sin(3.14159 * t) + 0.05 * std::sin(k * 0.7) - 1.0;
    p.punten.push_back({Cel(99.0), Cel(999.0), oorsprongX + 0.3 * k, 550000.0 + 0.4 * k, z});
  }
  return p;
}

Taak taak;

Schermvolgorde& volgorde() {
  static Schermvolgorde v(taak);
  return v;
}

void vul(int profielen, int punten) {
  volgorde().sluitAlles();
  taak = Taak();
  ProfielStore& s = taak.store();
  for (int i = 0; i < profielen; ++i) s.profielen.push_back(maakProfiel("DP" + std::to_string(i), punten, 129000.0 + i));
  s.zetGrenzen(1 + 3 * punten, 1 + 2 * punten);
}

// The review screen as the load leaves it: profile 1 at the factor 0.2.
FrmGraphicView& scherm1000x720() {
  FrmGraphicView& w = volgorde().scherm<FrmGraphicView>();
  w.resize(1000, 720);
  w.begin();
  w.show();
  return w;
}

void paint(FrmGraphicView& w) {
  for (const char* naam : {"picXY", "picDwarsprofiel"}) {
    QPixmap beeld = w.findChild<PictureBox*>(naam)->grab();
    benchmark::DoNotOptimize(beeld);
  }
}

void BM_TekenProfielen(benchmark::State& state) {
  const int punten = static_cast<int>(state.range(0));
  vul(1, punten);
  FrmGraphicView& w = scherm1000x720();
  for (auto _ : state) {
    w.tekenProfielen(1);
    paint(w);
  }
  state.counters["punten"] = punten;
}
BENCHMARK(BM_TekenProfielen)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_TekenProfielenZonderPaint(benchmark::State& state) {
  vul(1, static_cast<int>(state.range(0)));
  FrmGraphicView& w = scherm1000x720();
  for (auto _ : state) w.tekenProfielen(1);
}
BENCHMARK(BM_TekenProfielenZonderPaint)->Arg(10000)->Unit(benchmark::kMillisecond);

// One press of "Volgende >>" or "<< Vorige" with the repaint of both
// pictures that follows it on screen.
void BM_VolgendeVorige(benchmark::State& state) {
  vul(200, 100);
  FrmGraphicView& w = scherm1000x720();
  QPushButton* knop = w.findChild<QPushButton*>(state.range(0) ? "cmdVolgende" : "cmdVorrige");
  for (auto _ : state) {
    knop->click();
    paint(w);
  }
}
BENCHMARK(BM_VolgendeVorige)->Arg(1)->Arg(0)->Unit(benchmark::kMicrosecond);

// One wheel notch on the cross-section of a 10,000-point profile and the
// repaint it causes: in and out about the middle, so every iteration shows
// about as much of the profile (the whole of it at the fit, a quarter of it
// four notches deep, where range(0) starts).
void BM_ZoomWielstap(benchmark::State& state) {
  vul(1, 10000);
  FrmGraphicView& w = scherm1000x720();
  auto* pic = w.findChild<PictureBox*>("picDwarsprofiel");
  const QPointF midden(pic->width() / 2.0, pic->height() / 2.0);
  pic->passend();
  for (int i = 0; i < state.range(0); ++i) pic->zoom(1.25, midden);
  int richting = 1;
  for (auto _ : state) {
    QWheelEvent wiel(midden, pic->mapToGlobal(midden), {}, {0, 120 * richting}, Qt::NoButton, Qt::NoModifier,
                     Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(pic, &wiel);
    QPixmap beeld = pic->grab();
    benchmark::DoNotOptimize(beeld);
    richting = -richting;
  }
}
BENCHMARK(BM_ZoomWielstap)->Arg(0)->Arg(6)->Arg(20)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QLocale::setDefault(QLocale(QLocale::Dutch, QLocale::Netherlands));
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  volgorde().sluitAlles();
  return 0;
}
