#include "schermen/slootprofieltekening.h"

#include <algorithm>
#include <cmath>

#include "basis/getallen.h"
#include "platform/picturebox.h"
#include "platform/qbcolor.h"
#include "platform/regionaal.h"

namespace zarvo::gui {

namespace {

// A profile that is flat or has no length still needs a drawing area: one
// metre keeps its points visible and the scale away from zero.
constexpr double minimaleUitgestrektheid = 1.0;

// Marker colour of a point: the first code of the table either field
// holds. Codes the table does not know share the colour of code 72.
int puntKleur(const Punt& punt) {
  static constexpr struct {
    double code;
    int kleur;
  } tabel[] = {{72, 9}, {18, 4}, {3, 3}, {4, 5}, {5, 7}, {2, 13}, {8, 1}, {9, 2}};
  for (const auto& regel : tabel) {
    if (heeftCode(punt, regel.code)) return regel.kleur;
  }
  return 9;
}

// The ground the ditch replaced: dashes of a fortieth of the ditch's
// width, a light line at the whole profile's scale, clearly dashed once
// zoomed in on the ditch; the replaced points themselves as small crosses.
void tekenOudMaaiveld(PictureBox& pic, const Profiel& profiel, const ProfielGeometrie& g, const Bouwfeiten& feiten,
                      double schaal) {
  const std::vector<LZPunt> oud = oudMaaiveld(profiel, g, feiten);
  if (oud.size() < 2) return;
  const QColor licht = qbColor(7);
  const double streep = planAfstand(profiel.punten[static_cast<std::size_t>(feiten.insteekDijk - 1)],
                                    profiel.punten[static_cast<std::size_t>(feiten.insteekPolder - 1)]) /
                        40;
  const double verhouding = pic.scaleWidth() / std::max(1e-9, std::fabs(pic.scaleHeight()));
  for (std::size_t k = 1; k < oud.size(); ++k) {
    const LZPunt& a = oud[k - 1];
    const LZPunt& b = oud[k];
    const double lang = std::hypot(b.l - a.l, (b.z - a.z) * verhouding);
    const int stukken = std::clamp(static_cast<int>(std::ceil(lang / streep)), 1, 2000);
    for (int i = 0; i < stukken; i += 2) {
      const double t0 = static_cast<double>(i) / stukken;
      const double t1 = std::min(1.0, static_cast<double>(i + 1) / stukken);
      pic.lijn(a.l + (b.l - a.l) * t0, a.z + (b.z - a.z) * t0, a.l + (b.l - a.l) * t1, a.z + (b.z - a.z) * t1, licht);
    }
  }
  for (std::size_t k = 1; k + 1 < oud.size(); ++k) pic.kruis(oud[k].l, oud[k].z, schaal / 250, licht);
}

}  // namespace

Slootprofieltekening tekenSlootprofiel(PictureBox& pic, const Profiel& profiel, const ProfielGeometrie& g,
                                       const Bouwfeiten& feiten, bool metOudMaaiveld) {
  pic.cls();
  const std::vector<Punt>& punten = profiel.punten;
  Slootprofieltekening uit;
  // Circle radii follow the drawn width, so a zero-length profile uses the
  // minimum extent for them as well.
  const double breedte = g.lengte > 0 ? g.lengte : minimaleUitgestrektheid;
  double hoogte = g.maxZ - g.minZ;
  if (!(hoogte > 0)) hoogte = minimaleUitgestrektheid;
  pic.setScaleWidth(1.1 * breedte);
  pic.setScaleLeft(-0.05 * breedte);
  pic.setScaleHeight(-(1.8 * hoogte) - hoogte);
  pic.setScaleTop(g.maxZ + 0.9 * hoogte);
  uit.schaal = breedte;
  const double schaal = breedte;

  if (metOudMaaiveld) tekenOudMaaiveld(pic, profiel, g, feiten, schaal);

  // The bottom points the construction made are filled, so that they are
  // told apart from surveyed points with the same codes.
  const QColor zwart = qbColor(0);
  for (std::size_t k = 1; k < g.lz.size() && k < punten.size(); ++k) {
    const LZPunt& vorig = g.lz[k - 1];
    const LZPunt& huidig = g.lz[k];
    const Punt& p = punten[k];
    pic.lijn(vorig.l, vorig.z, huidig.l, huidig.z, zwart);
    const auto nummer = static_cast<std::int32_t>(k + 1);
    if (nummer == feiten.bodemDijk || nummer == feiten.bodemPolder) {
      pic.schijf(huidig.l, huidig.z, schaal / 250, qbColor(puntKleur(p)));
    } else if (!(celIsCode(p.veld1, 99) && celIsCode(p.veld2, 999))) {
      // 99 / 999 marks a point that only shapes the line (no survey code).
      pic.cirkel(huidig.l, huidig.z, schaal / 250, qbColor(puntKleur(p)));
    }
  }

  // Grey markers: the two ends of the profile always, and every selection
  // slot in between that holds a point. They stand at the straight plan
  // distance from point 1, which for a bent profile is not the distance
  // along it.
  const QColor grijs = qbColor(8);
  auto grijzeCirkel = [&](double x, double y, double z) {
    pic.cirkel(std::hypot(x - punten.front().x, y - punten.front().y), z, schaal / 100, grijs);
  };
  if (!punten.empty()) grijzeCirkel(punten.back().x, punten.back().y, punten.back().z);
  for (int j = 5; j <= 32 && static_cast<std::size_t>(j + 2) < profiel.profielInfo().size(); j += 3) {
    const Cel& x = profiel.profielInfo()[static_cast<std::size_t>(j)];
    // A slot counts as filled only when it holds a number other than -1;
    // cells the hand-over never initialised are not a selection.
    if (!x.isGetal() || x.getal() == -1) continue;
    uit.selectieGevuld = true;
    grijzeCirkel(x.getal(), profiel.profielInfo()[static_cast<std::size_t>(j + 1)].getal(),
                 profiel.profielInfo()[static_cast<std::size_t>(j + 2)].getal());
  }
  if (!punten.empty()) grijzeCirkel(punten.front().x, punten.front().y, punten.front().z);
  return uit;
}

QColor kleurBoezempeil() { return qbColor(9); }
QColor kleurPolderpeil() { return qbColor(2); }

Peillijnen maakPeillijnen(PictureBox& pic) {
  Peillijnen lijnen{pic.maakLijn("lineBoezempeil"), pic.maakLijn("linePolderpeil")};
  lijnen.boezem->setKleur(kleurBoezempeil());
  lijnen.polder->setKleur(kleurPolderpeil());
  for (LineControl* lijn : {lijnen.boezem, lijnen.polder}) {
    lijn->setStijl(Qt::DashLine);
    // Zoomed in, the guide lines still run edge to edge.
    lijn->setSpanning(LineControl::Spanning::VolleBreedte);
  }
  return lijnen;
}

void zetPeillijnen(const Peillijnen& lijnen, double breedteVenster, double boezempeil, double polderpeil) {
  const double x1 = 0 - 0.5 * 0.1 * breedteVenster;
  const double x2 = breedteVenster + 0.1 * breedteVenster;
  lijnen.boezem->zet(x1, boezempeil, x2, boezempeil);
  lijnen.polder->zet(x1, polderpeil, x2, polderpeil);
  // Levels far from the ground (a river dike at +8 m with the default
  // polder level of -2 m) lie outside the picture; the edge markers say
  // they are set.
  lijnen.boezem->setRandLabel(QStringLiteral("Boezempeil ") + formaat00Regionaal(boezempeil));
  lijnen.polder->setRandLabel(QStringLiteral("Polderpeil ") + formaat00Regionaal(polderpeil));
}

const std::array<QString, aantalSlootmaten>& slootmatenKoppen() {
  static const std::array<QString, aantalSlootmaten> koppen = {
      QStringLiteral("Bovenbreedte:"),      QStringLiteral("Bodembreedte:"),   QStringLiteral("Bodempeil:"),
      QStringLiteral("Diepte dijkzijde:"),  QStringLiteral("Diepte polderzijde:"),
      QStringLiteral("Talud dijkzijde:"),   QStringLiteral("Talud polderzijde:"), QStringLiteral("Vervangen punten:")};
  return koppen;
}

const std::array<Recordveld, aantalRecordvelden>& slootrecordVelden() {
  static const std::array<Recordveld, aantalRecordvelden> velden = {
      Recordveld{QStringLiteral("Naam:"), 1},           Recordveld{QStringLiteral("Slootbodem:"), 2},
      Recordveld{QStringLiteral("Talud dijkzijde:"), 3}, Recordveld{QStringLiteral("Talud polderzijde:"), 4},
      Recordveld{QStringLiteral("a:"), 5},              Recordveld{QStringLiteral("b:"), 7}};
  return velden;
}

QString slootrecordTekst(const SlootRecord& record, int kolom) {
  return record.aanwezig() ? tekstUitBestand(record.kolom(kolom)) : QStringLiteral("\u2013");
}

std::array<QString, aantalSlootmaten> slootmatenTeksten(const std::optional<Slootmaten>& maten) {
  const QString streep = QStringLiteral("\u2013");
  std::array<QString, aantalSlootmaten> teksten;
  if (!maten) {
    teksten.fill(streep);
    return teksten;
  }
  const QString m = QStringLiteral(" m");
  auto talud = [&](const std::optional<double>& t) { return t ? formaat00Regionaal(*t) : streep; };
  teksten = {formaat00Regionaal(maten->bovenbreedte) + m,
             formaat00Regionaal(maten->bodembreedte) + m,
             formaat00Regionaal(maten->bodempeil) + m,
             formaat00Regionaal(maten->diepteDijk) + m,
             formaat00Regionaal(maten->dieptePolder) + m,
             talud(maten->taludDijk),
             talud(maten->taludPolder),
             QString::number(maten->vervangen)};
  return teksten;
}

}  // namespace zarvo::gui
