#include "schermen/rapport.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QTextStream>
#include <vector>

#include "basis/profielgeometrie.h"
#include "ditch/slootprofiel.h"
#include "ditch/slootzicht.h"
#include "input/leesbestandsloot.h"
#include "platform/beeldexport.h"
#include "platform/berichten.h"
#include "platform/picturebox.h"
#include "platform/regionaal.h"
#include "schermen/slootprofieltekening.h"
#include "taak/taak.h"

namespace zarvo::gui {

namespace {

constexpr double marge = 40;          // screen pixels, about 1 cm on the page
constexpr double kolomBreedte = 300;  // the right column: dimensions and levels

// What the build did to profile i (0-based); nothing for a job not built.
const Bouwfeiten& feitenVan(const Taak& taak, std::size_t i) {
  static const Bouwfeiten geen;
  return i < taak.bouwfeiten().size() ? taak.bouwfeiten()[i] : geen;
}

QString uitkomst(SlootStatus status, const Bouwfeiten& feiten) {
  switch (status) {
    case SlootStatus::Sloot: return QStringLiteral("Uitkomst: sloot gebouwd");
    case SlootStatus::GeenSloot:
      return QStringLiteral("Uitkomst: geen sloot (geen insteek dijkzijde met een insteek polderzijde erna)");
    case SlootStatus::Fout: return QStringLiteral("Uitkomst: fout \u2013 ") + tekstUitBestand(feiten.melding);
  }
  return {};
}

// The "Slootmaten" panel as the screen shows it: a framed box with its
// title, the captions in one column and the values in the next. Returns
// the height used.
double tekenSlootmaten(QPainter& p, QPointF linksBoven, const std::optional<Slootmaten>& maten) {
  const QFontMetricsF maat(p.font());
  const double regel = maat.height();
  const auto& koppen = slootmatenKoppen();
  const auto teksten = slootmatenTeksten(maten);
  double kopBreedte = 0;
  for (const QString& kop : koppen) kopBreedte = std::max(kopBreedte, maat.horizontalAdvance(kop));
  const double binnen = regel / 2;
  // Rows as far apart as the screen's form lays them out.
  const double rij = regel * 1.3;
  const double hoogte = regel * 1.5 + rij * static_cast<double>(koppen.size()) + binnen;
  const QRectF kader(linksBoven.x(), linksBoven.y() + regel / 2, kolomBreedte, hoogte - regel / 2);
  p.save();
  p.setPen(QPen(QColor(160, 160, 160), 0));
  p.drawRect(kader);
  p.restore();
  // The title sits on the frame's top line, on a white ground.
  const double titelBreedte = maat.horizontalAdvance(QStringLiteral("Slootmaten")) + binnen;
  const QRectF titel(linksBoven.x() + binnen, linksBoven.y(), titelBreedte, regel);
  p.fillRect(titel, Qt::white);
  p.drawText(titel, Qt::AlignCenter, QStringLiteral("Slootmaten"));
  double y = linksBoven.y() + regel * 1.5;
  for (std::size_t i = 0; i < koppen.size(); ++i) {
    p.drawText(QRectF(linksBoven.x() + binnen, y, kopBreedte, rij), Qt::AlignLeft | Qt::AlignVCenter, koppen[i]);
    p.drawText(QRectF(linksBoven.x() + 2 * binnen + kopBreedte, y, kolomBreedte - kopBreedte - 3 * binnen, rij),
               Qt::AlignLeft | Qt::AlignVCenter, teksten[i]);
    y += rij;
  }
  return hoogte;
}

// Lines of text one under the other from 'y'; returns the height used.
double tekenRegels(QPainter& p, double x, double y, double breedte, const QStringList& regels) {
  const double regel = QFontMetricsF(p.font()).height();
  for (const QString& r : regels) {
    p.drawText(QRectF(x, y, breedte, regel), Qt::AlignLeft | Qt::AlignVCenter, r);
    y += regel;
  }
  return regel * static_cast<double>(regels.size());
}

// One page: heading with the files and the date, name, outcome and a
// warning for a record meant for another profile; on the left the picture
// at fit and, under it, zoomed in on the ditch; on the right the
// dimensions, the record used and the water levels.
void tekenPagina(QPainter& p, QSizeF pagina, PictureBox& pic, const Rapportpagina& inhoud, const RapportOpties& opties,
                 const std::optional<Slootmaten>& maten) {
  const QFont gewoon = p.font();
  const double regel = QFontMetricsF(gewoon).height();
  const double breedte = pagina.width() - 2 * marge;
  double y = marge;
  p.setPen(Qt::black);
  y += tekenRegels(p, marge, y, breedte, QStringList{inhoud.kop} + inhoud.bestanden) + regel / 2;
  QFont groot = gewoon;
  groot.setBold(true);
  groot.setPixelSize(gewoon.pixelSize() * 3 / 2);
  p.setFont(groot);
  const double grootRegel = QFontMetricsF(groot).height();
  p.drawText(QRectF(marge, y, breedte, grootRegel), Qt::AlignLeft | Qt::AlignVCenter, inhoud.naam);
  y += grootRegel * 1.3;
  p.setFont(gewoon);
  QRectF gebruikt;
  p.drawText(QRectF(marge, y, breedte, regel * 3), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, inhoud.uitkomst,
             &gebruikt);
  y += std::max(regel, gebruikt.height());
  if (!inhoud.waarschuwing.isEmpty()) {
    p.setPen(QColor(170, 0, 0));
    p.drawText(QRectF(marge, y, breedte, regel * 2), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
               inhoud.waarschuwing, &gebruikt);
    p.setPen(Qt::black);
    y += std::max(regel, gebruikt.height());
  }
  y += regel;

  const double kolomLinks = pagina.width() - marge - kolomBreedte;
  const QRectF beeld(marge, y, kolomLinks - regel - marge, pagina.height() - marge - y);
  Zicht passend;
  passend.zetPassend(pic.zicht().passendVenster());
  if (inhoud.sloot) {
    // The whole profile above, the ditch a page reader checks below it.
    const double boven = beeld.height() * 0.5;
    tekenMetTitel(p, QRectF(beeld.topLeft(), QSizeF(beeld.width(), boven - regel / 2)), pic, passend,
                  QStringLiteral("Dwarsprofiel"));
    Zicht sloot = passend;
    sloot.toon({inhoud.sloot->links, inhoud.sloot->boven}, {inhoud.sloot->rechts, inhoud.sloot->onder});
    tekenMetTitel(p, QRectF(beeld.left(), beeld.top() + boven + regel / 2, beeld.width(), beeld.height() - boven - regel / 2),
                  pic, sloot, QStringLiteral("Sloot (ingezoomd)"));
  } else {
    tekenMetTitel(p, beeld, pic, passend, QStringLiteral("Dwarsprofiel"));
  }

  double kolomY = y + tekenSlootmaten(p, QPointF(kolomLinks, y), maten) + regel;
  kolomY += tekenRegels(p, kolomLinks, kolomY, kolomBreedte, QStringList{QStringLiteral("Slootrecord:")} + inhoud.record) +
            regel;
  const QStringList peilen{QStringLiteral("Hulplijnen peilen (gestreept):"),
                           QStringLiteral("Boezempeil: ") + getalNaarTekstRegionaal(opties.boezempeil) +
                               QStringLiteral(" m t.o.v. NAP"),
                           QStringLiteral("Polderpeil: ") + getalNaarTekstRegionaal(opties.polderpeil) +
                               QStringLiteral(" m t.o.v. NAP")};
  tekenRegels(p, kolomLinks, kolomY, kolomBreedte, peilen);
}

}  // namespace

Rapportpagina rapportpagina(const Taak& taak, std::int32_t nr, const ProfielGeometrie& g, const QDateTime& gemaakt) {
  const ProfielStore& s = taak.store();
  const Profiel& profiel = s.profiel(nr);
  const auto i = static_cast<std::size_t>(nr - 1);
  const Bouwfeiten& feiten = feitenVan(taak, i);
  const std::int32_t aantal = s.aantalProfielen();
  Rapportpagina pagina;
  pagina.kop = QStringLiteral("Zarvo-Edit \u2013 slootprofielen \u2013 ") +
               QLocale(QLocale::Dutch, QLocale::Netherlands).toString(gemaakt, QStringLiteral("d MMMM yyyy, HH:mm")) +
               QStringLiteral("    pagina %1 van %2").arg(nr).arg(aantal);
  pagina.bestanden = {QStringLiteral("Profielbestand: ") + QDir::toNativeSeparators(QString::fromStdString(s.inputbestand)),
                      QStringLiteral("Slootbestand: ") + QDir::toNativeSeparators(QString::fromStdString(s.bestandSloot))};
  pagina.naam = QStringLiteral("Profiel ") + tekstUitBestand(profiel.naam) + QStringLiteral(" (%1/%2)").arg(nr).arg(aantal);
  pagina.uitkomst =
      uitkomst(i < taak.slootStatussen().size() ? taak.slootStatussen()[i] : SlootStatus::GeenSloot, feiten);
  if (slootrecordVanAnderProfiel(profiel)) {
    pagina.waarschuwing = QStringLiteral("Let op: het slootrecord van dit profiel heet '") +
                          tekstUitBestand(profiel.sloot.kolom(1)) +
                          QStringLiteral("'; het hoort waarschijnlijk bij een ander profiel.");
  }
  for (const Recordveld& veld : slootrecordVelden()) {
    pagina.record << QStringLiteral("  ") + veld.kop + QLatin1Char(' ') + slootrecordTekst(profiel.sloot, veld.kolom);
  }
  if (feiten.heeftSloot()) pagina.sloot = slootKader(g, feiten);
  return pagina;
}

std::optional<QString> schrijfRapport(const Taak& taak, const RapportOpties& opties, const QString& pad) {
  const ProfielStore& s = taak.store();
  if (s.aantalProfielen() < 1) return QStringLiteral("Er zijn geen profielen om te rapporteren.");

  // The picture the pages are drawn from: the same drawing as the ditch
  // screen's, never shown.
  PictureBox pic;
  pic.resize(700, 500);
  pic.setAssen({QStringLiteral("L (m)"), QStringLiteral("Z (m NAP)")});
  const Peillijnen peillijnen = maakPeillijnen(pic);

  QPdfWriter pdf(pad);
  pdf.setResolution(300);
  pdf.setCreator(QStringLiteral("Zarvo-Edit"));
  pdf.setTitle(QStringLiteral("Slootprofielen ") + QFileInfo(QString::fromStdString(s.inputbestand)).fileName());
  pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF()));
  QPainter p;
  if (!p.begin(&pdf)) {
    return QStringLiteral("Kan het rapport niet schrijven naar ") + pad +
           QStringLiteral("\nControleer of de map bestaat en of u er mag schrijven.");
  }
  const QSizeF pagina = zetSchermmaat(p, pdf, pic);

  const QDateTime gemaakt = QDateTime::currentDateTime();
  const std::int32_t aantal = s.aantalProfielen();
  for (std::int32_t nr = 1; nr <= aantal; ++nr) {
    const Profiel& profiel = s.profiel(nr);
    const auto i = static_cast<std::size_t>(nr - 1);
    const Bouwfeiten& feiten = feitenVan(taak, i);
    const ProfielGeometrie g = berekenGeometrie(profiel);
    tekenSlootprofiel(pic, profiel, g, feiten, opties.oudMaaiveld);
    pic.passend();
    zetPeillijnen(peillijnen, pic.scaleWidth(), opties.boezempeil, opties.polderpeil);
    tekenPagina(p, pagina, pic, rapportpagina(taak, nr, g, gemaakt), opties, berekenSlootmaten(profiel, feiten));
    if (nr < aantal) pdf.newPage();
  }
  if (!p.end()) return QStringLiteral("Het rapport ") + pad + QStringLiteral(" kon niet volledig worden geschreven.");
  return std::nullopt;
}

namespace {

// Without a window nobody can answer a box: every message goes to stderr
// and every question is answered as the batch program would go on.
class BerichtenNaarStderr : public BerichtenDienst {
 public:
  Antwoord toon(const QString& tekst, const QString& titel, Icoon, Knoppen knoppen) override {
    QTextStream(stderr) << titel << ": " << tekst << '\n';
    return knoppen == Knoppen::JaNee ? Antwoord::Ja : Antwoord::OK;
  }
  void beeindigProgramma() override {}
};

}  // namespace

int maakRapportZonderScherm(const QString& uit, const QString& profielbestand, const QString& slootbestand,
                            const RapportOpties& opties) {
  BerichtenNaarStderr stderrDienst;
  struct Terugzetten {
    BerichtenDienst* vorige = &berichten();
    ~Terugzetten() { zetBerichtenDienst(vorige); }
  } terugzetten;
  zetBerichtenDienst(&stderrDienst);

  Taak taak;
  taak.zetBestanden(profielbestand.toStdString(), slootbestand.toStdString());
  if (opties.koppelOpNaam) taak.zetSlootkoppeling(Slootkoppeling::OpNaam);
  BerichtenSink sink;
  if (const auto fout = taak.leesIn(sink, decimaalteken())) {
    toonMelding(*fout);
    return 1;
  }
  // On screen this is a question; a script goes on, as the batch does.
  for (const Melding& waarschuwing : taak.leeswaarschuwingen()) toonMelding(waarschuwing);
  // The pages draw the ground each ditch replaced, as the screen does.
  taak.zetSchermgegevensBewaren(true);
  taak.bouwSloten(sink);
  if (const auto fout = schrijfRapport(taak, opties, uit)) {
    toonBericht(*fout, QStringLiteral("Fout!"), Icoon::Kritiek);
    return 1;
  }
  return 0;
}

}  // namespace zarvo::gui
