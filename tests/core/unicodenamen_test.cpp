// File and folder names beyond ASCII, as the engineers use them, through
// the job and through zarvo-batch. The same test runs in the Windows build,
// where a name that passes through the ANSI code page loses its "–".
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "basis/bestandspad.h"
#include "taak/taak.h"
#include "testmap.h"

namespace fs = std::filesystem;
using zarvo::padUitUtf8;
using zarvotest::leesAlles;

namespace {

const std::string voorbeeld = ZARVO_BRON "/voorbeelden/";
const std::string mapNaam = "Projecten Zuid-Oost \xC3\xAB/Dijkvak Noord\xE2\x80\x93Zuid";  // ë, –
const std::string profielNaam = "profielen \xE2\x80\x93 d\xC3\xA9\xC3\xA9n.txt";               // –, é

// The sample read, one profile deleted, built and saved into 'map' (UTF-8).
std::optional<zarvo::Melding> bouwVoorbeeld(const std::string& profielen, const std::string& sloot,
                                            const std::string& map) {
  zarvo::Taak taak;
  zarvo::MeldingVerzamelaar sink;
  taak.zetBestanden(profielen, sloot);
  if (auto fout = taak.leesIn(sink, '.')) return fout;
  taak.verwijder(taak.zoekProfiel("DP114+050"));
  taak.bouwSloten(sink);
  return taak.slaOp(map, {taak.standaardNaamResultaat()}, taak.standaardNaamVerwijderd(), ',');
}

}  // namespace

TEST(UnicodeNamen, JobAndBatchReadAndWriteNamesBeyondAscii) {
  zarvotest::TestMap map;
  const fs::path doel = map.map() / padUitUtf8(mapNaam);
  fs::create_directories(doel);
  fs::create_directory(map.map() / "ascii");
  const std::string profielen = map.pad(mapNaam + "/" + profielNaam);
  const std::string sloot = map.pad(mapNaam + "/sloot \xC3\xAB.csv");
  fs::copy_file(padUitUtf8(voorbeeld + "profielen.txt"), padUitUtf8(profielen));
  fs::copy_file(padUitUtf8(voorbeeld + "sloot.csv"), padUitUtf8(sloot));

  ASSERT_FALSE(bouwVoorbeeld(voorbeeld + "profielen.txt", voorbeeld + "sloot.csv", map.pad("ascii")));
  ASSERT_FALSE(bouwVoorbeeld(profielen, sloot, zarvo::utf8UitPad(doel)));
  // The default names carry the input file's name, characters and all.
  const std::string ascii = leesAlles(map.map() / "ascii" / "output_profiel_profielen.txt");
  EXPECT_GT(ascii.size(), 1000u);
  EXPECT_EQ(leesAlles(doel / padUitUtf8("output_profiel_" + profielNaam)), ascii);
  EXPECT_EQ(leesAlles(doel / padUitUtf8("output_verwijderde_profielen_" + profielNaam)),
            "Overzicht verwijderde profielen\r\nDP114+050\r\n");

  // A message names the file as the user gave it.
  const auto fout = bouwVoorbeeld(map.pad(mapNaam + "/ontbreekt \xE2\x80\x93.txt"), sloot, map.pad("ascii"));
  ASSERT_TRUE(fout);
  EXPECT_NE(fout->tekst.find("ontbreekt \xE2\x80\x93.txt bestaat niet"), std::string::npos) << fout->tekst;

  // The batch gets its names from the command line, which Windows hands
  // over in a code page unless the program asks for the wide one.
  fs::create_directory(doel / "batch");
  const auto r = zarvotest::draaiBatch(map, {doel / "batch", {}},
                                       "bouw '" + profielen + "' '" + sloot +
                                           "' --verwijder DP114+050 --decimaalteken ,");
  ASSERT_EQ(r.code, 0) << r.fout;
  EXPECT_EQ(leesAlles(doel / "batch" / padUitUtf8("output_profiel_" + profielNaam)), ascii);
}
