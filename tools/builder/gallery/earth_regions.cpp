#include "gallery/earth_regions.h"

#include <cmath>

namespace builder::gallery {
namespace {

enum : std::uint8_t {
  kAfrica = 1,
  kAntarctica,
  kAsia,
  kAustralia,
  kEurope,
  kNorthAmerica,
  kSouthAmerica,
  kArctic,
  kAtlantic,
  kIndian,
  kPacific,
  kSouthern,
};

bool Inside(double longitude, double latitude, double west, double east, double south, double north) {
  return longitude >= west && longitude <= east && latitude >= south && latitude <= north;
}

// The longitude of the land between the Pacific and the Atlantic at a
// latitude (the Americas, Central America's isthmus included), as straight
// pieces between points on land.
double AmericasDivide(double latitude) {
  static const double points[][2] = {{-90, -68}, {-56, -68}, {-20, -68}, {0, -79},  {8, -80},
                                     {10, -84},  {15, -90},  {20, -100}, {90, -100}};
  for (std::size_t i = 1; i < std::size(points); ++i)
    if (latitude <= points[i][0]) {
      const double t = (latitude - points[i - 1][0]) / (points[i][0] - points[i - 1][0]);
      return points[i - 1][1] + t * (points[i][1] - points[i - 1][1]);
    }
  return -100;
}

bool IsLake(double longitude, double latitude) {
  return Inside(longitude, latitude, -93, -75, 41, 49.5) ||  // the Great Lakes
         Inside(longitude, latitude, 46, 56, 36, 47.5) ||    // the Caspian Sea
         Inside(longitude, latitude, 58, 62, 43, 47) ||      // the Aral Sea
         Inside(longitude, latitude, 103, 110, 51, 56) ||    // Baikal
         Inside(longitude, latitude, 31, 35, -3.2, 0.6);     // Victoria
}

std::uint8_t Ocean(double longitude, double latitude) {
  if (latitude > 66) return kArctic;
  if (latitude < -60) return kSouthern;
  if (IsLake(longitude, latitude)) return 0;
  if (longitude >= 20 && longitude < 100 && latitude < 30) return kIndian;
  if (longitude >= 100 && longitude <= 147 && latitude < -8) return kIndian;
  if (longitude >= 20 && longitude < 100) return kAtlantic;  // the Mediterranean and the Black Sea
  if (longitude >= 100 || longitude <= AmericasDivide(latitude)) return kPacific;
  return kAtlantic;
}

std::uint8_t Continent(double longitude, double latitude) {
  if (latitude < -60) return kAntarctica;
  // Greenland belongs to North America.
  if (Inside(longitude, latitude, -75, -10, 59, 90)) return kNorthAmerica;
  if (longitude >= -170 && longitude < -30) {
    if (latitude >= 13) return kNorthAmerica;
    if (latitude >= 7 && longitude < AmericasDivide(latitude) + 3 && longitude < -77) return kNorthAmerica;
    return kSouthAmerica;
  }
  if (longitude < -170) return kAsia;  // the tip of Siberia
  if (longitude >= 110 && latitude < -10) return kAustralia;
  if (Inside(longitude, latitude, 130, 152, -12, 0)) return kAustralia;  // New Guinea
  if (longitude >= 160 && latitude < -25) return kAustralia;             // New Zealand
  if (longitude < 60 && latitude < 37.5 && !(longitude >= 34 && latitude >= 12) && longitude > -30) return kAfrica;
  if (longitude < 60 && latitude >= 36) {
    // Europe ends at the Urals, the Caspian and the Bosporus.
    if (longitude < 26 || (longitude < 41 && latitude >= 41) || (longitude < 60 && latitude >= 47)) return kEurope;
  }
  return kAsia;
}

}  // namespace

const std::vector<EarthRegion>& EarthRegions() {
  static const std::vector<EarthRegion> regions = {
      {kAfrica,
       "Africa",
       false,
       {"African", "Continent"},
       -25,
       60,
       -38,
       40,
       "Africa, from the Mediterranean to the Cape: the Sahara's sand, the Congo's forest and the Nile."},
      {kAntarctica,
       "Antarctica",
       false,
       {"Antarctic", "Continent"},
       0,
       0,
       -90,
       -90,
       "Antarctica, seen from above the South Pole: the ice sheet of the southernmost continent."},
      {kAsia,
       "Asia",
       false,
       {"Asian", "Continent"},
       25,
       180,
       -12,
       78,
       "Asia, the largest continent: from the Urals and Arabia to Japan, the Himalaya's snow in its middle."},
      {kAustralia,
       "Australia and Oceania",
       false,
       {"Australian", "Continent"},
       105,
       185,
       -50,
       5,
       "Australia with New Guinea and New Zealand, between the Indian and the Pacific Oceans."},
      {kEurope,
       "Europe",
       false,
       {"European", "Continent"},
       -28,
       62,
       33,
       73,
       "Europe, from Iceland and Portugal to the Urals, the Mediterranean to its south."},
      {kNorthAmerica,
       "North America",
       false,
       {"American", "Continent"},
       -170,
       -10,
       5,
       84,
       "North America, from Alaska and Greenland to Panama."},
      {kSouthAmerica,
       "South America",
       false,
       {"American", "Continent"},
       -95,
       -25,
       -58,
       15,
       "South America, the Amazon's forest, the Andes along its west and Cape Horn at its tip."},
      {kArctic,
       "Arctic Ocean",
       true,
       {"Arctic", "Ocean"},
       0,
       0,
       90,
       90,
       "The Arctic Ocean, seen from above the North Pole, its sea ice and the coasts around it."},
      {kAtlantic,
       "Atlantic Ocean",
       true,
       {"Atlantic", "Ocean"},
       -100,
       30,
       -62,
       68,
       "The Atlantic Ocean between the Americas, Europe and Africa."},
      {kIndian,
       "Indian Ocean",
       true,
       {"Indian", "Ocean"},
       15,
       150,
       -62,
       32,
       "The Indian Ocean between Africa, Asia and Australia."},
      {kPacific,
       "Pacific Ocean",
       true,
       {"Pacific", "Ocean"},
       110,
       290,
       -62,
       64,
       "The Pacific Ocean, the largest, from Asia and Australia to the Americas."},
      {kSouthern,
       "Southern Ocean",
       true,
       {"Antarctic", "Ocean"},
       0,
       0,
       -90,
       -90,
       "The Southern Ocean around Antarctica, seen from above the South Pole."},
  };
  return regions;
}

bool IsSeaColour(Rgb c) {
  // Deep sea: dark, blue above red and green. Shallow sea: blue-green with
  // little red. Sea ice near the poles is white and counted as land here;
  // RegionAt gives the polar latitudes to their ocean where they lie on it.
  return (c.b > c.r + 18 && c.b + 8 >= c.g && c.r < 90) || (c.r < 40 && c.g < 50 && c.b < 50 && c.b >= c.r);
}

std::uint8_t RegionAt(double longitude, double latitude, Rgb colour) {
  longitude = std::remainder(longitude, 360.0);
  if (!IsSeaColour(colour)) {
    // Ice over the Arctic Ocean is sea; Greenland and the lands around it are not.
    if (latitude > 80 && !Inside(longitude, latitude, -75, -10, 59, 90)) return kArctic;
    return Continent(longitude, latitude);
  }
  return Ocean(longitude, latitude);
}

}  // namespace builder::gallery
