#include "schermen/frmgraphicview.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QShortcut>
#include <QUndoStack>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "platform/beeldbalk.h"
#include "platform/berichten.h"
#include "platform/instellingen.h"
#include "platform/picturebox.h"
#include "platform/profielnavigatie.h"
#include "platform/qbcolor.h"
#include "platform/regionaal.h"
#include "platform/trajectoverzicht.h"
#include "schermen/schaalbalk.h"
#include "basis/profielgeometrie.h"

namespace zarvo::gui {

namespace {

const QString sleutelSchaal = QStringLiteral("beoordeling/schaal");

// The median plan distance between successive points that do not coincide;
// infinity for a profile without any.
double gewoneStap(const std::vector<Punt>& punten) {
  std::vector<double> stappen;
  stappen.reserve(punten.size());
  for (std::size_t k = 1; k < punten.size(); ++k) {
    const double d = std::hypot(punten[k].x - punten[k - 1].x, punten[k].y - punten[k - 1].y);
    if (d > 0) stappen.push_back(d);
  }
  if (stappen.empty()) return std::numeric_limits<double>::infinity();
  const auto midden = stappen.begin() + static_cast<std::ptrdiff_t>(stappen.size() / 2);
  std::nth_element(stappen.begin(), midden, stappen.end());
  return *midden;
}

// Stand-in extent (metres) for a profile that has none along an axis: one
// plan position only, or zero length. The points are then drawn in a window
// of this size instead of a window of size zero.
constexpr double minimaleMaat = 1.0;

const QColor rood(255, 0, 0);

QLabel* maakLabel(const QString& naam, QWidget* ouder) {
  auto* l = new QLabel(ouder);
  l->setObjectName(naam);
  return l;
}

QPushButton* maakKnop(const QString& naam, const QString& tekst, QWidget* ouder) {
  auto* k = new QPushButton(tekst, ouder);
  k->setObjectName(naam);
  // Enter on a focused button presses that button, not the form's OK.
  k->setAutoDefault(true);
  return k;
}

}  // namespace

FrmGraphicView::FrmGraphicView(Taak& taak, QWidget* ouder) : QWidget(ouder), taak_(taak) {
  setObjectName("frmGraphicView");
  setWindowTitle(QStringLiteral("GraphicView"));
  bouwScherm();

  connect(navigatie_, &ProfielNavigatie::volgende, this, &FrmGraphicView::volgende);
  connect(navigatie_, &ProfielNavigatie::vorige, this, &FrmGraphicView::vorige);
  connect(navigatie_, &ProfielNavigatie::springNaar, this, &FrmGraphicView::naarProfiel);
  connect(cmdVerwijderDWP_, &QPushButton::clicked, this, &FrmGraphicView::verwijder);
  connect(scrollSchaal_, &QScrollBar::valueChanged, this, &FrmGraphicView::schaalVeranderd);
  connect(cmdUpdateHuplijn_, &QPushButton::clicked, this, &FrmGraphicView::updateHulplijn);
  connect(cmdOK_, &QPushButton::clicked, this, &FrmGraphicView::ok);
  connect(cmdEnd_, &QPushButton::clicked, this, &FrmGraphicView::stop);
  connect(picDwarsprofiel_, &PictureBox::muisBeweegt, this, &FrmGraphicView::muisOpDwarsprofiel);
  connect(picXY_, &PictureBox::muisBeweegt, this, &FrmGraphicView::muisOpXY);
  connect(overzicht_, &TrajectOverzicht::gekozen, this, &FrmGraphicView::naarProfiel);

  navigatie_->installeerSneltoetsen(this, {picXY_, picDwarsprofiel_});
  // Delete inside a text field still deletes text: line edits claim the key
  // before a shortcut sees it.
  auto* wis = new QShortcut(QKeySequence(Qt::Key_Delete), this);
  wis->setContext(Qt::WidgetWithChildrenShortcut);
  connect(wis, &QShortcut::activated, cmdVerwijderDWP_, &QPushButton::click);
  verbindAltO(this, cmdOK_);
}

void FrmGraphicView::bouwScherm() {
  picXY_ = new PictureBox(this);
  picXY_->setObjectName("picXY");
  picXY_->setForeColor(Qt::black);
  picDwarsprofiel_ = new PictureBox(this);
  picDwarsprofiel_->setObjectName("picDwarsprofiel");
  lineTop_ = picDwarsprofiel_->maakLijn("lineTop");
  lineTop_->setKleur(qbColor(1));
  lineBottom_ = picDwarsprofiel_->maakLijn("lineBottom");
  lineBottom_->setKleur(qbColor(2));
  lineBottom_->setStijl(Qt::DashLine);

  lblActiefProfiel_ = maakLabel("lblActiefProfiel", this);
  QFont vet = lblActiefProfiel_->font();
  vet.setBold(true);
  lblActiefProfiel_->setFont(vet);
  // A very long profile name must not widen the window: the label takes
  // the width the layout gives it and clips the rest.
  lblActiefProfiel_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  lblZmax_ = maakLabel("lblZmax", this);
  lblZmin_ = maakLabel("lblZmin", this);
  lblLengte_ = maakLabel("lblLengte", this);

  // Left: the two pictures, the cross-section with its edge read-outs, and
  // the navigation bar underneath.
  auto* dwars = new QGridLayout;
  dwars->addWidget(lblZmax_, 0, 0, Qt::AlignRight | Qt::AlignTop);
  dwars->addWidget(lblZmin_, 1, 0, Qt::AlignRight | Qt::AlignBottom);
  dwars->addWidget(picDwarsprofiel_, 0, 1, 2, 1);
  dwars->addWidget(lblLengte_, 2, 1, Qt::AlignRight);
  dwars->setRowStretch(0, 1);
  dwars->setRowStretch(1, 1);
  dwars->setColumnStretch(1, 1);

  navigatie_ = new ProfielNavigatie(this);

  auto* links = new QVBoxLayout;
  links->addWidget(lblActiefProfiel_);
  const auto [balkXY, balkDwarsprofiel] = maakBeeldbalken();
  overzicht_ = new TrajectOverzicht(this);
  auto* plan = new QHBoxLayout;
  plan->addWidget(picXY_, 2);
  plan->addWidget(overzicht_, 1);
  links->addLayout(plan, 1);
  links->addWidget(balkXY);
  links->addLayout(dwars, 1);
  links->addWidget(balkDwarsprofiel);
  links->addWidget(navigatie_);

  // Right: the controls.
  lblAantalProfielen_ = maakLabel("lblAantalProfielen", this);
  auto* telling = new QHBoxLayout;
  telling->addWidget(new QLabel(QStringLiteral("Aantal profielen:"), this));
  telling->addWidget(lblAantalProfielen_, 1);

  cmdVerwijderDWP_ = maakKnop("cmdVerwijderDWP", QStringLiteral("Verwijder dwarsprofiel"), this);
  cmdOngedaan_ = maakKnop("cmdOngedaan", QStringLiteral("Ongedaan maken"), this);
  cmdOpnieuw_ = maakKnop("cmdOpnieuw", QStringLiteral("Opnieuw"), this);
  cmdOngedaan_->setEnabled(false);
  cmdOpnieuw_->setEnabled(false);
  auto* ongedaanRij = new QHBoxLayout;
  ongedaanRij->addWidget(cmdOngedaan_);
  ongedaanRij->addWidget(cmdOpnieuw_);

  // The names the deleted-profile list will hold, in the order of deletion.
  vakVerwijderd_ = new QGroupBox(this);
  lstVerwijderd_ = new QListWidget(vakVerwijderd_);
  lstVerwijderd_->setObjectName("lstVerwijderd");
  lstVerwijderd_->setToolTip(QStringLiteral("\"Ongedaan maken\" zet het laatst verwijderde profiel terug"));
  lstVerwijderd_->setSelectionMode(QAbstractItemView::NoSelection);
  lstVerwijderd_->setFocusPolicy(Qt::NoFocus);
  // A few lines: the right-hand column must still fit a laptop screen.
  lstVerwijderd_->setMaximumHeight(lstVerwijderd_->fontMetrics().lineSpacing() * 5 + 8);
  auto* verwijderdRij = new QVBoxLayout(vakVerwijderd_);
  verwijderdRij->addWidget(lstVerwijderd_);

  auto* schaalVak = new QGroupBox(QStringLiteral("Set schaalfactor ( Z=f*L)"), this);
  scrollSchaal_ = new SchaalBalk(schaalVak);
  scrollSchaal_->setObjectName("scrollSchaal");
  scrollSchaal_->zetOudMin(1);
  scrollSchaal_->zetOudMax(100);
  // The scale the user last chose, in this session or an earlier one.
  scrollSchaal_->setValue(onthoudenGetal(sleutelSchaal).value_or(20));
  lblSchaalfactor_ = maakLabel("lblSchaalfactor", schaalVak);
  auto* schaalRij = new QVBoxLayout(schaalVak);
  schaalRij->addWidget(scrollSchaal_);
  schaalRij->addWidget(lblSchaalfactor_);

  auto* offsetVak = new QGroupBox(QStringLiteral("Offset hulplijn t.o.v. maximale Z"), this);
  // The offset is read with the regional separator, so the start text is
  // written with it too.
  txtOffsetZmax_ = new QLineEdit(getalNaarTekstRegionaal(-0.5), offsetVak);
  txtOffsetZmax_->setObjectName("txtOffsetZmax");
  cmdUpdateHuplijn_ = maakKnop("cmdUpdateHuplijn", QStringLiteral("Update hulplijn"), offsetVak);
  auto* offsetRij = new QHBoxLayout(offsetVak);
  offsetRij->addWidget(txtOffsetZmax_, 1);
  offsetRij->addWidget(cmdUpdateHuplijn_);

  auto* arrayVak = new QGroupBox(QStringLiteral("Array eigenschappen"), this);
  lblRijen_ = maakLabel("lblRijen", arrayVak);
  lblKolommen_ = maakLabel("lblKolommen", arrayVak);
  auto* arrayRooster = new QGridLayout(arrayVak);
  arrayRooster->addWidget(new QLabel(QStringLiteral("Rijen:"), arrayVak), 0, 0);
  arrayRooster->addWidget(lblRijen_, 0, 1);
  arrayRooster->addWidget(new QLabel(QStringLiteral("Kolommen:"), arrayVak), 1, 0);
  arrayRooster->addWidget(lblKolommen_, 1, 1);
  arrayRooster->setColumnStretch(1, 1);

  lblLengteProfiel_ = maakLabel("lblLengteProfiel", this);
  lblMinZ_ = maakLabel("lblMinZ", this);
  lblMaxZ_ = maakLabel("lblMaxZ", this);
  auto* maten = new QGridLayout;
  maten->addWidget(new QLabel(QStringLiteral("Lengte profiel:"), this), 0, 0);
  maten->addWidget(lblLengteProfiel_, 0, 1);
  maten->addWidget(new QLabel(QStringLiteral("Minimale Z:"), this), 1, 0);
  maten->addWidget(lblMinZ_, 1, 1);
  maten->addWidget(new QLabel(QStringLiteral("Maximale Z:"), this), 2, 0);
  maten->addWidget(lblMaxZ_, 2, 1);
  maten->setColumnStretch(1, 1);

  cmdOK_ = maakKnop("cmdOK", QStringLiteral("OK >>"), this);
  cmdEnd_ = maakKnop("cmdEnd", QStringLiteral("Stop"), this);
  auto* knoppen = new QHBoxLayout;
  knoppen->addWidget(cmdEnd_);
  knoppen->addStretch(1);
  knoppen->addWidget(cmdOK_);

  auto* rechts = new QVBoxLayout;
  rechts->addLayout(telling);
  rechts->addWidget(cmdVerwijderDWP_);
  rechts->addLayout(ongedaanRij);
  rechts->addWidget(vakVerwijderd_);
  rechts->addWidget(schaalVak);
  rechts->addWidget(offsetVak);
  rechts->addWidget(arrayVak);
  rechts->addLayout(maten);
  rechts->addStretch(1);
  rechts->addLayout(knoppen);

  auto* hoofd = new QHBoxLayout(this);
  hoofd->addLayout(links, 1);
  hoofd->addLayout(rechts, 0);
  resize(1000, 720);
}

std::pair<QWidget*, QWidget*> FrmGraphicView::maakBeeldbalken() {
  picXY_->setAssen({QStringLiteral("X (m)"), QStringLiteral("Y (m)"), true});
  picDwarsprofiel_->setAssen({QStringLiteral("L (m)"), QStringLiteral("Z (m NAP)")});
  // Zoomed in, the reference lines still run edge to edge.
  lineTop_->setSpanning(LineControl::Spanning::VolleBreedte);
  lineBottom_->setSpanning(LineControl::Spanning::VolleBreedte);
  auto* xy = new Beeldbalk(picXY_, [this] { return lblActiefProfiel_->text() + QStringLiteral(" \u2013 bovenaanzicht"); }, this);
  auto* dwars = new Beeldbalk(
      picDwarsprofiel_, [this] { return lblActiefProfiel_->text() + QStringLiteral(" \u2013 dwarsprofiel"); }, this);
  Beeldbalk::installeerPassendToets(this, {xy, dwars});
  return {xy, dwars};
}

void FrmGraphicView::begin() {
  const ProfielStore& s = taak_.store();
  txtOffsetZmax_->setText(getalNaarTekstRegionaal(-0.5));
  setWindowTitle(QStringLiteral("GraphicView: ") + QString::fromStdString(s.inputbestand));
  schaalfactor_ = scrollSchaal_->value() / 100.0;
  toonTelling();
  lblKolommen_->setText(QString::number(s.aantalKolommen()));
  navigatie_->vernieuwLijst(s);
  vulOverzicht();
  tekenProfielen(1);
  huidigProfiel_ = 1;
}

void FrmGraphicView::toonTelling() {
  const ProfielStore& s = taak_.store();
  // Both counts follow deletions, so they never disagree with the
  // "(n/total)" of the active profile.
  lblAantalProfielen_->setText(QString::number(s.aantalProfielen()));
  lblRijen_->setText(QString::number(s.aantalProfielen()));
  vakVerwijderd_->setTitle(QStringLiteral("Verwijderde profielen (%1)").arg(s.aantalVerwijderd()));
  lstVerwijderd_->clear();
  for (const std::string& naam : s.verwijderdeProfielen) lstVerwijderd_->addItem(tekstUitBestand(naam));
  lstVerwijderd_->scrollToBottom();
  navigatie_->zetKnoppenActief(s.aantalProfielen() > 1);
}

void FrmGraphicView::tekenProfielen(std::int32_t profielNummer) {
  const ProfielStore& s = taak_.store();
  if (profielNummer < 1 || profielNummer > s.aantalProfielen()) return;
  const Profiel& profiel = s.profiel(profielNummer);
  const std::vector<Punt>& punten = profiel.punten;

  picDwarsprofiel_->cls();
  picXY_->cls();
  lblActiefProfiel_->setText(tekstUitBestand(profiel.naam) + QStringLiteral(" (") +
                             QString::number(profielNummer) + QLatin1Char('/') +
                             QString::number(s.aantalProfielen()) + QLatin1Char(')'));
  navigatie_->zetHuidig(profielNummer);
  overzicht_->zetHuidig(profielNummer);
  if (punten.empty()) return;  // nothing to draw; the readers never store such a profile

  const ProfielGeometrie g = berekenGeometrie(profiel);
  const Punt& eerste = punten.front();
  const double minX = g.minX, maxX = g.maxX, minY = g.minY, maxY = g.maxY, minZ = g.minZ, maxZ = g.maxZ;

  // Plan window: a square half as large again as the profile's larger
  // extent, north up (Y drawn negated), with the profile in its middle. Along
  // the larger extent that is a margin of a quarter on each side; a profile
  // that runs north–south would otherwise lie on the left edge, under the
  // Y labels.
  const double breedteX = maxX - minX;
  const double breedteY = maxY - minY;
  const double grootste = breedteX > breedteY ? breedteX : breedteY;
  double planZijde = grootste * 0.5 + grootste;
  double planLinks = (minX + maxX) / 2 - planZijde / 2;
  double planBoven = -(minY + maxY) / 2 - planZijde / 2;
  if (!(grootste > 0)) {
    // All points on one plan position: centre them in a small window.
    planZijde = 1.5 * minimaleMaat;
    planLinks = minX - 0.5 * planZijde;
    planBoven = -maxY - 0.5 * planZijde;
  }
  picXY_->setScaleLeft(planLinks);
  picXY_->setScaleTop(planBoven);
  picXY_->setScaleHeight(planZijde);
  picXY_->setScaleWidth(planZijde);

  // Markers a hundredth of the window across, but no larger than a little
  // under half the usual step between points: a densely surveyed profile
  // otherwise shows one red band instead of its points.
  const double planStraal = std::max(planZijde / 500, std::min(planZijde / 100, 0.4 * gewoneStap(punten)));
  picXY_->cirkel(eerste.x, -eerste.y, planStraal, rood);
  for (std::size_t k = 1; k < punten.size(); ++k) {
    const Punt& a = punten[k - 1];
    const Punt& b = punten[k];
    picXY_->lijn(a.x, -a.y, b.x, -b.y);
    picXY_->cirkel(b.x, -b.y, planStraal, rood);
  }
  const double lengte = g.lengte;
  // A profile without length gets a stand-in window length, so neither the
  // scroll bar's minimum nor the cross-section scale divides by zero.
  const double lengteVenster = lengte > 0 ? lengte : minimaleMaat;

  // Re-range the scale bar. Its minimum is the factor that just fits the
  // whole height into the window; never below 1, because a factor of 0
  // would give the cross-section no height at all. If the new range moves
  // the position, that is a scale change: it is taken over here, before the
  // cross-section scale is set, so one drawing uses the final factor.
  {
    bezigMetTekenen_ = true;
    const int oudeWaarde = scrollSchaal_->value();
    scrollSchaal_->zetOudMax(100);
    scrollSchaal_->zetOudMin(std::max(1, SchaalBalk::klem16(100 * (maxZ - minZ) / lengteVenster)));
    if (scrollSchaal_->value() != oudeWaarde || !(schaalfactor_ > 0)) {
      schaalfactor_ = scrollSchaal_->value() / 100.0;
    }
    bezigMetTekenen_ = false;
  }

  // Cross-section window: 1.1 L wide starting 0.05 L left of the first
  // point, f × L high with the profile's mid-height in the middle.
  const double f = schaalfactor_;
  picDwarsprofiel_->setScaleWidth(lengteVenster * 0.1 + lengteVenster);
  picDwarsprofiel_->setScaleHeight(-(lengteVenster)*f);
  picDwarsprofiel_->setScaleLeft(0 - 0.1 * (0.5 * lengteVenster));
  picDwarsprofiel_->setScaleTop(minZ + (maxZ - minZ) / 2 + 0.5 * f * lengteVenster);

  // The window edges are read back from the box, in its single precision.
  const float boven = static_cast<float>(picDwarsprofiel_->scaleTop());
  const float onder = boven + static_cast<float>(picDwarsprofiel_->scaleHeight());
  lblZmax_->setText(formaat00Regionaal(boven));
  lblZmin_->setText(formaat00Regionaal(onder));
  lblLengte_->setText(formaat00Regionaal(lengte));
  lblSchaalfactor_->setText(getalNaarTekstRegionaal(f));
  lblLengteProfiel_->setText(formaat00Regionaal(lengte) + QStringLiteral(" m"));
  lblMaxZ_->setText(formaat00Regionaal(maxZ) + QStringLiteral(" m"));
  lblMinZ_->setText(formaat00Regionaal(minZ) + QStringLiteral(" m"));

  // The unfolded profile: each point at its plan distance along the
  // polyline from point 1.
  const double dwarsStraal = lengteVenster / 250;
  const QColor zwart(0, 0, 0);
  picDwarsprofiel_->cirkel(0, eerste.z, dwarsStraal, rood);
  for (std::size_t k = 1; k < g.lz.size(); ++k) {
    const LZPunt& a = g.lz[k - 1];
    const LZPunt& b = g.lz[k];
    picDwarsprofiel_->lijn(a.l, a.z, b.l, b.z, zwart);
    picDwarsprofiel_->cirkel(b.l, b.z, dwarsStraal, rood);
  }

  tekenHulplijn(maxZ);
}

void FrmGraphicView::tekenHulplijn(double maximaleZ) {
  const double links = picDwarsprofiel_->scaleLeft();
  // The lines run to ScaleWidth (1.1 L), beyond the right edge at 1.05 L,
  // so they always span the whole box.
  const double rechts = picDwarsprofiel_->scaleWidth();
  lineTop_->zet(links, maximaleZ, rechts, maximaleZ);
  if (const auto offset = leesGetalRegionaal(txtOffsetZmax_->text())) {
    lineBottom_->zet(links, maximaleZ + *offset, rechts, maximaleZ + *offset);
    return;
  }
  // The user's text stays as typed; every drawing reports it again until
  // it is corrected.
  lineBottom_->zet(links, maximaleZ - 0.5, rechts, maximaleZ - 0.5);
  toonBericht(QStringLiteral("De offset waarde is geen getal. Kan de waarden niet veranderen"),
              QStringLiteral("Fout!"), Icoon::Kritiek);
}

void FrmGraphicView::naarProfiel(std::int32_t profiel) {
  if (profiel < 1 || profiel > taak_.store().aantalProfielen()) return;
  // Buttons (and with them the keys) are off while drawing; afterwards
  // they return to what they were, which keeps them off for a single
  // profile.
  const bool waren = navigatie_->knopVolgende()->isEnabled();
  navigatie_->zetKnoppenActief(false);
  huidigProfiel_ = profiel;
  tekenProfielen(huidigProfiel_);
  navigatie_->zetKnoppenActief(waren);
}

void FrmGraphicView::volgende() {
  naarProfiel(huidigProfiel_ >= taak_.store().aantalProfielen() ? 1 : huidigProfiel_ + 1);
}

void FrmGraphicView::vorige() {
  naarProfiel(huidigProfiel_ <= 1 ? taak_.store().aantalProfielen() : huidigProfiel_ - 1);
}

void FrmGraphicView::verwijder() {
  const ProfielStore& s = taak_.store();
  if (huidigProfiel_ < 1 || huidigProfiel_ > s.aantalProfielen()) return;
  if (toonBericht(QStringLiteral("Weet u zeker dat u het dwarsprofiel wilt verwijderen"),
                  QStringLiteral("Let op!"), Icoon::Geen, Knoppen::JaNee) != Antwoord::Ja) {
    return;
  }
  emit verwijderGevraagd(huidigProfiel_);
}

void FrmGraphicView::vulOverzicht() {
  std::vector<TrajectOverzicht::Lijn> lijnen;
  const ProfielStore& s = taak_.store();
  for (const Profiel& p : taak_.verwijderd()) {
    if (!p.punten.empty()) lijnen.push_back(TrajectOverzicht::Lijn::van(p, qbColor(7), 0));
  }
  for (std::int32_t i = 1; i <= s.aantalProfielen(); ++i) {
    const Profiel& p = s.profiel(i);
    if (!p.punten.empty()) lijnen.push_back(TrajectOverzicht::Lijn::van(p, qbColor(1), i));
  }
  overzicht_->zetLijnen(std::move(lijnen));
}

void FrmGraphicView::toonNaWijziging(std::int32_t profiel) {
  const ProfielStore& s = taak_.store();
  if (s.aantalProfielen() == 0) return;
  vulOverzicht();
  // After deleting the last profile the list starts again at 1.
  huidigProfiel_ = profiel >= 1 && profiel <= s.aantalProfielen() ? profiel : 1;
  toonTelling();
  navigatie_->vernieuwLijst(s);
  tekenProfielen(huidigProfiel_);
}

void FrmGraphicView::zetOngedaanStapel(QUndoStack* stapel) {
  auto volg = [this, stapel] {
    cmdOngedaan_->setEnabled(stapel->canUndo());
    cmdOpnieuw_->setEnabled(stapel->canRedo());
    cmdOngedaan_->setToolTip(stapel->undoText());
    cmdOpnieuw_->setToolTip(stapel->redoText());
  };
  connect(stapel, &QUndoStack::indexChanged, this, volg);
  connect(stapel, &QUndoStack::cleanChanged, this, volg);
  connect(cmdOngedaan_, &QPushButton::clicked, stapel, &QUndoStack::undo);
  connect(cmdOpnieuw_, &QPushButton::clicked, stapel, &QUndoStack::redo);
  auto* terug = new QShortcut(QKeySequence::Undo, this);
  terug->setContext(Qt::WidgetWithChildrenShortcut);
  connect(terug, &QShortcut::activated, cmdOngedaan_, &QPushButton::click);
  auto* weer = new QShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), this);
  weer->setContext(Qt::WidgetWithChildrenShortcut);
  connect(weer, &QShortcut::activated, cmdOpnieuw_, &QPushButton::click);
  volg();
}

void FrmGraphicView::schaalVeranderd(int waarde) {
  if (bezigMetTekenen_) return;
  onthoudGetal(sleutelSchaal, waarde);
  schaalfactor_ = waarde / 100.0;
  tekenProfielen(huidigProfiel_);
}

void FrmGraphicView::updateHulplijn() { tekenProfielen(huidigProfiel_); }

void FrmGraphicView::ok() { emit klaar(); }

void FrmGraphicView::stop() {
  if (vraagStoppen(stopVraagNietOpgeslagen())) emit gestopt();
}

void FrmGraphicView::keyPressEvent(QKeyEvent* event) {
  // Keys nobody on the form took: Enter in the offset field redraws the
  // reference lines. Anywhere else Enter does nothing: going on to the
  // ditches cannot be undone, so it takes OK itself (or Alt+O).
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    if (focusWidget() == txtOffsetZmax_) cmdUpdateHuplijn_->click();
    event->accept();
    return;
  }
  QWidget::keyPressEvent(event);
}

void FrmGraphicView::muisOpDwarsprofiel(double x, double y) {
  picDwarsprofiel_->setTooltipTekst(uitleesLZ(x, y));
}

void FrmGraphicView::muisOpXY(double x, double y) {
  // The plan view draws survey Y negated; the read-out gives it back.
  picXY_->setTooltipTekst(QStringLiteral("X = ") + formaat00Regionaal(x) + QStringLiteral("m, Y = ") +
                          formaat00Regionaal(-y) + QStringLiteral("m"));
}

}  // namespace zarvo::gui
