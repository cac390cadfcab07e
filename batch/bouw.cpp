// zarvo-batch bouw: the whole job without the screens. Reads both input
// files, deletes the profiles named on the command line as the review
// screen would, builds the ditches and writes the result.
#include <cstdint>
#include <cstdio>
#include <memory>
#include <new>
#include <string>
#include <string_view>
#include <vector>

#include "batch/batchgemeen.h"
#include "input/karakteristiekepunten.h"
#include "basis/onderbreking.h"
#include "taak/taak.h"

namespace zarvo::batch {

namespace {

// The usage text; it ends in the mapping of the characteristic points,
// printed from the table the reader and the writer use.
std::string gebruikBouw() {
  std::string tekst =
      "Gebruik: zarvo-batch bouw PROFIELBESTAND SLOOTBESTAND [--uitvoermap MAP]\n"
      "                          [--verwijder NAAM]... [--decimaalteken T]\n"
      "                          [--bestandsnaam NAAM] [--formaat F]\n"
      "                          [--karakteristiekepunten BESTAND]\n"
      "                          [--slootkanten BESTAND] [--koppel-op-naam]\n"
      "                          [--kaart NAAM] [--dxf NAAM] [--crs EPSG:N]\n"
      "\n"
      "Leest het profielbestand en het slootbestand, verwijdert de genoemde\n"
      "profielen, bouwt in elk profiel de sloot en het voorland in en schrijft\n"
      "het resultaat (\"output_profiel_\" + bestandsnaam) en, als er profielen\n"
      "verwijderd zijn, het overzicht daarvan (\"output_verwijderde_profielen_\"\n"
      "+ bestandsnaam).\n"
      "Een PROFIELBESTAND dat begint met de kop LOCATIONID;X1;Y1;Z1 (of\n"
      "PROFIELNAAM;X1;Y1;Z1) wordt gelezen als oppervlaktelijnen, met de\n"
      "karakteristieke punten uit <naam zonder .csv>.krp.csv ernaast als dat\n"
      "bestand bestaat.\n"
      "Per profiel een regel <nummer> TAB <naam> TAB <sloot | geen sloot | fout>\n"
      "op stdout; meldingen en fouten gaan naar stderr.\n"
      "\n"
      "Opties:\n"
      "  --uitvoermap MAP     map voor de uitvoerbestanden; standaard de huidige map\n"
      "  --verwijder NAAM     verwijdert het eerste overgebleven profiel met precies\n"
      "                       deze naam; mag vaker gegeven worden, in volgorde\n"
      "  --decimaalteken T    ',' of '.' voor getallen in de uitvoer en in meldingen;\n"
      "                       standaard volgens\n"
      "                       " ZARVO_HERKOMST_DECIMAALTEKEN ";\n"
      "                       oppervlaktelijnen krijgen altijd '.'\n"
      "  --bestandsnaam NAAM  achter de standaardnamen van de uitvoerbestanden;\n"
      "                       standaard de bestandsnaam van PROFIELBESTAND\n"
      "  --formaat F          profielregels (standaard): een regel per punt, zoals\n"
      "                       ingelezen; oppervlaktelijnen: de profielen als\n"
      "                       oppervlaktelijnen (output_oppervlaktelijnen_<stam>.csv)\n"
      "                       met karakteristieke punten (...<stam>.krp.csv), stam =\n"
      "                       bestandsnaam zonder extensie\n"
      "  --karakteristiekepunten BESTAND\n"
      "                       de karakteristieke punten bij oppervlaktelijnen\n"
      "  --slootkanten BESTAND\n"
      "                       de slootkanten die in het slootscherm met de hand\n"
      "                       zijn gekozen (output_slootkanten_<stam>.csv): die\n"
      "                       profielen krijgen hun sloot tussen die punten, en\n"
      "                       het bestand wordt naast het resultaat opgeslagen\n"
      "  --koppel-op-naam     geeft elk profiel het record van het slootbestand met\n"
      "                       zijn naam (spaties eromheen en hoofdletters tellen\n"
      "                       niet), in plaats van record 1 aan profiel 1 enzovoort;\n"
      "                       het aantal records mag dan verschillen. Profielen\n"
      "                       zonder record (die krijgen geen sloot) en records\n"
      "                       zonder profiel worden op stderr genoemd; twee records\n"
      "                       voor een profiel, of een record dat bij twee\n"
      "                       profielen met dezelfde naam past, zijn een fout\n"
      "  --kaart NAAM         schrijft ook een GeoPackage (.gpkg) voor GIS in de\n"
      "                       uitvoermap, met de lagen profielen, punten, sloten\n"
      "                       en verwijderd\n"
      "  --dxf NAAM           schrijft ook een DXF-tekening voor CAD in de uitvoermap:\n"
      "                       de profielen in 3D en de dwarsprofielen in een raster\n"
      "  --crs EPSG:N         het coordinatenstelsel dat de kaart opgeeft; standaard\n"
      "                       EPSG:28992 (RD New); de coordinaten blijven zoals ze zijn\n"
      "  --help               deze uitleg\n"
      "\n"
      "Karakteristieke punten en puntcodes (schrijven; inlezen geeft een punt\n"
      "waarop een karakteristiek punt ligt die code in beide codevelden):\n";
  tekst += uitlegKarakteristiekePunten();
  tekst +=
      "\n"
      "Afsluitcode: 0 klaar (ook als enkele profielen een foutmelding gaven),\n"
      "1 invoer- of uitvoerbestand niet leesbaar, fout of niet te schrijven,\n"
      "2 verkeerd gebruik.\n";
  return tekst;
}

// "a, b of c": the names --formaat takes.
std::string formaatNamen() {
  const auto formaten = resultaatformaten();
  std::string tekst;
  for (std::size_t i = 0; i < formaten.size(); ++i) {
    if (i > 0) tekst += i + 1 == formaten.size() ? " of " : ", ";
    tekst += formaten[i].naam;
  }
  return tekst;
}

constexpr std::string_view optieVerwijder = "--verwijder";

// --verwijder may be given more than once and its order matters, which the
// shared option map cannot hold; it is taken out here and the rest goes to
// the shared parser. Values of the other options are passed over so that a
// folder named "--verwijder" stays a folder.
struct Gesplitst {
  std::vector<std::string> verwijder;
  std::vector<std::string> rest;
  std::string fout;
};

Gesplitst splitsVerwijder(const std::vector<std::string>& argumenten) {
  Gesplitst uit;
  for (std::size_t i = 0; i < argumenten.size(); ++i) {
    const std::string& arg = argumenten[i];
    if (arg == "--") {
      uit.rest.insert(uit.rest.end(), argumenten.begin() + static_cast<std::ptrdiff_t>(i),
                      argumenten.end());
      break;
    }
    if (arg == optieVerwijder) {
      if (i + 1 >= argumenten.size()) {
        uit.fout = "de optie --verwijder verwacht een waarde";
        return uit;
      }
      uit.verwijder.push_back(argumenten[++i]);
      continue;
    }
    if (arg.rfind(std::string(optieVerwijder) + "=", 0) == 0) {
      uit.verwijder.push_back(arg.substr(optieVerwijder.size() + 1));
      continue;
    }
    uit.rest.push_back(arg);
    if ((arg == "--uitvoermap" || arg == "--decimaalteken" || arg == "--bestandsnaam" || arg == "--formaat" ||
         arg == "--karakteristiekepunten" || arg == "--slootkanten" || arg == "--kaart" || arg == "--dxf" ||
         arg == "--crs") &&
        i + 1 < argumenten.size()) {
      uit.rest.push_back(argumenten[++i]);
    }
  }
  return uit;
}

std::string optie(const Argumenten& args, const std::string& naam, std::string standaard) {
  const auto gevonden = args.opties.find(naam);
  return gevonden == args.opties.end() ? standaard : gevonden->second;
}

}  // namespace

int voerBouwUit(const std::vector<std::string>& argumenten) {
  const Gesplitst gesplitst = splitsVerwijder(argumenten);
  if (!gesplitst.fout.empty()) return gebruiksfout(gesplitst.fout, gebruikBouw());
  const Argumenten args =
      ontleedArgumenten(gesplitst.rest, {"uitvoermap", "decimaalteken", "bestandsnaam", "formaat",
                                         "karakteristiekepunten", "slootkanten", "kaart", "dxf", "crs"},
                        {"koppel-op-naam"});
  if (!args.fout.empty()) return gebruiksfout(args.fout, gebruikBouw());
  if (args.hulp) {
    const std::string tekst = gebruikBouw();
    std::fwrite(tekst.data(), 1, tekst.size(), stdout);
    return klaar;
  }
  if (args.posities.size() != 2) {
    return gebruiksfout("een profielbestand en een slootbestand verwacht", gebruikBouw());
  }
  std::string fout;
  const char decimaalteken = kiesDecimaalteken(args, fout);
  if (!fout.empty()) return gebruiksfout(fout, gebruikBouw());
  const std::string formaatNaam = optie(args, "formaat", std::string(resultaatformaten().front().naam));
  const Formaatkeuze* const formaatKeuze = zoekResultaatformaat(formaatNaam);
  if (!formaatKeuze) {
    return gebruiksfout("onbekend formaat '" + formaatNaam + "' (" + formaatNamen() + ")", gebruikBouw());
  }

  // From here on Ctrl-C, SIGTERM and SIGHUP stop the job where it is safe:
  // before the save, or with the save undone or finished.
  vangOnderbrekingen();
  auto gestopt = []() {
    const int signaal = onderbrekingSignaal();
    meldOpStderr(Melding{"Fout!", "Gestopt door " + signaalNaam(signaal) + "; er is niets opgeslagen.", Icoon::Kritiek});
    return afsluitcodeVoorSignaal(signaal);
  };

  // The job is never freed: the process ends right after it, and giving
  // back a million points one by one would only add to the wait. The
  // pointer stays reachable, so a leak checker does not count it.
  static Taak* const blijvend = new Taak;
  Taak& taak = *blijvend;
  taak.zetKarakteristiekePunten(optie(args, "karakteristiekepunten", ""));
  taak.zetBestanden(args.posities[0], args.posities[1]);
  if (args.opties.count("koppel-op-naam")) taak.zetSlootkoppeling(Slootkoppeling::OpNaam);
  // The exports are names in the output folder, saved with the result.
  const std::string kaartNaam = optie(args, "kaart", "");
  const std::string dxfNaam = optie(args, "dxf", "");
  for (const auto& [optieNaam, naam] : {std::pair{"--kaart", &kaartNaam}, std::pair{"--dxf", &dxfNaam}}) {
    if (!args.opties.count(optieNaam + 2)) continue;
    if (const Naamfout waarom = controleerBestandsnaam(*naam); waarom != Naamfout::Geen) {
      return gebruiksfout(std::string(optieNaam) + " '" + *naam + "' is geen bestandsnaam in de uitvoermap (" +
                              std::string(naamfoutTekst(waarom)) + "); kies de map met --uitvoermap",
                          gebruikBouw());
    }
  }
  const int epsg = leesEpsg(optie(args, "crs", "EPSG:" + std::to_string(epsgRdNieuw)));
  if (epsg == 0) {
    return gebruiksfout("--crs '" + optie(args, "crs", "") + "' is geen code als EPSG:28992", gebruikBouw());
  }
  if (args.opties.count("crs") && kaartNaam.empty()) {
    return gebruiksfout("--crs hoort bij --kaart", gebruikBouw());
  }
  const bool metExport = !kaartNaam.empty() || !dxfNaam.empty();
  taak.zetBouwfeitenBewaren(metExport                      ? Taak::Feiten::Alles
                            : formaatKeuze->metBouwfeiten ? Taak::Feiten::Ligging
                                                           : Taak::Feiten::Geen);
  if (const auto naam = args.opties.find("bestandsnaam"); naam != args.opties.end()) {
    taak.zetBestandsnaam(naam->second);
  }
  const std::shared_ptr<const Resultaatformaat> gekozenFormaat = formaatKeuze->maak(taak);
  const Resultaatformaat& basisformaat = *gekozenFormaat;
  std::vector<std::string> namen;
  // Chosen ditch edges are saved again beside the result by the job, as
  // the save screen's are, so that a replay gives the screen's files.
  const std::string slootkanten = optie(args, "slootkanten", "");
  const Resultaatformaat& formaat = basisformaat;
  for (std::size_t i = 0; i < formaat.aantalBestanden(); ++i) namen.push_back(taak.standaardNaamResultaat(formaat, i));
  if (!kaartNaam.empty()) namen.push_back(kaartNaam);
  if (!dxfNaam.empty()) namen.push_back(dxfNaam);
  const std::string uitvoermap = optie(args, "uitvoermap", "");
  // The files must land in the folder asked for, under names of their own:
  // it is the names made from --bestandsnaam that count ("sub/x.txt" would
  // write into a subfolder).
  std::vector<std::string> alleNamen = namen;
  alleNamen.push_back(taak.standaardNaamVerwijderd());
  if (!slootkanten.empty()) alleNamen.push_back(taak.naamSlootkanten());
  for (const std::string& naam : alleNamen) {
    if (const Naamfout waarom = controleerBestandsnaam(naam); waarom != Naamfout::Geen) {
      return gebruiksfout("--bestandsnaam '" + taak.bestandsnaam() + "' geeft de uitvoernaam '" + naam +
                              "', geen geldige bestandsnaam (" + std::string(naamfoutTekst(waarom)) + ")",
                          gebruikBouw());
    }
  }

  // A folder that cannot take the result is told before minutes of reading.
  std::vector<Melding> hersteld;
  const auto doelFout = taak.controleerDoel(uitvoermap, namen, taak.standaardNaamVerwijderd(), &hersteld);
  for (const Melding& m : hersteld) meldOpStderr(m);
  if (doelFout) {
    meldOpStderr(*doelFout);
    return invoerFout;
  }

  StderrSink sink;
  std::vector<SlootStatus> statussen;
  // Which file the job is busy with, for the message when memory runs out.
  std::string bezigMet = taak.profielbestand();
  try {
    const auto melding = taak.leesIn(sink, decimaalteken, [](std::uint64_t, std::uint64_t) {
      if (onderbrekingSignaal() != 0) throw Onderbroken();
    });
    if (melding) {
      meldOpStderr(*melding);
      return invoerFout;
    }
    // A script cannot be asked; the warnings are only told, and so are the
    // names that found no match when matched by name.
    for (const Melding& waarschuwing : taak.leeswaarschuwingen()) meldOpStderr(waarschuwing);

    for (const std::string& naam : gesplitst.verwijder) {
      const std::int32_t gevonden = taak.zoekProfiel(naam);
      if (gevonden == 0) {
        return gebruiksfout("geen profiel met de naam '" + naam + "' om te verwijderen", gebruikBouw());
      }
      if (const auto melding = taak.verwijder(gevonden)) {
        meldOpStderr(*melding);
        return invoerFout;
      }
    }
    if (!slootkanten.empty()) {
      if (const auto melding = taak.pasSlootkantenToe(slootkanten)) {
        meldOpStderr(*melding);
        return invoerFout;
      }
    }
    if (onderbrekingSignaal() != 0) return gestopt();
    statussen = taak.bouwSloten(sink);
  } catch (const Onderbroken&) {
    return gestopt();
  } catch (const std::bad_alloc&) {
    meldOpStderr(meldingTeWeinigGeheugen(bezigMet));
    return invoerFout;
  }
  if (onderbrekingSignaal() != 0) return gestopt();

  // Scripts rely on the batch replacing earlier results; it only says so.
  for (const std::string& pad : taak.bestaandeDoelen(uitvoermap, namen, taak.standaardNaamVerwijderd())) {
    meldOpStderr(Melding{"Let op!", pad + " bestaat al en wordt vervangen.", Icoon::Informatie});
  }
  // What the importers will skip is told, and written all the same.
  if (const auto* opl = dynamic_cast<const Oppervlaktelijnen*>(&basisformaat)) {
    if (const auto waarschuwing = opl->waarschuwing(taak.store())) meldOpStderr(*waarschuwing);
  }
  Opslagverslag verslag;
  // The exports draw the built job, so they are made now.
  const GeoPackageformaat kaart(taak.kaartinhoud(), epsg);
  const Dxfformaat dxf(taak.kaartinhoud());
  std::vector<const Resultaatformaat*> delen{&formaat};
  if (!kaartNaam.empty()) delen.push_back(&kaart);
  if (!dxfNaam.empty()) delen.push_back(&dxf);
  const Samengesteldformaat samen(std::move(delen));
  const auto opslagFout = taak.slaOp(uitvoermap, namen, taak.standaardNaamVerwijderd(), decimaalteken, samen, &verslag);
  for (const Melding& m : verslag.hersteld) meldOpStderr(m);
  if (opslagFout) {
    meldOpStderr(*opslagFout);
    if (onderbrekingSignaal() != 0) return afsluitcodeVoorSignaal(onderbrekingSignaal());
    return invoerFout;
  }

  // The status lines come after the save: a reader of stdout that stops
  // early (| head) or a full device must not keep the result from being
  // written. Their failure still makes the exit code 1.
  // Written in parts: a million profiles would otherwise hold their
  // lines twice over in one string.
  std::string uit;
  bool uitGelukt = true;
  for (std::int32_t p = 1; p <= taak.store().aantalProfielen() && uitGelukt; ++p) {
    uit += std::to_string(p);
    uit += '\t';
    uit += taak.store().profiel(p).naam;
    uit += '\t';
    uit += uitkomstTekst(statussen[static_cast<std::size_t>(p - 1)]);
    uit += '\n';
    if (uit.size() >= (1 << 16) || p == taak.store().aantalProfielen()) {
      uitGelukt = schrijfNaarStdout(uit);
      uit.clear();
    }
  }
  meldOpStderr(meldingOpgeslagen(verslag));
  if (const int signaal = onderbrekingSignaal()) {
    // It came after the save was committed; the new files are complete.
    meldOpStderr(Melding{"Let op!", "Gestopt door " + signaalNaam(signaal) + " na het opslaan.", Icoon::Informatie});
    return afsluitcodeVoorSignaal(signaal);
  }
  if (!uitGelukt) return stdoutMislukt();
  return klaar;
}

}  // namespace zarvo::batch
