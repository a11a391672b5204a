#include "gamedata/catalogue.h"

namespace tolvenek {

namespace {

constexpr MapGroup kBlind = MapGroup::kBlindRandom;
constexpr MapGroup kLocale = MapGroup::kStarWarsLocale;
constexpr MapGroup kMisc = MapGroup::kMiscellaneous;

// Order and labels are the dialog's; "Space Sattelites" is spelled as the game
// ships it.
constexpr std::array<CatalogueRow, kBuiltinMapCount> kCatalogue = {{
    {"Desert", kBlind, 54201},
    {"WaterMass", kBlind, 54202},
    {"Sea", kBlind, 54203},
    {"Shoreline", kBlind, 54205},
    {"LandMass", kBlind, 54206},
    {"Nova Lake", kBlind, 54207},
    {"Nova Assault", kBlind, 54209},
    {"Precipice", kBlind, 54210},
    {"Islands", kBlind, 54211},
    {"Large Sea", kBlind, 54212},
    {"Asteroids", kBlind, 54213},
    {"Space Mass", kBlind, 54214},
    {"Space Sattelites", kBlind, 54215},
    {"Forced Deployment", kBlind, 54216},
    {"Rivers", kBlind, 54217},
    {"Team Islands", kBlind, 54218},
    {"Tundra", kBlind, 54219},
    {"Flats", kBlind, 54220},
    {"Swamp", kBlind, 54221},
    {"Savannah", kBlind, 54222},
    {"Motherlode", kBlind, 54225},
    {"Ice Lake", kBlind, 54226},
    {"Team Space Satellites", kBlind, 54228},
    {"Kashyyyk", kLocale, 55001},
    {"Endor", kLocale, 55002},
    {"Yavin", kLocale, 55003},
    {"Hoth", kLocale, 55004},
    {"Krant", kLocale, 55005},
    {"Hanoon", kLocale, 55006},
    {"Geddes", kLocale, 55007},
    {"Kessel", kLocale, 55008},
    {"Tatooine", kLocale, 55009},
    {"Reytha", kLocale, 55010},
    {"Zaloriis", kLocale, 55011},
    {"Dagobah", kLocale, 55012},
    {"Naboo", kLocale, 55013},
    {"Mos Espa", kLocale, 55014},
    {"Sarapin", kLocale, 55015},
    {"Aereen", kLocale, 55016},
    {"Eredenn", kLocale, 55017},
    {"Geonosis", kLocale, 55018},
    {"Tatooine (Episode II)", kLocale, 55019},
    {"Forest", kMisc, 54204},
    {"Fortress", kMisc, 54208},
    {"Arena", kMisc, 54223},
    {"Raiders", kMisc, 54227},
}};

}  // namespace

const std::array<CatalogueRow, kBuiltinMapCount>& BuiltinCatalogue() { return kCatalogue; }

std::string_view GroupName(MapGroup group) {
  switch (group) {
    case MapGroup::kBlindRandom:
      return "Blind Random";
    case MapGroup::kStarWarsLocale:
      return "Star Wars Locale";
    case MapGroup::kMiscellaneous:
      break;
  }
  return "Miscellaneous";
}

std::vector<BuiltinMap> SelectBuiltinMaps(const SelectionFlags& flags) {
  std::vector<BuiltinMap> maps;
  for (int i = 0; i < kBuiltinMapCount; ++i) {
    if (flags[i]) maps.push_back({kCatalogue[i].id, kCatalogue[i].label});
  }
  return maps;
}

}  // namespace tolvenek
