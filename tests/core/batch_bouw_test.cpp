// zarvo-batch bouw as a user runs it: files written, stdout, stderr, exit code.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "testmap.h"

using zarvotest::TestMap;
namespace fs = std::filesystem;

namespace {

using Resultaat = zarvotest::BatchUitvoer;

std::string lees(const fs::path& pad) { return zarvotest::leesAlles(pad); }

// Runs "zarvo-batch bouw" in the folder 'werkmap' with a clean environment;
// 'argumenten' are already shell-quoted. stdout and stderr go to the test
// folder, outside 'werkmap'.
Resultaat bouw(const TestMap& map, const fs::path& werkmap, const std::string& argumenten) {
  return zarvotest::draaiBatch(map, {werkmap, {}}, "bouw " + argumenten);
}

std::size_t aantalBestanden(const fs::path& map) {
  return static_cast<std::size_t>(
      std::distance(fs::directory_iterator(map), fs::directory_iterator()));
}

const std::string voorbeeld = ZARVO_BRON "/voorbeelden/";

// Three small profiles: A with a ditch, B whose bottom lies above its
// dike-side edge, C without a polder-side edge.
const std::string klein =
    "99,999,0,0,3,A\n5,999,0,10,2,A\n99,999,0,12,0,A\n2,999,0,20,2,A\n"
    "99,999,0,0,3,B\n5,999,0,10,2,B\n2,999,0,20,2,B\n"
    "99,999,0,0,3,C\n5,999,0,10,2,C\n";
const std::string kleinSloot =
    "naam;bodem;dijk;polder;a;x;b\nA;-1;1;1;;;\nB;2,5;1;1;;;\nC;-1;1;1;;;\n";

}  // namespace

TEST(BatchBouw, SampleMatchesTheFilesCheckedByHand) {
  // The expected files were checked by hand on two profiles:
  // - DP112+025 (decimal commas in its ditch record, a foreland point coded
  //   51): dike-side edge point 32 (130038.243, 549985.383, -0.946),
  //   polder-side edge point 37 (130041.592, 549979.935, -0.986); dx 3.349,
  //   dy -5.448, width 6.395; offsets (-0.946+1.94)*2.4 = 2.3856 and
  //   (-0.986+1.94)*2.2 = 2.0988; along the unit direction (0.5237, -0.8519)
  //   the bottom points are (130039.492, 549983.351) and, 4.2962 m from the
  //   edge, (130040.493, 549981.723), both at -1.94. Points 33..36 are gone;
  //   the foreland points lie 6.24 m and 5.47 m back from the first point
  //   along the bearing to the polder-side edge, at the Z of the point coded
  //   51 (0.619). 49 - 4 + 2 + 2 = 49 lines.
  // - DP112+000 (no foreland values): edges at points 48 (130015.131,
  //   549975.819, -0.576) and 52 (130017.574, 549971.888, -0.621); dx 2.443,
  //   dy -3.931, width 4.628; offsets (-0.576+1.6)*2.0 = 2.048 and
  //   (-0.621+1.6)*2.2 = 2.1538; bottom points (130016.212, 549974.08) and
  //   (130016.437, 549973.717) at -1.6; 68 - 3 + 2 = 67 lines.
  // Both were also recomputed line by line by a separate script from the
  // raw sample, with matching results; DP114+050 is deleted and absent.
  TestMap map;
  fs::create_directory(map.map() / "uit");
  const Resultaat r = bouw(map, map.map(),
                           "'" + voorbeeld + "profielen.txt' '" + voorbeeld +
                               "sloot.csv' --uitvoermap uit --verwijder DP114+050 "
                               "--bestandsnaam voorbeeld.txt --decimaalteken .");
  EXPECT_EQ(r.code, 0) << r.fout;
  EXPECT_EQ(r.fout, "Bestand opgeslagen: Bestanden zijn opgeslagen.\n");
  EXPECT_EQ(r.uit,
            "1\tDP112+000\tsloot\n2\tDP112+025\tsloot\n3\tDP112+050\tsloot\n"
            "4\tDP112+075\tsloot\n5\tDP113+000\tsloot\n6\tDP113+025\tsloot\n"
            "7\tDP113+050\tsloot\n8\tDP113+075\tgeen sloot\n9\tDP114+000\tsloot\n"
            "10\tDP114+025\tsloot\n11\tDP114+075\tsloot\n12\tDP115+000\tsloot\n"
            "13\tDP115+025\tsloot\n14\tDP115+050\tsloot\n");
  EXPECT_EQ(lees(map.map() / "uit" / "output_profiel_voorbeeld.txt"),
            lees(ZARVO_BRON "/tests/data/bouw_voorbeeld_resultaat.txt"));
  EXPECT_EQ(lees(map.map() / "uit" / "output_verwijderde_profielen_voorbeeld.txt"),
            lees(ZARVO_BRON "/tests/data/bouw_voorbeeld_verwijderd.txt"));
  EXPECT_EQ(aantalBestanden(map.map() / "uit"), 2u);
}

TEST(BatchBouw, ProfileErrorsAreReportedAndTheRestIsWritten) {
  TestMap map;
  map.schrijf("klein.txt", klein);
  map.schrijf("klein.csv", kleinSloot);
  // Default folder (the current one), default name, decimal comma.
  const Resultaat r = bouw(map, map.map(), "klein.txt klein.csv --decimaalteken ,");
  EXPECT_EQ(r.code, 0);
  EXPECT_EQ(r.uit, "1\tA\tsloot\n2\tB\tfout\n3\tC\tgeen sloot\n");
  EXPECT_EQ(r.fout,
            "Fout!: de slootbodem (dijkzijde) ligt hoger dan de insteek van de sloot in profiel B\n"
            "Bestand opgeslagen: Bestanden zijn opgeslagen.\n");
  EXPECT_EQ(lees(map.map() / "output_profiel_klein.txt"),
            "99\t999\t0\t0\t3\tA\r\n5\t999\t0\t10\t2\tA\r\n4\t4\t0\t13\t-1\tA\r\n"
            "3\t3\t0\t17\t-1\tA\r\n2\t999\t0\t20\t2\tA\r\n"
            "99\t999\t0\t0\t3\tB\r\n5\t999\t0\t10\t2\tB\r\n2\t999\t0\t20\t2\tB\r\n"
            "99\t999\t0\t0\t3\tC\r\n5\t999\t0\t10\t2\tC\r\n");
  EXPECT_FALSE(fs::exists(map.map() / "output_verwijderde_profielen_klein.txt"));
}

TEST(BatchBouw, DeletingFollowsTheOrderGivenAndTheFirstOfEqualNames) {
  TestMap map;
  // Two separate profiles named A: the first one goes.
  map.schrijf("p.txt", "1,1,0,0,1,A\n1,1,1,0,1,B\n1,1,2,0,1,A\n");
  map.schrijf("s.csv", "kop\nA1;0;1;1;;;\nB;0;1;1;;;\nA2;0;1;1;;;\n");
  const Resultaat r = bouw(map, map.map(), "p.txt s.csv --verwijder=A --verwijder B");
  EXPECT_EQ(r.code, 0) << r.fout;
  EXPECT_EQ(r.uit, "1\tA\tgeen sloot\n");
  // The records named A1 and A2 are told about, and used by position.
  EXPECT_EQ(r.fout.rfind("Let op!: Bij 2 profielen hoort het slootrecord bij een ander profiel:\n"
                         "profiel 1 'A' heeft slootrecord 'A1'\n",
                         0),
            0u)
      << r.fout;
  EXPECT_EQ(lees(map.map() / "output_profiel_p.txt"), "1\t1\t2\t0\t1\tA\r\n");
  EXPECT_EQ(lees(map.map() / "output_verwijderde_profielen_p.txt"),
            "Overzicht verwijderde profielen\r\nA\r\nB\r\n");

  // Run again: both files are replaced, as scripts expect, and it says so.
  const Resultaat weer = bouw(map, map.map(), "p.txt s.csv --verwijder=A --verwijder B");
  EXPECT_EQ(weer.code, 0);
  EXPECT_NE(weer.fout.find("Let op!: output_profiel_p.txt bestaat al en wordt vervangen.\n"), std::string::npos)
      << weer.fout;
  EXPECT_NE(weer.fout.find("Let op!: output_verwijderde_profielen_p.txt bestaat al"), std::string::npos);
}

TEST(BatchBouw, FailuresWriteNothing) {
  TestMap map;
  map.schrijf("klein.txt", klein);
  map.schrijf("klein.csv", kleinSloot);
  fs::create_directory(map.map() / "uit");
  const std::string invoer = "klein.txt klein.csv --uitvoermap uit ";

  // An unknown name is a usage error.
  Resultaat r = bouw(map, map.map(), invoer + "--verwijder A --verwijder Z");
  EXPECT_EQ(r.code, 2);
  EXPECT_NE(r.fout.find("'Z'"), std::string::npos) << r.fout;
  // Deleting every profile ends the job as the review screen does.
  r = bouw(map, map.map(), invoer + "--verwijder C --verwijder A --verwijder B");
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(r.fout,
            "Fout!: Er zijn geen profielen meer over. Verdere uitvoering Zarvo-Edit niet mogelijk\n");
  // An unreadable ditch file, a ditch file of the wrong length.
  r = bouw(map, map.map(), "klein.txt ontbreekt.csv --uitvoermap uit");
  EXPECT_EQ(r.code, 1);
  map.schrijf("kort.csv", "kop\nA;-1;1;1;;;\n");
  r = bouw(map, map.map(), "klein.txt kort.csv --uitvoermap uit");
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(r.fout.rfind("Fout!: ", 0), 0u) << r.fout;
  EXPECT_EQ(aantalBestanden(map.map() / "uit"), 0u);

  // An output folder that does not exist.
  r = bouw(map, map.map(), "klein.txt klein.csv --uitvoermap nergens");
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.fout.find("Fout!: Fout bij het opslaan, controleer bestandsnaam\n"),
            std::string::npos);
  EXPECT_EQ(r.fout.find("Bestand opgeslagen"), std::string::npos);
#ifdef __linux__
  // A full disk behind the result file's name: the list must not appear.
  fs::create_symlink("/dev/full", map.map() / "uit" / "output_profiel_klein.txt");
  r = bouw(map, map.map(), invoer + "--verwijder A");
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(aantalBestanden(map.map() / "uit"), 1u);
#endif
}

TEST(BatchBouw, AnOutputNameThatLeavesTheFolderIsAUsageError) {
  TestMap map;
  map.schrijf("klein.txt", klein);
  map.schrijf("klein.csv", kleinSloot);
  fs::create_directories(map.map() / "uit" / "output_profiel_sub");
  fs::create_directories(map.map() / "uit" / "output_verwijderde_profielen_sub");
  for (const std::string opties : {"--bestandsnaam sub/x.txt", "--bestandsnaam 'sub\\x.txt'",
                                   "--bestandsnaam sub/x.txt --formaat oppervlaktelijnen"}) {
    const Resultaat r = bouw(map, map.map(), "klein.txt klein.csv --uitvoermap uit --verwijder A " + opties);
    EXPECT_EQ(r.code, 2) << opties;
    EXPECT_EQ(r.fout.rfind("zarvo-batch: --bestandsnaam ", 0), 0u) << r.fout;
    EXPECT_EQ(r.uit, "") << opties;
    // Not even the folder's lock: nothing was written anywhere.
    EXPECT_EQ(aantalBestanden(map.map() / "uit"), 2u) << opties;
    EXPECT_EQ(aantalBestanden(map.map() / "uit" / "output_profiel_sub"), 0u) << opties;
    EXPECT_EQ(aantalBestanden(map.map() / "uit" / "output_verwijderde_profielen_sub"), 0u) << opties;
  }
}

TEST(BatchBouw, UsageAndHelp) {
  TestMap map;
  Resultaat r = bouw(map, map.map(), "--help");
  EXPECT_EQ(r.code, 0);
  EXPECT_EQ(r.uit.rfind("Gebruik: zarvo-batch bouw PROFIELBESTAND SLOOTBESTAND", 0), 0u);
  for (const std::string fout : {"", "een.txt", "a b c", "a b --verwijder", "a b --onbekend x",
                                 "a b --decimaalteken ';'"}) {
    r = bouw(map, map.map(), fout);
    EXPECT_EQ(r.code, 2) << fout;
    EXPECT_EQ(r.fout.rfind("zarvo-batch: ", 0), 0u) << fout;
  }
}
