// The cardinal and Kochanek-Bartels splines: values worked out by hand from
// their tangents and coefficients, evaluation outside the keys, and the
// failures on equal or missing keys.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <stdexcept>
#include <vector>

#include "geometry/cardinal_spline.h"
#include "geometry/kochanek_spline.h"

namespace veldrane {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

struct Key {
  double t, value;
};

CardinalSpline Cardinal(const std::vector<Key>& keys, double tension = 0) {
  CardinalSpline spline;
  for (const auto& k : keys) spline.AddPoint(k.t, k.value);
  spline.SetTension(tension);
  return spline;
}

TEST(CardinalSplineTest, ValuesFromTheTangents) {
  const std::vector<Key> squares{{0, 0}, {1, 1}, {2, 4}, {3, 9}};
  struct Case {
    const char* what;
    std::vector<Key> keys;
    double tension, t, value;
  };
  const Case cases[] = {
      // Two points: both tangents flat.
      {"two points, middle", {{0, 0}, {1, 10}}, 0, 0.5, 5},
      {"around a peak", {{0, 0}, {1, 1}, {2, 0}}, 0, 0.5, 0.5},
      // Middle segment at s = 0.5: h0 = 0.5, h1 = 0.125, h2 = 0.5,
      // h3 = -0.125; m0 = (1-T)/2 * (4 - 0), m1 = (1-T)/2 * (9 - 1).
      {"interior tangents", squares, 0, 1.5, 2.25},
      {"tension 0.5", squares, 0.5, 1.5, 2.375},
      // Tangents are per segment: uneven keys give the same middle value.
      {"uneven spacing", {{0, 0}, {1, 1}, {5, 4}, {6, 9}}, 0, 3, 2.25},
      {"before the keys the first value holds", {{1, 3}, {2, 8}, {4, -2}}, 0, -100, 3},
      {"one point", {{2, 7}}, 0, 5, 7},
      // The zero-width segment is skipped; the last one holds 1.5 with
      // m0 = 0.5 * (10 - 5) and m1 = 0.
      {"a repeated key", {{0, 0}, {1, 5}, {1, 5}, {2, 10}}, 0, 1.5, 7.8125},
      {"no segment holds NaN", {{0, 0}, {1, 5}, {1, 5}, {2, 10}}, 0, kNaN, 0},
      // A NaN key sorts last: the segment before it gets the end tangent
      // 0.5 * (3 - 5) and past the last number nothing qualifies.
      {"a NaN key", {{0, 0}, {1, 5}, {1, 5}, {2, 10}, {kNaN, 3}}, 0, 1.5, 7.9375},
      {"past a NaN key's set", {{0, 0}, {1, 5}, {1, 5}, {2, 10}, {kNaN, 3}}, 0, 5, 0},
  };
  for (const auto& c : cases) EXPECT_DOUBLE_EQ(Cardinal(c.keys, c.tension).Evaluate(c.t), c.value) << c.what;
  EXPECT_THROW(CardinalSpline().Evaluate(0), std::out_of_range);
}

KochanekSpline Kochanek(const std::vector<Key>& keys, double tension = 0, double bias = 0, double continuity = 0) {
  KochanekSpline spline;
  spline.SetTension(tension);
  spline.SetBias(bias);
  spline.SetContinuity(continuity);
  for (const auto& k : keys) spline.AddPoint(k.t, k.value);
  return spline;
}

const std::vector<Key> kParabola{{0, 0}, {1, 1}, {2, 4}, {3, 9}};

TEST(KochanekSplineTest, Values) {
  // Keys 0, 1, 2 with values 0, 1, 3 (dPrev = 1, dNext = 2): segment 0 at
  // s = 0.5 with incoming tangent m at t = 1 is 0.5 - m/8.
  const std::vector<Key> rising{{0, 0}, {1, 1}, {2, 3}};
  struct Case {
    const char* what;
    KochanekSpline spline;
    double t, value;
  };
  const Case cases[] = {
      // Interior segments and keys are tried on a long parabola below.
      {"parabola, first segment", Kochanek(kParabola), 0.5, 0.25},
      {"parabola, last segment", Kochanek(kParabola), 2.5, 7},
      {"clamped below", Kochanek(kParabola), -5, 0},
      {"clamped above", Kochanek(kParabola), 10, 9},
      {"uneven, first segment", Kochanek({{0, 0}, {1, 2}, {3, 3}}), 0.5, 0.875},
      {"uneven, second segment", Kochanek({{0, 0}, {1, 2}, {3, 3}}), 2, 2.75},
      {"plain: m = 0.5 * (1 + 2)", Kochanek(rising), 0.5, 0.5 - 1.5 / 8},
      {"tension 1: m = 0", Kochanek(rising, 1), 0.5, 0.5},
      {"bias 1: m = 0.5 * 2 * 1", Kochanek(rising, 0, 1), 0.5, 0.5 - 1.0 / 8},
      {"continuity 1: incoming m = 0.5 * 2 * 2", Kochanek(rising, 0, 0, 1), 0.5, 0.5 - 2.0 / 8},
      {"an interior repeated key: the segment ending at it wins", Kochanek({{0, 0}, {1, 1}, {1, 1}, {2, 4}}), 1, 1},
      {"one point gives zero", Kochanek({{5, 42}}), 5, 0},
  };
  for (const auto& c : cases) {
    KochanekSpline spline = c.spline;
    EXPECT_NEAR(spline.Evaluate(c.t), c.value, 1e-12) << c.what;
  }
  EXPECT_THROW(KochanekSpline().Evaluate(0), std::out_of_range);
}

TEST(KochanekSplineTest, EqualKeysFailLoudlyAndNonFiniteOnesNeverCrash) {
  // A segment of two equal keys that holds t: zero over zero.
  KochanekSpline pair = Kochanek({{1, 5}, {1, 7}, {2, 0}});
  EXPECT_THROW(pair.Evaluate(1), std::domain_error);
  EXPECT_THROW(pair.Evaluate(0), std::domain_error);  // clamped onto the same key
  EXPECT_TRUE(std::isfinite(pair.Evaluate(1.5)));
  KochanekSpline triple = Kochanek({{3, 0}, {3, 1}, {3, 2}, {4, 0}});
  EXPECT_THROW(triple.Evaluate(3.5), std::domain_error);
  KochanekSpline nan = Kochanek({{0, 0}, {kNaN, 1}, {1, 2}, {2, kNaN}});
  for (double t : {-1.0, 0.0, 0.5, 1.5, 3.0, kNaN}) EXPECT_NO_THROW((void)nan.Evaluate(t)) << t;
  KochanekSpline huge = Kochanek({{-1e308, 0}, {0, 1}, {1e308, 2}});  // the spacing overflows
  EXPECT_NO_THROW((void)huge.Evaluate(0));
  EXPECT_NO_THROW((void)huge.Evaluate(5e307));
}

TEST(KochanekSplineTest, ManyPointsReproduceTheParabola) {
  // Keys 0..999 added backwards; at each key and half key the segment a scan
  // would pick (the one ending at a knot) is found.
  KochanekSpline spline;
  for (int i = 999; i >= 0; --i) spline.AddPoint(i, static_cast<double>(i) * i);
  for (int i = 1; i < 998; ++i) {
    ASSERT_NEAR(spline.Evaluate(i), static_cast<double>(i) * i, 1e-6) << i;
    ASSERT_NEAR(spline.Evaluate(i + 0.5), (i + 0.5) * (i + 0.5), 1e-6) << i;
  }
}

}  // namespace
}  // namespace veldrane
