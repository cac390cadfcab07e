// The save as one unit: what an interrupted save leaves is finished or
// undone, saves into one folder take turns, no list outlives its result,
// and the odd targets (links, pipes, long names, an input file, a mode).
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <future>
#include <new>
#include <string>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include "output/opslag.h"
#include "output/resultaatschrijver.h"
#include "output/veiligschrijven.h"
#include "taak/taak.h"
#include "testmap.h"

using namespace zarvo;
namespace fs = std::filesystem;

namespace {

std::vector<std::string> inhoud(const fs::path& map) {
  std::vector<std::string> namen;
  for (const auto& e : fs::directory_iterator(map)) namen.push_back(utf8UitPad(e.path().filename()));
  std::sort(namen.begin(), namen.end());
  return namen;
}

ProfielStore store(int aantalVerwijderd) {
  ProfielStore s;
  for (int i = 0; i < 4; ++i) {
    Profiel p;
    p.naam = "P" + std::to_string(i);
    p.punten = {Punt{Cel(99.0), Cel(999.0), 1.0 * i, 2.0, 3.0}, Punt{Cel(5.0), Cel(), 4.0, 5.0 + i, 6.0}};
    s.profielen.push_back(p);
  }
  s.dekGrenzen();
  for (int i = 0; i < aantalVerwijderd; ++i) s.verwijderProfiel(1);
  return s;
}

std::optional<Melding> bewaar(const ProfielStore& s, const zarvotest::TestMap& map, Opslagverslag* verslag = nullptr,
                              const std::string& naam = "uit.csv") {
  return slaOp(s, map.mapUtf8(), profielregels(), {naam}, "weg.csv", '.', verslag);
}

}  // namespace

TEST(Opslag, AnInterruptedSaveIsFinishedOrUndoneByTheNext) {
  zarvotest::TestMap map;
  const fs::path m = map.map();
  // A save killed after it was committed: the result is still under its
  // temporary name, the stale list not yet removed.
  map.schrijf("uit.csv", "oud");
  map.schrijf("weg.csv", "oude lijst");
  map.schrijf(".zarvo-0000000a.tmp", "nieuw");
  fs::create_hard_link(m / "uit.csv", m / ".zarvo-0000000a.oud");
  fs::create_hard_link(m / "weg.csv", m / ".zarvo-0000000b.oud");
  const std::vector<opslag::Stap> stappen = {
      {opslag::Stap::Soort::Plaats, ".zarvo-0000000a.tmp", ".zarvo-0000000a.oud", "uit.csv"},
      {opslag::Stap::Soort::Weg, {}, ".zarvo-0000000b.oud", "weg.csv"}};
  map.schrijf(opslag::journaalNaam(), opslag::journaalTekst(opslag::Staat::Vastgelegd, stappen));
  std::vector<Melding> hersteld;
  ASSERT_FALSE(controleerDoelmap(map.mapUtf8(), &hersteld));
  ASSERT_EQ(hersteld.size(), 1u);
  EXPECT_NE(hersteld[0].tekst.find("afgemaakt"), std::string::npos) << hersteld[0].tekst;
  EXPECT_EQ(inhoud(m), std::vector<std::string>{"uit.csv"});
  EXPECT_EQ(zarvotest::leesAlles(m / "uit.csv"), "nieuw");

  // Killed before the commit: the old files stay, ours go. An earlier
  // version's leftovers ('.<name>.zarvo-<hex>.tmp') go as well.
  map.schrijf("weg.csv", "oude lijst");
  map.schrijf(".zarvo-0000000c.tmp", "half");
  map.schrijf(".uit.csv.zarvo-3f2a.tmp", "half");
  const std::vector<opslag::Stap> voorbereid = {
      {opslag::Stap::Soort::Plaats, ".zarvo-0000000c.tmp", {}, "uit.csv"},
      {opslag::Stap::Soort::Weg, {}, ".zarvo-0000000d.oud", "weg.csv"}};
  map.schrijf(opslag::journaalNaam(), opslag::journaalTekst(opslag::Staat::Voorbereid, voorbereid));
  Opslagverslag verslag;
  ASSERT_FALSE(bewaar(store(1), map, &verslag));
  ASSERT_EQ(verslag.hersteld.size(), 2u);
  EXPECT_NE(verslag.hersteld[0].tekst.find("ongedaan gemaakt"), std::string::npos) << verslag.hersteld[0].tekst;
  EXPECT_EQ(inhoud(m), (std::vector<std::string>{"uit.csv", "weg.csv"}));
  EXPECT_EQ(zarvotest::leesAlles(m / "weg.csv"), "Overzicht verwijderde profielen\r\nP0\r\n");
}

namespace {

// Runs 'werk' with 'map' as the working folder and puts the old one back.
template <typename Werk>
auto metWerkmap(const fs::path& map, Werk werk) {
  const fs::path was = fs::current_path();
  fs::current_path(map);
  struct Terug {
    fs::path was;
    ~Terug() { fs::current_path(was); }
  } terug{was};
  return werk();
}

}  // namespace

TEST(Opslag, AJournalIsFollowedOnlyWithinItsOwnFolder) {
  zarvotest::TestMap map, elders;
  const fs::path uit = map.map() / "uit";
  fs::create_directory(uit);
  // A save into "uit" (relative), killed after its commit; the run that
  // finds it works elsewhere, where "uit/uit.csv" is some other file.
  fs::create_directory(elders.map() / "uit");
  elders.schrijf("uit/uit.csv", "ander");
  elders.schrijf("uit/weg.csv", "ander");
  map.schrijf("uit/uit.csv", "oud");
  map.schrijf("uit/weg.csv", "oude lijst");
  map.schrijf("uit/.zarvo-0000000a.tmp", "nieuw");
  fs::create_hard_link(uit / "uit.csv", uit / ".zarvo-0000000a.oud");
  fs::create_hard_link(uit / "weg.csv", uit / ".zarvo-0000000b.oud");
  // As earlier versions wrote it: the paths as that run was given them.
  std::string v1 = opslag::journaalTekst(
      opslag::Staat::Vastgelegd,
      {{opslag::Stap::Soort::Plaats, "uit/.zarvo-0000000a.tmp", "uit/.zarvo-0000000a.oud", "uit/uit.csv"},
       {opslag::Stap::Soort::Weg, {}, "uit/.zarvo-0000000b.oud", "uit/weg.csv"}});
  v1.replace(0, 15, "zarvo-opslag 1 ");
  map.schrijf("uit/" + std::string(opslag::journaalNaam()), v1);
  std::vector<Melding> hersteld;
  EXPECT_FALSE(metWerkmap(elders.map(), [&] { return controleerDoelmap(zarvo::utf8UitPad(uit), &hersteld); }));
  ASSERT_EQ(hersteld.size(), 1u);
  EXPECT_NE(hersteld[0].tekst.find("afgemaakt"), std::string::npos) << hersteld[0].tekst;
  EXPECT_EQ(inhoud(uit), std::vector<std::string>{"uit.csv"});
  EXPECT_EQ(zarvotest::leesAlles(uit / "uit.csv"), "nieuw");
  EXPECT_EQ(inhoud(elders.map() / "uit"), (std::vector<std::string>{"uit.csv", "weg.csv"}));

  // Today's journal holds bare names; a relative folder finds the same.
  map.schrijf("uit/.zarvo-0000000c.tmp", "half");
  map.schrijf("uit/" + std::string(opslag::journaalNaam()),
              opslag::journaalTekst(opslag::Staat::Voorbereid,
                                    {{opslag::Stap::Soort::Plaats, ".zarvo-0000000c.tmp", {}, "uit.csv"}}));
  hersteld.clear();
  EXPECT_FALSE(metWerkmap(map.map(), [&] { return controleerDoelmap("uit", &hersteld); }));
  ASSERT_EQ(hersteld.size(), 1u);
  EXPECT_NE(hersteld[0].tekst.find("In " + zarvo::utf8UitPad(uit) + " was"), std::string::npos) << hersteld[0].tekst;
  EXPECT_EQ(inhoud(uit), std::vector<std::string>{"uit.csv"});
  EXPECT_EQ(zarvotest::leesAlles(uit / "uit.csv"), "nieuw");

  // Names that lead out of the folder or are not ours: nothing is done,
  // the journal stays, the message names the folder and what to remove.
  const std::string buiten = elders.schrijf("buiten.csv", "van een ander");
  const std::vector<std::vector<opslag::Stap>> kwaad = {
      {{opslag::Stap::Soort::Weg, {}, {}, "../buiten.csv"}},
      {{opslag::Stap::Soort::Weg, {}, {}, buiten}},
      {{opslag::Stap::Soort::Plaats, ".zarvo-0000000e.tmp", {}, ".zarvo-opslag.lock"}},
      {{opslag::Stap::Soort::Plaats, "uit.csv", {}, "b.csv"}},
      {{opslag::Stap::Soort::Plaats, ".zarvo-0000000e.tmp", "../buiten.csv", "uit.csv"}},
  };
  map.schrijf("uit/.zarvo-0000000e.tmp", "kwaad");
  for (std::size_t i = 0; i <= kwaad.size(); ++i) {
    // The last: an earlier version's journal, pointing out of the folder.
    const bool versie1 = i == kwaad.size();
    std::string tekst = opslag::journaalTekst(
        opslag::Staat::Vastgelegd, versie1 ? std::vector<opslag::Stap>{{opslag::Stap::Soort::Weg, {}, {}, buiten}} : kwaad[i]);
    if (versie1) tekst.replace(0, 15, "zarvo-opslag 1 ");
    map.schrijf("uit/" + std::string(opslag::journaalNaam()), tekst);
    const auto fout = slaOp(store(0), zarvo::utf8UitPad(uit), profielregels(), {"uit.csv"}, "weg.csv", '.');
    ASSERT_TRUE(fout) << i;
    EXPECT_EQ(fout->tekst.substr(0, fout->tekst.find('\n')), "Opslaan in deze map kan niet");
    EXPECT_NE(fout->tekst.find("In " + zarvo::utf8UitPad(uit) + " staat een onderbroken opslag die niet veilig"),
              std::string::npos) << fout->tekst;
    EXPECT_NE(fout->tekst.find("verwijder daar het journaal .zarvo-opslag.journaal"), std::string::npos) << fout->tekst;
    EXPECT_EQ(zarvotest::leesAlles(buiten), "van een ander");
    EXPECT_EQ(inhoud(uit), (std::vector<std::string>{".zarvo-0000000e.tmp", ".zarvo-opslag.journaal", "uit.csv"})) << i;
  }

  // A step that fails is no success: the result and its temporary file are
  // both gone, so the journal stays and the save says so.
  fs::remove(uit / ".zarvo-0000000e.tmp");
  fs::remove(uit / "uit.csv");
  map.schrijf("uit/" + std::string(opslag::journaalNaam()),
              opslag::journaalTekst(opslag::Staat::Vastgelegd,
                                    {{opslag::Stap::Soort::Plaats, ".zarvo-0000000f.tmp", {}, "uit.csv"}}));
  hersteld.clear();
  const auto mislukt = controleerDoelmap(zarvo::utf8UitPad(uit), &hersteld);
  ASSERT_TRUE(mislukt);
  EXPECT_TRUE(hersteld.empty());
  EXPECT_NE(mislukt->reden.find("het afmaken is mislukt"), std::string::npos) << mislukt->reden;
  EXPECT_TRUE(fs::exists(uit / opslag::journaalNaam()));
}

#ifndef _WIN32
// Another user: as root any user id will do (no account needed); anyone
// else cannot play one.
TEST(Opslag, ASharedFolderServesEveryMemberAndObeysNone) {
  if (geteuid() != 0) GTEST_SKIP() << "alleen als root is een tweede gebruiker na te spelen";
  const uid_t ander = 54321;
  zarvotest::TestMap map;
  fs::permissions(map.map(), fs::perms::all);
  zarvotest::TestMap elders;
  const std::string prive = elders.schrijf("prive.csv", "van root");

  // A journal someone else left: nothing of it is done, even though every
  // name in it would be fine for a journal of our own.
  map.schrijf("uit.csv", "oud");
  map.schrijf(".zarvo-0000000a.tmp", "van de ander");
  map.schrijf(opslag::journaalNaam(),
              opslag::journaalTekst(opslag::Staat::Vastgelegd,
                                    {{opslag::Stap::Soort::Plaats, ".zarvo-0000000a.tmp", {}, "uit.csv"}}));
  ASSERT_EQ(chown((map.map() / opslag::journaalNaam()).c_str(), ander, ander), 0);
  const auto fout = controleerDoelmap(map.mapUtf8());
  ASSERT_TRUE(fout);
  EXPECT_NE(fout->reden.find("van een andere gebruiker"), std::string::npos) << fout->reden;
  EXPECT_EQ(zarvotest::leesAlles(map.map() / "uit.csv"), "oud");
  fs::remove(map.map() / opslag::journaalNaam());
  fs::remove(map.map() / ".zarvo-0000000a.tmp");

  // The lock from the other side: a member whose run was killed left the
  // lock file; another member takes it, unless it is really held.
  auto neemtAls = [&](uid_t wie) {
    const pid_t kind = fork();
    if (kind == 0) {
      if (setgid(wie) != 0 || setuid(wie) != 0) _exit(3);
      std::unique_ptr<Mapslot> slot;
      switch (Mapslot::neem(map.map(), std::chrono::milliseconds(200), slot)) {
        case Mapslot::Uitkomst::Genomen: _exit(0);
        case Mapslot::Uitkomst::Bezet: _exit(1);
        case Mapslot::Uitkomst::Fout: _exit(2);
      }
      _exit(4);
    }
    int status = 0;
    waitpid(kind, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128;
  };
  const fs::path slot = map.map() / Mapslot::bestandsnaam();
  {
    std::unique_ptr<Mapslot> gehouden;
    ASSERT_EQ(Mapslot::neem(map.map(), std::chrono::milliseconds(0), gehouden), Mapslot::Uitkomst::Genomen);
    EXPECT_EQ(neemtAls(ander), 1);
    // Left behind as by a kill: the file stays, nobody holds it.
    ASSERT_EQ(link(slot.c_str(), (map.map() / "bewaard").c_str()), 0);
  }
  fs::rename(map.map() / "bewaard", slot);
  EXPECT_EQ(neemtAls(ander), 0);
  // An earlier version's, readable for its owner alone.
  const int fd = open(slot.c_str(), O_CREAT | O_WRONLY, 0600);
  ASSERT_GE(fd, 0);
  close(fd);
  EXPECT_EQ(neemtAls(ander), 0);
  EXPECT_EQ(zarvotest::leesAlles(prive), "van root");
}
#endif

TEST(Opslag, JournalKeepsEveryByteOfANameAndRefusesDamage) {
  const std::vector<opslag::Stap> stappen = {
      {opslag::Stap::Soort::Plaats, ".zarvo-1.tmp", {}, "naam met\nregel en 12:3", true},
      {opslag::Stap::Soort::Weg, {}, ".zarvo-2.oud", "w\xc3\xa9g"}};
  const std::string tekst = opslag::journaalTekst(opslag::Staat::Terug, stappen);
  opslag::Staat staat{};
  std::vector<opslag::Stap> terug;
  ASSERT_TRUE(opslag::leesJournaal(tekst, staat, terug));
  EXPECT_EQ(staat, opslag::Staat::Terug);
  ASSERT_EQ(terug.size(), 2u);
  EXPECT_EQ(terug[0].doel, stappen[0].doel);
  EXPECT_TRUE(terug[0].viaKoppeling);
  EXPECT_FALSE(terug[1].viaKoppeling);
  EXPECT_EQ(terug[1].reserve, stappen[1].reserve);
  EXPECT_TRUE(terug[0].reserve.empty());
  for (std::size_t n = 0; n + 1 < tekst.size(); ++n) {
    // Cut anywhere but after a whole step: never read as a journal.
    if (n > 0 && tekst[n - 1] == '\n') continue;
    EXPECT_FALSE(opslag::leesJournaal(tekst.substr(0, n), staat, terug)) << n;
  }
}

TEST(Opslag, SavesIntoOneFolderTakeTurns) {
  zarvotest::TestMap map;
  std::unique_ptr<Mapslot> slot;
  ASSERT_EQ(Mapslot::neem(map.map(), std::chrono::milliseconds(0), slot), Mapslot::Uitkomst::Genomen);
  zetWachttijdMapslot(std::chrono::milliseconds(100));
  const auto bezet = bewaar(store(0), map);
  ASSERT_TRUE(bezet);
  EXPECT_EQ(bezet->tekst.substr(0, bezet->tekst.find('\n')), "De map is bezet");
  EXPECT_NE(bezet->tekst.find("er wordt al in deze map opgeslagen"), std::string::npos) << bezet->tekst;
  EXPECT_EQ(inhoud(map.map()), std::vector<std::string>{Mapslot::bestandsnaam()});
  slot.reset();
  EXPECT_TRUE(inhoud(map.map()).empty());

  // Two saves at once, one with a list and one without: each pair is whole.
  zetWachttijdMapslot(std::chrono::milliseconds(5000));
  const ProfielStore met = store(1), zonder = store(0);
  const std::string resultaatMet = (bewaar(met, map), zarvotest::leesAlles(map.map() / "uit.csv"));
  for (int ronde = 0; ronde < 20; ++ronde) {
    auto a = std::async(std::launch::async, [&] { return bewaar(met, map); });
    auto b = std::async(std::launch::async, [&] { return bewaar(zonder, map); });
    EXPECT_FALSE(a.get());
    EXPECT_FALSE(b.get());
    const bool metLijst = fs::exists(map.map() / "weg.csv");
    EXPECT_EQ(zarvotest::leesAlles(map.map() / "uit.csv") == resultaatMet, metLijst) << ronde;
    EXPECT_EQ(inhoud(map.map()).size(), metLijst ? 2u : 1u);
  }
}

TEST(Opslag, AListOfAnEarlierSaveGoesWhenNothingWasDeleted) {
  zarvotest::TestMap map;
  ASSERT_FALSE(bewaar(store(2), map));
  Opslagverslag verslag;
  ASSERT_FALSE(bewaar(store(0), map, &verslag));
  EXPECT_EQ(inhoud(map.map()), std::vector<std::string>{"uit.csv"});
  EXPECT_EQ(verslag.oudeLijstVerwijderd, map.pad("weg.csv"));
  EXPECT_NE(meldingOpgeslagen(verslag).tekst.find("Het oude overzicht " + map.pad("weg.csv") + " is verwijderd"),
            std::string::npos);
  EXPECT_EQ(meldingOpgeslagen(Opslagverslag{}).tekst, "Bestanden zijn opgeslagen.");
}

TEST(Opslag, ANameIsOneFileOfItsOwnInTheFolder) {
  const std::pair<std::string_view, Naamfout> gevallen[] = {
      {"output_profiel_x.txt", Naamfout::Geen},
      {".verborgen", Naamfout::Geen},
      {"...", Naamfout::Geen},
      {"a..b", Naamfout::Geen},
      {"x.zarvo-y", Naamfout::Geen},
      {" x ", Naamfout::Geen},
      {"", Naamfout::Leeg},
      {" \t ", Naamfout::Leeg},
      {".", Naamfout::PuntOfPuntPunt},
      {"..", Naamfout::PuntOfPuntPunt},
      {"sub/x.txt", Naamfout::Scheidingsteken},
      {"sub\\x.txt", Naamfout::Scheidingsteken},
      {"x/", Naamfout::Scheidingsteken},
      {"/", Naamfout::Scheidingsteken},
      {".zarvo-opslag.lock", Naamfout::Gereserveerd},
      {".zarvo-", Naamfout::Gereserveerd},
  };
  for (const auto& [naam, verwacht] : gevallen) {
    EXPECT_EQ(controleerBestandsnaam(naam), verwacht) << "'" << naam << "'";
    EXPECT_EQ(naamfoutTekst(controleerBestandsnaam(naam)).empty(), verwacht == Naamfout::Geen) << naam;
  }
}

TEST(Opslag, OddTargets) {
  zarvotest::TestMap map;
  // The longest name the file system takes: the temporary name is short.
  // (Windows limits the whole path to 260 characters as well.)
#ifndef _WIN32
  const std::string lang(255 - 4, 'x');
#else
  const std::string lang(20, 'x');
#endif
  ASSERT_FALSE(bewaar(store(0), map, nullptr, lang + ".csv"));
  EXPECT_EQ(inhoud(map.map()), std::vector<std::string>{lang + ".csv"});

  // An input file under the result's name is never overwritten.
  ProfielStore s = store(0);
  s.inputbestand = map.schrijf("invoer.txt", "invoer");
  const auto invoer = slaOp(s, map.mapUtf8(), profielregels(), {"invoer.txt"}, "weg.csv", '.');
  ASSERT_TRUE(invoer);
  EXPECT_NE(invoer->tekst.find("dit is een invoerbestand"), std::string::npos);
  EXPECT_TRUE(controleerDoelnamen(map.mapUtf8(), {"a.csv"}, "invoer.txt", {s.inputbestand}));
  EXPECT_FALSE(controleerDoelnamen(map.mapUtf8(), {"a.csv"}, "b.csv", {s.inputbestand}));
  EXPECT_EQ(zarvotest::leesAlles(map.map() / "invoer.txt"), "invoer");

#ifndef _WIN32
  // The mode of the file replaced stays.
  ASSERT_FALSE(bewaar(store(0), map));
  fs::permissions(map.map() / "uit.csv", fs::perms::owner_read | fs::perms::owner_write);
  ASSERT_FALSE(slaOp(store(0), map.mapUtf8(), profielregels(), {"uit.csv"}, "weg.csv", '.'));
  EXPECT_EQ(fs::status(map.map() / "uit.csv").permissions() & fs::perms::mask,
            fs::perms::owner_read | fs::perms::owner_write);

  // A dangling link and a pipe are refused; nothing is written.
  fs::create_symlink("nergens.csv", map.map() / "los.csv");
  const auto los = bewaar(store(0), map, nullptr, "los.csv");
  ASSERT_TRUE(los);
  EXPECT_NE(los->tekst.find("een koppeling naar nergens.csv, dat niet bestaat"), std::string::npos) << los->tekst;
  ASSERT_EQ(mkfifo((map.map() / "pijp.csv").c_str(), 0600), 0);
  const auto pijp = bewaar(store(0), map, nullptr, "pijp.csv");
  ASSERT_TRUE(pijp);
  EXPECT_NE(pijp->tekst.find("geen gewoon bestand"), std::string::npos) << pijp->tekst;
  EXPECT_EQ(inhoud(map.map()),
            (std::vector<std::string>{"invoer.txt", "los.csv", "pijp.csv", "uit.csv", lang + ".csv"}));
#endif
}

#ifndef _WIN32
TEST(Opslag, APipeAsInputIsRefusedAtOnce) {
  zarvotest::TestMap map;
  const std::string pijp = map.pad("profielen.txt");
  ASSERT_EQ(mkfifo(pijp.c_str(), 0600), 0);
  const std::string sloot = map.schrijf("sloot.csv", "kop\n");
  for (const bool alsSloot : {false, true}) {
    auto lezen = std::async(std::launch::async, [&] {
      Taak taak;
      taak.zetBestanden(alsSloot ? map.schrijf("p.txt", "1,2,3,4,5,A\n") : pijp, alsSloot ? pijp : sloot);
      MeldingVerzamelaar sink;
      return taak.leesIn(sink, '.');
    });
    if (lezen.wait_for(std::chrono::seconds(10)) != std::future_status::ready) {
      // Free the blocked reader with a writer that goes at once.
      close(open(pijp.c_str(), O_WRONLY | O_NONBLOCK));
      FAIL() << "het lezen van een pijp blijft wachten";
    }
    const auto fout = lezen.get();
    ASSERT_TRUE(fout);
    EXPECT_EQ(fout->tekst, "Het bestand " + pijp + " is een pijp (FIFO), geen gewoon bestand.");
  }
}
#endif

namespace {

// A format that runs out of memory halfway through its second file.
class GeheugenOp : public Resultaatformaat {
 public:
  std::size_t aantalBestanden() const override { return 2; }
  std::string standaardNaam(std::size_t i, const std::string&) const override { return std::to_string(i); }
  bool schrijf(std::size_t i, const ProfielStore&, Uitvoerstroom& uit, char) const override {
    uit.schrijf("begin");
    if (i == 1) throw std::bad_alloc();
    return true;
  }
};

}  // namespace

TEST(Opslag, OutOfMemoryWhileWritingLeavesTheOldFiles) {
  zarvotest::TestMap map;
  map.schrijf("uit.csv", "oud");
  const auto fout = slaOp(store(1), map.mapUtf8(), GeheugenOp(), {"uit.csv", "krp.csv"}, "weg.csv", '.');
  ASSERT_TRUE(fout);
  EXPECT_EQ(fout->tekst, "te weinig geheugen om " + map.pad("uit.csv") + " te verwerken");
  EXPECT_EQ(inhoud(map.map()), std::vector<std::string>{"uit.csv"});
  EXPECT_EQ(zarvotest::leesAlles(map.map() / "uit.csv"), "oud");
}

#if defined(ZARVO_BATCH) && !defined(_WIN32)
namespace {

// Runs zarvo-batch in 'map' with its stdout on 'uit' (a descriptor) and its
// stderr in the file "stderr"; 'grensKb' limits its address space. Returns
// the exit code, or 128 + the signal that ended it.
int draai(const zarvotest::TestMap& map, std::vector<std::string> args, int uit, long grensKb = 0,
         long bestandsgrens = 0) {
  args.insert(args.begin(), ZARVO_BATCH);
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  const pid_t kind = fork();
  if (kind == 0) {
    if (chdir(map.map().c_str()) != 0) _exit(126);
    const int fout = open("stderr", O_WRONLY | O_CREAT | O_TRUNC, 0600);
    dup2(uit, 1);
    dup2(fout, 2);
    if (grensKb > 0) {
      const rlimit grens{static_cast<rlim_t>(grensKb) * 1024, static_cast<rlim_t>(grensKb) * 1024};
      setrlimit(RLIMIT_AS, &grens);
    }
    if (bestandsgrens > 0) {
      const rlimit grens{static_cast<rlim_t>(bestandsgrens), static_cast<rlim_t>(bestandsgrens)};
      setrlimit(RLIMIT_FSIZE, &grens);
    }
    execv(argv[0], argv.data());
    _exit(127);
  }
  int status = 0;
  waitpid(kind, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

}  // namespace

TEST(Opslag, TheBatchSavesWhateverHappensToStdout) {
  zarvotest::TestMap map;
  map.schrijf("p.txt", "99,999,0,0,1,A\n5,999,1,0,1,A\n2,999,5,0,1,A\n99,999,0,0,1,B\n");
  map.schrijf("s.csv", "kop\nA;-1;1;1;;;\nB;-1;1;1;;;\n");
  const std::vector<std::string> args = {"bouw", "p.txt", "s.csv", "--verwijder", "B"};
  // A reader that has gone (| head): no SIGPIPE death; saved, then exit 1.
  int pijp[2];
  ASSERT_EQ(pipe(pijp), 0);
  close(pijp[0]);
  EXPECT_EQ(draai(map, args, pijp[1]), 1);
  close(pijp[1]);
  EXPECT_TRUE(fs::exists(map.map() / "output_profiel_p.txt"));
  EXPECT_TRUE(fs::exists(map.map() / "output_verwijderde_profielen_p.txt"));
  const std::string fout = zarvotest::leesAlles(map.map() / "stderr");
  EXPECT_NE(fout.find("Bestanden zijn opgeslagen."), std::string::npos) << fout;
  EXPECT_NE(fout.find("zarvo-batch: schrijven naar stdout mislukt"), std::string::npos) << fout;

  // A full device: the same, and for lijst too.
  const int vol = open("/dev/full", O_WRONLY);
  ASSERT_GE(vol, 0);
  fs::remove(map.map() / "output_profiel_p.txt");
  EXPECT_EQ(draai(map, args, vol), 1);
  EXPECT_TRUE(fs::exists(map.map() / "output_profiel_p.txt"));
  EXPECT_EQ(draai(map, {"lijst", "p.txt"}, vol), 1);
  close(vol);
}

TEST(Opslag, TheBatchTellsItRanOutOfMemoryAndWritesNothing) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "AddressSanitizer reserves more address space than the limit allows";
#else
  zarvotest::TestMap map;
  std::string regels;
  for (int i = 0; i < 200000; ++i) regels += "99,999," + std::to_string(i) + ",0,1.5,P" + std::to_string(i / 50) + "\n";
  map.schrijf("groot.txt", regels);
  map.schrijf("s.csv", "kop\n");
  const int leeg = open("/dev/null", O_WRONLY);
  EXPECT_EQ(draai(map, {"bouw", "groot.txt", "s.csv"}, leeg, 16 * 1024), 1);
  close(leeg);
  EXPECT_EQ(zarvotest::leesAlles(map.map() / "stderr"), "Fout!: te weinig geheugen om groot.txt te verwerken\n");
  EXPECT_EQ(inhoud(map.map()), (std::vector<std::string>{"groot.txt", "s.csv", "stderr"}));
#endif
}

TEST(Opslag, TheBatchChecksTheFolderBeforeReading) {
  zarvotest::TestMap map;
  const int leeg = open("/dev/null", O_WRONLY);
  // The input is not even there: the folder is what it says first.
  EXPECT_EQ(draai(map, {"bouw", "nergens.txt", "nergens.csv", "--uitvoermap", "geen-map"}, leeg), 1);
  close(leeg);
  EXPECT_EQ(zarvotest::leesAlles(map.map() / "stderr"),
            "Fout!: Fout bij het opslaan, controleer bestandsnaam\ngeen-map: de map bestaat niet\n");
}
TEST(Opslag, TheBatchRefusesWhatItMayNotWriteAndUndoesAFileTooLarge) {
  zarvotest::TestMap map;
  const int leeg = open("/dev/null", O_WRONLY);
  std::string regels;
  for (int i = 0; i < 2000; ++i) regels += "99,999," + std::to_string(i) + ",0,1.5,A\n";
  map.schrijf("p.txt", regels);
  map.schrijf("s.csv", "kop\nA;-1;1;1;;;\n");

  // ulimit -f below the result's size: the save is undone, not killed
  // halfway, and the exit code is that of the signal, as for the others.
  EXPECT_EQ(draai(map, {"bouw", "p.txt", "s.csv"}, leeg, 0, 16 * 1024), 128 + SIGXFSZ);
  std::string fout = zarvotest::leesAlles(map.map() / "stderr");
  EXPECT_NE(fout.find("output_profiel_p.txt: bestand te groot"), std::string::npos) << fout;
  EXPECT_EQ(inhoud(map.map()), (std::vector<std::string>{"p.txt", "s.csv", "stderr"}));

  // A write-protected result stays as it is.
  map.schrijf("output_profiel_p.txt", "bewaren");
  fs::permissions(map.map() / "output_profiel_p.txt", fs::perms::owner_read | fs::perms::group_read);
  EXPECT_EQ(draai(map, {"bouw", "p.txt", "s.csv"}, leeg), 1);
  fout = zarvotest::leesAlles(map.map() / "stderr");
  EXPECT_NE(fout.find("beveiligd tegen schrijven"), std::string::npos) << fout;
  EXPECT_EQ(zarvotest::leesAlles(map.map() / "output_profiel_p.txt"), "bewaren");

  // A name longer than the folder takes is told before the input is even
  // looked at.
  EXPECT_EQ(draai(map, {"bouw", "nergens.txt", "nergens.csv", "--bestandsnaam", std::string(300, 'x')}, leeg), 1);
  fout = zarvotest::leesAlles(map.map() / "stderr");
  EXPECT_NE(fout.find("de naam is te lang (315 tekens; deze map neemt er hoogstens 255)"), std::string::npos) << fout;
  close(leeg);
}
#endif

TEST(Opslag, CharacteristicPointsBesideTheLinesThatAreNoFileAreAnError) {
  zarvotest::TestMap map;
  const std::string opl = map.schrijf("lijnen.csv", "LOCATIONID;X1;Y1;Z1;.....;Xn;Yn;Zn;(Profiel)\n"
                                                    "A;0;0;1;1;0;1;2;0;1\n");
  const std::string sloot = map.schrijf("sloot.csv", "kop\n");
  fs::create_directory(map.map() / "lijnen.krp.csv");
  Taak taak;
  taak.zetBestanden(opl, sloot);
  MeldingVerzamelaar sink;
  const auto fout = taak.leesIn(sink, '.');
  ASSERT_TRUE(fout);
  EXPECT_NE(fout->tekst.find(map.pad("lijnen.krp.csv") + " is een map"), std::string::npos) << fout->tekst;
}

