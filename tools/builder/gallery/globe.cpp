#include "gallery/globe.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace builder::gallery {
namespace {

constexpr double kRadians = std::numbers::pi / 180.0;

struct Vector {
  double x, y, z;
};

Vector OnSphere(double longitude, double latitude) {
  const double lon = longitude * kRadians, lat = latitude * kRadians;
  return {std::cos(lat) * std::sin(lon), std::sin(lat), std::cos(lat) * std::cos(lon)};
}

std::uint8_t Blend(double a, double b, double t) {
  return static_cast<std::uint8_t>(std::clamp(std::lround(a + (b - a) * t), 0L, 255L));
}

}  // namespace

RgbImage DrawGlobe(const RgbImage& day, const RgbImage* night, const GlobeView& view) {
  RgbImage out(view.size, view.size);  // black
  const double radius = view.size / 2.0 - view.margin;
  const double centre = view.size / 2.0;
  const double lon0 = view.longitude * kRadians, lat0 = view.latitude * kRadians;
  const Vector sun = OnSphere(view.sunLongitude, view.sunLatitude);
  for (int py = 0; py < view.size; ++py) {
    for (int px = 0; px < view.size; ++px) {
      // Four samples a pixel, so that the rim is smooth.
      double sum[3] = {0, 0, 0};
      for (int s = 0; s < 4; ++s) {
        const double sx = (px + 0.25 + 0.5 * (s & 1) - centre) / radius;
        const double sy = (centre - (py + 0.25 + 0.5 * (s >> 1))) / radius;
        const double rr = sx * sx + sy * sy;
        if (rr > 1.0) continue;
        const double sz = std::sqrt(1.0 - rr);
        // Tip back by the view's latitude, then turn by its longitude.
        const double y1 = sy * std::cos(lat0) + sz * std::sin(lat0);
        const double z1 = -sy * std::sin(lat0) + sz * std::cos(lat0);
        const double x2 = sx * std::cos(lon0) + z1 * std::sin(lon0);
        const double z2 = -sx * std::sin(lon0) + z1 * std::cos(lon0);
        const double latitude = std::asin(std::clamp(y1, -1.0, 1.0)) / kRadians;
        const double longitude = std::atan2(x2, z2) / kRadians;
        const Rgb d = MapColour(day, longitude, latitude);
        double r = d.r, g = d.g, b = d.b;
        if (view.limbDarkening) {
          const double light = 0.45 + 0.55 * std::pow(sz, 0.6);
          r *= light;
          g *= light;
          b *= light;
        } else if (view.lit) {
          const double cosine = x2 * sun.x + y1 * sun.y + z2 * sun.z;
          const double light = std::clamp(cosine * 4.0 + 0.5, 0.0, 1.0);  // a soft terminator
          const double shade = 0.35 + 0.65 * std::clamp(cosine, 0.0, 1.0);
          if (night != nullptr) {
            const Rgb n = MapColour(*night, longitude, latitude);
            r = Blend(n.r, d.r * shade, light);
            g = Blend(n.g, d.g * shade, light);
            b = Blend(n.b, d.b * shade, light);
          } else {
            const double dim = 0.12 + 0.88 * light * shade;
            r *= dim;
            g *= dim;
            b *= dim;
          }
        }
        sum[0] += r;
        sum[1] += g;
        sum[2] += b;
      }
      out.Set(px, py,
              {static_cast<std::uint8_t>(std::lround(sum[0] / 4)), static_cast<std::uint8_t>(std::lround(sum[1] / 4)),
               static_cast<std::uint8_t>(std::lround(sum[2] / 4))});
    }
  }
  return out;
}

}  // namespace builder::gallery
