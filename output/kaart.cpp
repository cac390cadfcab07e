#include "output/kaart.h"

#include <sqlite3.h>

#include <algorithm>
#include <bit>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <memory>
#include <optional>
#include <string_view>

#include "basis/bestandspad.h"
#include "basis/getallen.h"
#include "basis/profielgeometrie.h"
#include "ditch/puntcodes.h"
#include "ditch/slootzicht.h"

namespace zarvo {

const char* uitkomstTekst(SlootStatus status) {
  switch (status) {
    case SlootStatus::Sloot: return "sloot";
    case SlootStatus::GeenSloot: return "geen sloot";
    case SlootStatus::Fout: return "fout";
  }
  return "fout";
}

int leesEpsg(std::string_view tekst) {
  tekst = trimBlanks(tekst);
  if (tekst.size() < 6 || tekst.size() > 15) return 0;
  for (std::size_t i = 0; i < 5; ++i) {
    if (std::tolower(static_cast<unsigned char>(tekst[i])) != "epsg:"[i]) return 0;
  }
  long long code = 0;
  for (char c : tekst.substr(5)) {
    if (c < '0' || c > '9') return 0;
    code = code * 10 + (c - '0');
  }
  return code > 0 && code <= std::numeric_limits<std::int32_t>::max() ? static_cast<int>(code) : 0;
}

namespace {

static_assert(std::endian::native == std::endian::little, "the geometries are written in the machine's byte order");

const Bouwfeiten& feitenVan(const Kaartinhoud& inhoud, std::size_t p) {
  static const Bouwfeiten geen;
  return p < inhoud.feiten.size() ? inhoud.feiten[p] : geen;
}

// The surveyed ground a ditch replaced, in plan: its dike-side edge, the
// replaced points, its polder-side edge. Empty without a ditch.
std::vector<Punt> oudeGrond(const Profiel& profiel, const Bouwfeiten& feiten) {
  if (!feiten.heeftSloot() || feiten.vervangen.empty() ||
      static_cast<std::size_t>(feiten.insteekPolder) > profiel.punten.size()) {
    return {};
  }
  std::vector<Punt> uit;
  uit.push_back(profiel.punten[static_cast<std::size_t>(feiten.insteekDijk - 1)]);
  uit.insert(uit.end(), feiten.vervangen.begin(), feiten.vervangen.end());
  uit.push_back(profiel.punten[static_cast<std::size_t>(feiten.insteekPolder - 1)]);
  return uit;
}

// The four points of a built ditch; empty without one.
std::vector<Punt> slootLijn(const Profiel& profiel, const Bouwfeiten& feiten) {
  if (!feiten.heeftSloot() || static_cast<std::size_t>(feiten.insteekPolder) > profiel.punten.size()) return {};
  std::vector<Punt> uit;
  for (std::int32_t n : {feiten.insteekDijk, feiten.bodemDijk, feiten.bodemPolder, feiten.insteekPolder}) {
    uit.push_back(profiel.punten[static_cast<std::size_t>(n - 1)]);
  }
  return uit;
}

// ---------------------------------------------------------------- GeoPackage

// Well-known text of the two references written with a definition; any
// other code is declared by its number alone, which GIS programs look up.
constexpr const char* wktRdNieuw =
    "PROJCS[\"Amersfoort / RD New\",GEOGCS[\"Amersfoort\",DATUM[\"Amersfoort\",SPHEROID[\"Bessel 1841\","
    "6377397.155,299.1528128,AUTHORITY[\"EPSG\",\"7004\"]],TOWGS84[565.2369,50.0087,465.658,-0.406857,0.350733,"
    "-1.87035,4.0812],AUTHORITY[\"EPSG\",\"6289\"]],PRIMEM[\"Greenwich\",0,AUTHORITY[\"EPSG\",\"8901\"]],"
    "UNIT[\"degree\",0.0174532925199433,AUTHORITY[\"EPSG\",\"9122\"]],AUTHORITY[\"EPSG\",\"4289\"]],"
    "PROJECTION[\"Oblique_Stereographic\"],PARAMETER[\"latitude_of_origin\",52.1561605555556],"
    "PARAMETER[\"central_meridian\",5.38763888888889],PARAMETER[\"scale_factor\",0.9999079],"
    "PARAMETER[\"false_easting\",155000],PARAMETER[\"false_northing\",463000],UNIT[\"metre\",1,"
    "AUTHORITY[\"EPSG\",\"9001\"]],AXIS[\"Easting\",EAST],AXIS[\"Northing\",NORTH],AUTHORITY[\"EPSG\",\"28992\"]]";
constexpr const char* wktWgs84 =
    "GEOGCS[\"WGS 84\",DATUM[\"WGS_1984\",SPHEROID[\"WGS 84\",6378137,298.257223563,AUTHORITY[\"EPSG\",\"7030\"]],"
    "AUTHORITY[\"EPSG\",\"6326\"]],PRIMEM[\"Greenwich\",0,AUTHORITY[\"EPSG\",\"8901\"]],UNIT[\"degree\","
    "0.0174532925199433,AUTHORITY[\"EPSG\",\"9122\"]],AXIS[\"Latitude\",NORTH],AXIS[\"Longitude\",EAST],"
    "AUTHORITY[\"EPSG\",\"4326\"]]";

struct SluitDb {
  void operator()(sqlite3* db) const { sqlite3_close(db); }
};
struct SluitOpdracht {
  void operator()(sqlite3_stmt* s) const { sqlite3_finalize(s); }
};
using Opdracht = std::unique_ptr<sqlite3_stmt, SluitOpdracht>;

class Db {
 public:
  bool open() {
    sqlite3* db = nullptr;
    const int rc = sqlite3_open_v2(":memory:", &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    db_.reset(db);
    return rc == SQLITE_OK;
  }
  bool voerUit(const char* sql) { return sqlite3_exec(db_.get(), sql, nullptr, nullptr, nullptr) == SQLITE_OK; }
  Opdracht bereid(const char* sql) {
    sqlite3_stmt* s = nullptr;
    if (sqlite3_prepare_v2(db_.get(), sql, -1, &s, nullptr) != SQLITE_OK) return nullptr;
    return Opdracht(s);
  }
  sqlite3* db() { return db_.get(); }

 private:
  std::unique_ptr<sqlite3, SluitDb> db_;
};

// The extent of a layer, for gpkg_contents.
struct Omvang {
  double minX = std::numeric_limits<double>::infinity(), minY = minX;
  double maxX = -minX, maxY = -minX;
  void neem(const Punt& p) {
    minX = std::min(minX, p.x);
    minY = std::min(minY, p.y);
    maxX = std::max(maxX, p.x);
    maxY = std::max(maxY, p.y);
  }
  bool leeg() const { return minX > maxX; }
};

void voegToe(std::string& uit, const void* bytes, std::size_t n) { uit.append(static_cast<const char*>(bytes), n); }
void voegToe(std::string& uit, std::uint32_t w) { voegToe(uit, &w, sizeof w); }
void voegToe(std::string& uit, std::int32_t w) { voegToe(uit, &w, sizeof w); }
void voegToe(std::string& uit, double w) { voegToe(uit, &w, sizeof w); }

// The GeoPackage binary form: "GP", version 0, flags (little endian, with
// an X/Y envelope for lines), the reference, then ISO WKB with Z.
std::string punt(const Punt& p, std::int32_t srs) {
  std::string g("GP\0\x01", 4);
  voegToe(g, srs);
  g.push_back('\x01');
  voegToe(g, std::uint32_t{1001});
  for (double w : {p.x, p.y, p.z}) voegToe(g, w);
  return g;
}

std::string lijn(const std::vector<Punt>& punten, std::int32_t srs) {
  Omvang o;
  for (const Punt& p : punten) o.neem(p);
  std::string g("GP\0\x03", 4);
  voegToe(g, srs);
  for (double w : {o.minX, o.maxX, o.minY, o.maxY}) voegToe(g, w);
  g.push_back('\x01');
  voegToe(g, std::uint32_t{1002});
  voegToe(g, static_cast<std::uint32_t>(punten.size()));
  for (const Punt& p : punten) {
    for (double w : {p.x, p.y, p.z}) voegToe(g, w);
  }
  return g;
}

// Binds the values of one row and runs it; 'geom' empty binds NULL (a line
// needs two points).
class Rij {
 public:
  explicit Rij(sqlite3_stmt* s) : s_(s) { sqlite3_reset(s_); }
  Rij& blob(const std::string& b) {
    if (b.empty()) {
      sqlite3_bind_null(s_, ++i_);
    } else {
      sqlite3_bind_blob(s_, ++i_, b.data(), static_cast<int>(b.size()), SQLITE_TRANSIENT);
    }
    return *this;
  }
  Rij& tekst(std::string_view t) {
    sqlite3_bind_text(s_, ++i_, t.data(), static_cast<int>(t.size()), SQLITE_TRANSIENT);
    return *this;
  }
  Rij& tekstOfNull(std::string_view t) {
    if (t.empty()) {
      sqlite3_bind_null(s_, ++i_);
      return *this;
    }
    return tekst(t);
  }
  Rij& geheel(std::int64_t w) {
    sqlite3_bind_int64(s_, ++i_, w);
    return *this;
  }
  Rij& getal(std::optional<double> w) {
    if (w && std::isfinite(*w)) {
      sqlite3_bind_double(s_, ++i_, *w);
    } else {
      sqlite3_bind_null(s_, ++i_);
    }
    return *this;
  }
  bool klaar() { return sqlite3_step(s_) == SQLITE_DONE; }

 private:
  sqlite3_stmt* s_;
  int i_ = 0;
};

std::string lijnOfLeeg(const std::vector<Punt>& punten, std::int32_t srs) {
  return punten.size() >= 2 ? lijn(punten, srs) : std::string();
}

bool maakGeoPackage(Db& db, const ProfielStore& store, const Kaartinhoud& inhoud, std::int32_t srs) {
  // The application id "GPKG" and version 1.3 make the file a GeoPackage.
  if (!db.voerUit("PRAGMA application_id = 1196444487; PRAGMA user_version = 10300; BEGIN;"
                  "CREATE TABLE gpkg_spatial_ref_sys (srs_name TEXT NOT NULL, srs_id INTEGER PRIMARY KEY,"
                  " organization TEXT NOT NULL, organization_coordsys_id INTEGER NOT NULL,"
                  " definition TEXT NOT NULL, description TEXT);"
                  "CREATE TABLE gpkg_contents (table_name TEXT NOT NULL PRIMARY KEY, data_type TEXT NOT NULL,"
                  " identifier TEXT UNIQUE, description TEXT DEFAULT '',"
                  " last_change DATETIME NOT NULL DEFAULT (strftime('%Y-%m-%dT%H:%M:%fZ','now')),"
                  " min_x DOUBLE, min_y DOUBLE, max_x DOUBLE, max_y DOUBLE, srs_id INTEGER,"
                  " CONSTRAINT fk_gc_r_srs_id FOREIGN KEY (srs_id) REFERENCES gpkg_spatial_ref_sys(srs_id));"
                  "CREATE TABLE gpkg_geometry_columns (table_name TEXT NOT NULL, column_name TEXT NOT NULL,"
                  " geometry_type_name TEXT NOT NULL, srs_id INTEGER NOT NULL, z TINYINT NOT NULL, m TINYINT NOT NULL,"
                  " CONSTRAINT pk_geom_cols PRIMARY KEY (table_name, column_name),"
                  " CONSTRAINT uk_gc_table_name UNIQUE (table_name),"
                  " CONSTRAINT fk_gc_tn FOREIGN KEY (table_name) REFERENCES gpkg_contents(table_name),"
                  " CONSTRAINT fk_gc_srs FOREIGN KEY (srs_id) REFERENCES gpkg_spatial_ref_sys (srs_id));"
                  "CREATE TABLE profielen (fid INTEGER PRIMARY KEY AUTOINCREMENT NOT NULL, geom LINESTRING,"
                  " naam TEXT NOT NULL, volgnummer INTEGER, uitkomst TEXT NOT NULL, melding TEXT,"
                  " bovenbreedte REAL, bodembreedte REAL, bodempeil REAL, diepte_dijkzijde REAL,"
                  " diepte_polderzijde REAL, talud_dijkzijde REAL, talud_polderzijde REAL, vervangen_punten INTEGER);"
                  "CREATE TABLE punten (fid INTEGER PRIMARY KEY AUTOINCREMENT NOT NULL, geom POINT,"
                  " profiel TEXT NOT NULL, puntnummer INTEGER NOT NULL, code1 TEXT, code2 TEXT, betekenis TEXT);"
                  "CREATE TABLE sloten (fid INTEGER PRIMARY KEY AUTOINCREMENT NOT NULL, geom LINESTRING,"
                  " profiel TEXT NOT NULL, volgnummer INTEGER);"
                  "CREATE TABLE verwijderd (fid INTEGER PRIMARY KEY AUTOINCREMENT NOT NULL, geom LINESTRING,"
                  " naam TEXT NOT NULL, volgnummer INTEGER);")) {
    return false;
  }
  Opdracht ref = db.bereid("INSERT INTO gpkg_spatial_ref_sys VALUES (?, ?, ?, ?, ?, ?)");
  if (!ref) return false;
  struct Ref {
    const char* naam;
    std::int32_t id;
    const char* org;
    const char* definitie;
  };
  std::vector<Ref> refs = {{"Undefined cartesian SRS", -1, "NONE", "undefined"},
                           {"Undefined geographic SRS", 0, "NONE", "undefined"},
                           {"WGS 84", 4326, "EPSG", wktWgs84}};
  if (srs == epsgRdNieuw) {
    refs.push_back({"Amersfoort / RD New", srs, "EPSG", wktRdNieuw});
  } else if (srs != 4326 && srs > 0) {
    refs.push_back({"EPSG", srs, "EPSG", "undefined"});
  }
  const std::string eigenNaam = "EPSG:" + std::to_string(srs);
  for (const Ref& r : refs) {
    Rij rij(ref.get());
    rij.tekst(r.id == srs && srs != epsgRdNieuw && srs != 4326 ? eigenNaam : r.naam).geheel(r.id).tekst(r.org);
    if (!rij.geheel(r.id).tekst(r.definitie).tekstOfNull({}).klaar()) return false;
  }

  Opdracht profiel = db.bereid("INSERT INTO profielen (geom, naam, volgnummer, uitkomst, melding, bovenbreedte,"
                               " bodembreedte, bodempeil, diepte_dijkzijde, diepte_polderzijde, talud_dijkzijde,"
                               " talud_polderzijde, vervangen_punten) VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?)");
  Opdracht punt_ = db.bereid("INSERT INTO punten (geom, profiel, puntnummer, code1, code2, betekenis)"
                             " VALUES (?,?,?,?,?,?)");
  Opdracht sloot = db.bereid("INSERT INTO sloten (geom, profiel, volgnummer) VALUES (?,?,?)");
  Opdracht weg = db.bereid("INSERT INTO verwijderd (geom, naam, volgnummer) VALUES (?,?,?)");
  if (!profiel || !punt_ || !sloot || !weg) return false;

  Omvang oProfielen, oPunten, oSloten, oVerwijderd;
  for (std::size_t p = 0; p < store.profielen.size(); ++p) {
    const Profiel& pr = store.profielen[p];
    const Bouwfeiten& feiten = feitenVan(inhoud, p);
    const SlootStatus status = p < inhoud.statussen.size() ? inhoud.statussen[p] : SlootStatus::GeenSloot;
    const std::optional<Slootmaten> maten = berekenSlootmaten(pr, feiten);
    for (const Punt& q : pr.punten) oProfielen.neem(q);
    Rij rij(profiel.get());
    rij.blob(lijnOfLeeg(pr.punten, srs)).tekst(pr.naam).geheel(pr.volgnummer).tekst(uitkomstTekst(status));
    rij.tekstOfNull(feiten.melding);
    if (maten) {
      // To the millimetre, as the coordinates they come from.
      auto mm = [](std::optional<double> w) { return w ? std::optional(rondAf3(*w)) : std::nullopt; };
      rij.getal(mm(maten->bovenbreedte)).getal(mm(maten->bodembreedte)).getal(mm(maten->bodempeil));
      rij.getal(mm(maten->diepteDijk)).getal(mm(maten->dieptePolder)).getal(mm(maten->taludDijk));
      rij.getal(mm(maten->taludPolder));
      rij.geheel(static_cast<std::int64_t>(maten->vervangen));
    } else {
      for (int i = 0; i < 8; ++i) rij.getal(std::nullopt);  // the seven dimensions and the count
    }
    if (!rij.klaar()) return false;

    for (std::size_t k = 0; k < pr.punten.size(); ++k) {
      const Punt& q = pr.punten[k];
      oPunten.neem(q);
      const auto nummer = static_cast<std::int32_t>(k + 1);
      const bool gebouwd = maten && (nummer == feiten.bodemDijk || nummer == feiten.bodemPolder);
      const Puntcode* betekenis = legendaVanPunt(q, gebouwd);
      Rij r(punt_.get());
      r.blob(punt(q, srs)).tekst(pr.naam).geheel(nummer);
      r.tekstOfNull(celNaarTekst(q.veld1)).tekstOfNull(celNaarTekst(q.veld2));
      if (!r.tekstOfNull(betekenis ? betekenis->tekst : "").klaar()) return false;
    }

    const std::vector<Punt> s = maten ? slootLijn(pr, feiten) : std::vector<Punt>();
    if (!s.empty()) {
      for (const Punt& q : s) oSloten.neem(q);
      if (!Rij(sloot.get()).blob(lijn(s, srs)).tekst(pr.naam).geheel(pr.volgnummer).klaar()) return false;
    }
  }
  for (const Profiel& pr : inhoud.verwijderd) {
    for (const Punt& q : pr.punten) oVerwijderd.neem(q);
    if (!Rij(weg.get()).blob(lijnOfLeeg(pr.punten, srs)).tekst(pr.naam).geheel(pr.volgnummer).klaar()) return false;
  }

  Opdracht inhoudRij = db.bereid("INSERT INTO gpkg_contents (table_name, data_type, identifier, description,"
                                 " min_x, min_y, max_x, max_y, srs_id) VALUES (?, 'features', ?, ?, ?, ?, ?, ?, ?)");
  Opdracht kolom = db.bereid("INSERT INTO gpkg_geometry_columns VALUES (?, 'geom', ?, ?, 1, 0)");
  if (!inhoudRij || !kolom) return false;
  const struct {
    const char* tabel;
    const char* soort;
    const char* omschrijving;
    const Omvang& omvang;
  } lagen[] = {{"profielen", "LINESTRING", "De profielen zoals opgeslagen, met de uitkomst van het bouwen", oProfielen},
               {"punten", "POINT", "De punten van de profielen met hun codes", oPunten},
               {"sloten", "LINESTRING", "De gebouwde sloten: insteek, bodempunten, insteek", oSloten},
               {"verwijderd", "LINESTRING", "De verwijderde profielen zoals ingelezen", oVerwijderd}};
  for (const auto& laag : lagen) {
    Rij rij(inhoudRij.get());
    rij.tekst(laag.tabel).tekst(laag.tabel).tekst(laag.omschrijving);
    const bool leeg = laag.omvang.leeg();
    rij.getal(leeg ? std::nullopt : std::optional(laag.omvang.minX));
    rij.getal(leeg ? std::nullopt : std::optional(laag.omvang.minY));
    rij.getal(leeg ? std::nullopt : std::optional(laag.omvang.maxX));
    rij.getal(leeg ? std::nullopt : std::optional(laag.omvang.maxY));
    if (!rij.geheel(srs).klaar()) return false;
    if (!Rij(kolom.get()).tekst(laag.tabel).tekst(laag.soort).geheel(srs).klaar()) return false;
  }
  return db.voerUit("COMMIT;");
}

// ---------------------------------------------------------------------- DXF

class Dxf {
 public:
  explicit Dxf(Uitvoerstroom& uit) : uit_(uit) {}
  void groep(int code, std::string_view waarde) {
    buffer_ += std::to_string(code);
    buffer_ += "\r\n";
    buffer_ += waarde;
    buffer_ += "\r\n";
    if (buffer_.size() >= (1u << 16)) leeg();
  }
  void groep(int code, double waarde) { groep(code, getalNaarTekst(waarde)); }
  void groep(int code, int waarde) { groep(code, std::to_string(waarde)); }
  // A polyline: 3D in survey coordinates, or 2D at (l + dx, z + dy).
  void polylijn(std::string_view laag, const std::vector<Punt>& punten, bool drieD) {
    if (punten.size() < 2) return;
    groep(0, "POLYLINE");
    groep(8, laag);
    groep(66, 1);
    groep(70, drieD ? 8 : 0);
    groep(10, 0.0);
    groep(20, 0.0);
    groep(30, 0.0);
    for (const Punt& p : punten) {
      groep(0, "VERTEX");
      groep(8, laag);
      groep(10, p.x);
      groep(20, p.y);
      groep(30, drieD ? p.z : 0.0);
      groep(70, drieD ? 32 : 0);
    }
    groep(0, "SEQEND");
    groep(8, laag);
  }
  void tekst(std::string_view laag, double x, double y, double hoogte, std::string_view t) {
    groep(0, "TEXT");
    groep(8, laag);
    groep(10, x);
    groep(20, y);
    groep(30, 0.0);
    groep(40, hoogte);
    groep(1, t);
  }
  bool leeg() {
    const bool goed = uit_.schrijf(buffer_);
    buffer_.clear();
    goed_ = goed_ && goed;
    return goed_;
  }

 private:
  Uitvoerstroom& uit_;
  std::string buffer_;
  bool goed_ = true;
};

// A cross-section as a 2D polyline: L along the profile, Z up, shifted to
// its cell of the grid.
std::vector<Punt> inVak(const std::vector<LZPunt>& lz, double dx, double dy) {
  std::vector<Punt> uit;
  uit.reserve(lz.size());
  for (const LZPunt& p : lz) uit.push_back(Punt{Cel(), Cel(), p.l + dx, p.z + dy, 0.0});
  return uit;
}

}  // namespace

std::string GeoPackageformaat::standaardNaam(std::size_t, const std::string& bestandsnaam) const {
  return stamVan(bestandsnaam) + ".gpkg";
}

bool GeoPackageformaat::schrijf(std::size_t, const ProfielStore& store, Uitvoerstroom& uit, char) const {
  Db db;
  if (!db.open() || !maakGeoPackage(db, store, inhoud_, epsg_)) return false;
  sqlite3_int64 grootte = 0;
  unsigned char* bytes = sqlite3_serialize(db.db(), "main", &grootte, 0);
  if (!bytes) return false;
  const bool goed = uit.schrijf(std::string_view(reinterpret_cast<const char*>(bytes), static_cast<std::size_t>(grootte)));
  sqlite3_free(bytes);
  return goed;
}

std::string Dxfformaat::standaardNaam(std::size_t, const std::string& bestandsnaam) const {
  return stamVan(bestandsnaam) + ".dxf";
}

bool Dxfformaat::schrijf(std::size_t, const ProfielStore& store, Uitvoerstroom& uit, char) const {
  Dxf dxf(uit);
  dxf.groep(0, "SECTION");
  dxf.groep(2, "HEADER");
  dxf.groep(9, "$ACADVER");
  dxf.groep(1, "AC1009");
  dxf.groep(9, "$INSUNITS");
  dxf.groep(70, 6);  // metres
  dxf.groep(0, "ENDSEC");

  // Colours by the AutoCAD index: the profile white, the ditch blue, the
  // old ground grey, names yellow.
  const struct {
    const char* naam;
    int kleur;
  } lagen[] = {{"PROFIEL", 7},       {"SLOOT", 5},        {"MAAIVELD_OUD", 8}, {"DWARSPROFIEL", 7},
               {"DWARS_SLOOT", 5},   {"DWARS_MAAIVELD_OUD", 8}, {"DWARS_NAAM", 2}};
  dxf.groep(0, "SECTION");
  dxf.groep(2, "TABLES");
  dxf.groep(0, "TABLE");
  dxf.groep(2, "LAYER");
  dxf.groep(70, static_cast<int>(std::size(lagen)));
  for (const auto& laag : lagen) {
    dxf.groep(0, "LAYER");
    dxf.groep(2, laag.naam);
    dxf.groep(70, 0);
    dxf.groep(62, laag.kleur);
    dxf.groep(6, "CONTINUOUS");
  }
  dxf.groep(0, "ENDTAB");
  dxf.groep(0, "ENDSEC");

  dxf.groep(0, "SECTION");
  dxf.groep(2, "ENTITIES");
  // The grid's cells fit the longest profile and the largest height range.
  double breedte = 10.0, hoogte = 5.0;
  std::vector<ProfielGeometrie> geometrie;
  geometrie.reserve(store.profielen.size());
  for (const Profiel& p : store.profielen) {
    ProfielGeometrie g = berekenGeometrie(p);
    if (!g.leeg()) {
      breedte = std::max(breedte, g.lengte);
      hoogte = std::max(hoogte, g.maxZ - g.minZ);
    }
    geometrie.push_back(std::move(g));
  }
  const double vakBreedte = std::ceil(breedte * 1.1 + 5.0);
  const double vakHoogte = std::ceil(hoogte * 1.5 + 5.0);
  constexpr std::size_t kolommen = 10;

  for (std::size_t p = 0; p < store.profielen.size(); ++p) {
    const Profiel& pr = store.profielen[p];
    const Bouwfeiten& feiten = feitenVan(inhoud_, p);
    dxf.polylijn("PROFIEL", pr.punten, true);
    dxf.polylijn("SLOOT", slootLijn(pr, feiten), true);
    dxf.polylijn("MAAIVELD_OUD", oudeGrond(pr, feiten), true);

    // The cell: row by row downwards from the origin; heights relative to
    // the profile's lowest point, so that every cell holds its profile.
    const ProfielGeometrie& g = geometrie[p];
    if (g.leeg()) continue;
    const double laag = g.minZ;
    const double dx = static_cast<double>(p % kolommen) * vakBreedte;
    const double dy = -static_cast<double>(p / kolommen + 1) * vakHoogte - laag + 2.0;
    dxf.polylijn("DWARSPROFIEL", inVak(g.lz, dx, dy), false);
    if (!feiten.heeftSloot() || static_cast<std::size_t>(feiten.insteekPolder) > pr.punten.size()) {
      dxf.tekst("DWARS_NAAM", dx, dy + laag + hoogte + 1.0, 1.0, pr.naam);
      continue;
    }
    std::vector<LZPunt> sloot;
    for (std::int32_t n : {feiten.insteekDijk, feiten.bodemDijk, feiten.bodemPolder, feiten.insteekPolder}) {
      sloot.push_back(g.lz[static_cast<std::size_t>(n - 1)]);
    }
    dxf.polylijn("DWARS_SLOOT", inVak(sloot, dx, dy), false);
    dxf.polylijn("DWARS_MAAIVELD_OUD", inVak(oudMaaiveld(pr, g, feiten), dx, dy), false);
    dxf.tekst("DWARS_NAAM", dx, dy + laag + hoogte + 1.0, 1.0, pr.naam);
  }
  dxf.groep(0, "ENDSEC");
  dxf.groep(0, "EOF");
  return dxf.leeg();
}

std::size_t Samengesteldformaat::aantalBestanden() const {
  std::size_t n = 0;
  for (const Resultaatformaat* d : delen_) n += d->aantalBestanden();
  return n;
}

std::pair<const Resultaatformaat*, std::size_t> Samengesteldformaat::deel(std::size_t i) const {
  for (const Resultaatformaat* d : delen_) {
    if (i < d->aantalBestanden()) return {d, i};
    i -= d->aantalBestanden();
  }
  return {nullptr, 0};
}

std::string Samengesteldformaat::standaardNaam(std::size_t i, const std::string& bestandsnaam) const {
  const auto [d, j] = deel(i);
  return d ? d->standaardNaam(j, bestandsnaam) : std::string();
}

bool Samengesteldformaat::schrijf(std::size_t i, const ProfielStore& store, Uitvoerstroom& uit,
                                  char decimaalteken) const {
  const auto [d, j] = deel(i);
  return d && d->schrijf(j, store, uit, decimaalteken);
}

std::optional<Melding> Samengesteldformaat::controleer(const ProfielStore& store) const {
  for (const Resultaatformaat* d : delen_) {
    if (auto m = d->controleer(store)) return m;
  }
  return std::nullopt;
}

}  // namespace zarvo
