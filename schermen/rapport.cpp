#include "schermen/rapport.h"

#include <QFileInfo>
#include <QGroupBox>
#include <QLayout>
#include <QLineEdit>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QTextStream>
#include <vector>

#include "schermen/frmpl.h"
#include "ditch/slootprofiel.h"
#include "input/leesbestandsloot.h"
#include "platform/beeldexport.h"
#include "platform/berichten.h"
#include "platform/picturebox.h"
#include "platform/profielnavigatie.h"
#include "platform/regionaal.h"
#include "taak/taak.h"

namespace zarvo::gui {

namespace {

constexpr double marge = 40;        // screen pixels, about 1 cm on the page
constexpr double kolomBreedte = 300;  // the right column: dimensions and levels

QString uitkomst(SlootStatus status, const Profiel& profiel) {
  switch (status) {
    case SlootStatus::Sloot: return QStringLiteral("Uitkomst: sloot gebouwd");
    case SlootStatus::GeenSloot:
      return QStringLiteral("Uitkomst: geen sloot (geen insteek dijkzijde met een insteek polderzijde erna)");
    case SlootStatus::Fout: return QStringLiteral("Uitkomst: fout \u2013 ") + bouwMelding(profiel);
  }
  return {};
}

QString tekstVan(const FrmPL& scherm, const char* naam) {
  const auto* veld = scherm.findChild<QLineEdit*>(naam);
  return veld ? veld->text() : QString();
}

// One page: heading, outcome, the picture at fit on the left, the
// dimensions panel and the water levels on the right.
void tekenPagina(QPainter& p, QSizeF pagina, FrmPL& scherm, PictureBox& pic, const QString& kop,
                 const QString& naam, const QString& regelUitkomst) {
  const QFont gewoon = p.font();
  const double regel = QFontMetricsF(gewoon).height();
  double y = marge;
  p.setPen(Qt::black);
  p.drawText(QRectF(marge, y, pagina.width() - 2 * marge, regel), Qt::AlignLeft | Qt::AlignVCenter, kop);
  y += regel * 1.5;
  QFont groot = gewoon;
  groot.setBold(true);
  groot.setPixelSize(gewoon.pixelSize() * 3 / 2);
  p.setFont(groot);
  const double grootRegel = QFontMetricsF(groot).height();
  p.drawText(QRectF(marge, y, pagina.width() - 2 * marge, grootRegel), Qt::AlignLeft | Qt::AlignVCenter, naam);
  y += grootRegel * 1.3;
  p.setFont(gewoon);
  const QRectF uitkomstVak(marge, y, pagina.width() - 2 * marge, regel * 3);
  QRectF gebruikt;
  p.drawText(uitkomstVak, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, regelUitkomst, &gebruikt);
  y += std::max(regel, gebruikt.height()) + regel;

  const double kolomLinks = pagina.width() - marge - kolomBreedte;
  const QRectF beeld(marge, y, kolomLinks - regel - marge, pagina.height() - marge - y);
  Zicht passend;
  passend.zetPassend(pic.zicht().passendVenster());
  tekenMetTitel(p, beeld, pic, passend, QStringLiteral("Dwarsprofiel"));

  // The screen's own panel, drawn as it is on screen; narrowed to the
  // column when it is wider.
  double kolomY = y;
  if (auto* maten = scherm.findChild<QGroupBox*>(QStringLiteral("fraSlootmaten"))) {
    maten->adjustSize();
    const double schaal = std::min(1.0, kolomBreedte / std::max(1, maten->width()));
    p.save();
    p.translate(kolomLinks, kolomY);
    p.scale(schaal, schaal);
    maten->render(&p, QPoint(), QRegion(), QWidget::DrawChildren);
    p.restore();
    kolomY += maten->height() * schaal + regel;
  }
  const QString peilen = QStringLiteral("Hulplijnen peilen (gestreept):\nBoezempeil: ") +
                         tekstVan(scherm, "txtLiggingBoezempeil") + QStringLiteral(" m t.o.v. NAP\nPolderpeil: ") +
                         tekstVan(scherm, "txtLiggingPolderpeil") + QStringLiteral(" m t.o.v. NAP");
  p.drawText(QRectF(kolomLinks, kolomY, kolomBreedte, regel * 4), Qt::AlignLeft | Qt::AlignTop, peilen);
}

}  // namespace

QString bouwMelding(const Profiel& profiel) {
  ProfielStore kopie;
  kopie.profielen.push_back(profiel);
  kopie.zetGrenzen(0, 0);
  kopie.dekGrenzen();
  kopie.initialiseerProfielInfo();
  SlootVariabelen var;
  MeldingVerzamelaar meldingen;
  bouwSlotenInAlleProfielen(kopie, var, meldingen);
  QStringList teksten;
  for (const Melding& m : meldingen.meldingen) teksten << QString::fromStdString(m.tekst);
  return teksten.join(QLatin1Char('\n'));
}

std::optional<QString> schrijfRapport(FrmPL& scherm, const Taak& taak, const QString& pad) {
  auto* pic = scherm.findChild<PictureBox*>(QStringLiteral("picDwarsprofiel"));
  auto* navigatie = scherm.findChild<ProfielNavigatie*>();
  const ProfielStore& s = taak.store();
  if (!pic || !navigatie || s.aantalProfielen() < 1) return QStringLiteral("Er zijn geen profielen om te rapporteren.");

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
  const QSizeF pagina = zetSchermmaat(p, pdf, scherm);

  const std::int32_t terug = scherm.huidigProfiel();
  const Venster zoom = pic->zicht().venster();
  const bool wasPassend = pic->isPassend();
  const std::vector<SlootStatus>& statussen = scherm.slootStatussen();
  const std::int32_t aantal = s.aantalProfielen();
  for (std::int32_t nr = 1; nr <= aantal; ++nr) {
    // Through the screen's own step, so that every panel and overlay it
    // shows for a profile is on the page too.
    emit navigatie->springNaar(nr);
    const Profiel& profiel = s.profiel(nr);
    const auto i = static_cast<std::size_t>(nr - 1);
    const QString kop = QStringLiteral("Zarvo-Edit \u2013 slootprofielen \u2013 ") +
                        QString::fromStdString(s.inputbestand) + QStringLiteral("    pagina %1 van %2").arg(nr).arg(aantal);
    const QString naam = QStringLiteral("Profiel ") + tekstUitBestand(profiel.naam) +
                         QStringLiteral(" (%1/%2)").arg(nr).arg(aantal);
    tekenPagina(p, pagina, scherm, *pic, kop, naam,
                uitkomst(i < statussen.size() ? statussen[i] : SlootStatus::GeenSloot, profiel));
    if (nr < aantal) pdf.newPage();
  }
  const bool gelukt = p.end();

  if (terug >= 1) {
    emit navigatie->springNaar(terug);
    if (!wasPassend) pic->zetVenster(zoom);
  }
  if (!gelukt) return QStringLiteral("Het rapport ") + pad + QStringLiteral(" kon niet volledig worden geschreven.");
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

int maakRapportZonderScherm(const QString& uit, const QString& profielbestand, const QString& slootbestand) {
  BerichtenNaarStderr stderrDienst;
  struct Terugzetten {
    BerichtenDienst* vorige = &berichten();
    ~Terugzetten() { zetBerichtenDienst(vorige); }
  } terugzetten;
  zetBerichtenDienst(&stderrDienst);

  Taak taak;
  taak.zetBestanden(profielbestand.toStdString(), slootbestand.toStdString());
  BerichtenSink sink;
  if (const auto fout = taak.leesIn(sink, decimaalteken())) {
    toonMelding(*fout);
    return 1;
  }
  // On screen this is a question; a script goes on, as the batch does.
  if (const auto waarschuwing = waarschuwingSlootNamen(taak.store())) toonMelding(*waarschuwing);
  FrmPL scherm(taak);
  scherm.laad();
  // Laid out as on screen, so the panels have their own sizes on the page;
  // never shown, there is no screen.
  scherm.resize(1000, 650);
  if (scherm.layout()) scherm.layout()->activate();
  if (const auto fout = schrijfRapport(scherm, taak, uit)) {
    toonBericht(*fout, QStringLiteral("Fout!"), Icoon::Kritiek);
    return 1;
  }
  return 0;
}

}  // namespace zarvo::gui
