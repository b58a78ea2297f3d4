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
constexpr double kTight = 1e-12;

// ---------------------------------------------------------------- Cardinal

TEST(CardinalSplineTest, TwoPointsHaveFlatTangents) {
  CardinalSpline spline;
  spline.AddPoint(0, 0);
  spline.AddPoint(1, 10);
  // h0 = h2 = 0.5 at the middle, both tangents zero.
  EXPECT_DOUBLE_EQ(spline.Evaluate(0.5), 5.0);
  // s = 0.25: h2 = -2/64 + 3/16 = 0.15625.
  EXPECT_DOUBLE_EQ(spline.Evaluate(0.25), 1.5625);
}

TEST(CardinalSplineTest, ThreePointsAroundAPeak) {
  CardinalSpline spline;
  spline.AddPoint(0, 0);
  spline.AddPoint(1, 1);
  spline.AddPoint(2, 0);
  // First segment: m0 = 0 (first), m1 = 0.5 * (0 - 0) = 0, so h2 * 1.
  EXPECT_DOUBLE_EQ(spline.Evaluate(0.5), 0.5);
  EXPECT_DOUBLE_EQ(spline.Evaluate(1.5), 0.5);
  EXPECT_DOUBLE_EQ(spline.Evaluate(1.0), 1.0);
}

TEST(CardinalSplineTest, InteriorTangentsFollowTensionAndIgnoreSpacing) {
  // Values 0, 1, 4, 9. Middle segment at s = 0.5: h0 = 0.5, h1 = 0.125,
  // h2 = 0.5, h3 = -0.125; m0 = (1-T)/2 * (4 - 0), m1 = (1-T)/2 * (9 - 1).
  CardinalSpline even;
  for (double t : {0.0, 1.0, 2.0, 3.0}) even.AddPoint(t, t * t);
  EXPECT_DOUBLE_EQ(even.Evaluate(1.5), 0.5 + 0.125 * 2 + 0.5 * 4 - 0.125 * 4);  // 2.25
  even.SetTension(0.5);
  EXPECT_DOUBLE_EQ(even.Tension(), 0.5);
  EXPECT_DOUBLE_EQ(even.Evaluate(1.5), 0.5 + 0.125 * 1 + 0.5 * 4 - 0.125 * 2);  // 2.375
  even.SetTension(1);
  EXPECT_DOUBLE_EQ(even.Evaluate(1.5), 2.5);  // flat tangents: h0 * 1 + h2 * 4

  // The same values on uneven keys: tangents are per segment, so the middle
  // of the middle segment gives the same 2.25.
  CardinalSpline uneven;
  uneven.AddPoint(0, 0);
  uneven.AddPoint(1, 1);
  uneven.AddPoint(5, 4);
  uneven.AddPoint(6, 9);
  EXPECT_DOUBLE_EQ(uneven.Evaluate(3), 2.25);
}

TEST(CardinalSplineTest, OrderOfAddingDoesNotMatter) {
  CardinalSpline ascending;
  CardinalSpline descending;
  for (double t : {0.0, 1.0, 2.0, 3.0}) ascending.AddPoint(t, t * t);
  for (double t : {3.0, 2.0, 1.0, 0.0}) descending.AddPoint(t, t * t);
  for (double t : {-1.0, 0.3, 1.5, 2.9, 4.0}) EXPECT_DOUBLE_EQ(ascending.Evaluate(t), descending.Evaluate(t)) << t;
  // A point added after an evaluation is taken into account.
  ascending.AddPoint(1.5, 100);
  EXPECT_DOUBLE_EQ(ascending.Evaluate(1.5), 100.0);
}

TEST(CardinalSplineTest, OutsideTheKeysTheEndValuesHold) {
  CardinalSpline spline;
  spline.AddPoint(1, 3);
  spline.AddPoint(2, 8);
  spline.AddPoint(4, -2);
  EXPECT_DOUBLE_EQ(spline.Evaluate(-100), 3.0);
  EXPECT_DOUBLE_EQ(spline.Evaluate(1), 3.0);
  EXPECT_DOUBLE_EQ(spline.Evaluate(4), -2.0);
  EXPECT_DOUBLE_EQ(spline.Evaluate(1e9), -2.0);
}

TEST(CardinalSplineTest, OnePointAndNoPoint) {
  CardinalSpline single;
  single.AddPoint(2, 7);
  EXPECT_DOUBLE_EQ(single.Evaluate(0), 7.0);
  EXPECT_DOUBLE_EQ(single.Evaluate(5), 7.0);
  CardinalSpline empty;
  EXPECT_THROW(empty.Evaluate(0), std::out_of_range);
}

TEST(CardinalSplineTest, DuplicateKeysAndNaNNeverFail) {
  CardinalSpline spline;
  spline.AddPoint(0, 0);
  spline.AddPoint(1, 5);
  spline.AddPoint(1, 5);
  spline.AddPoint(2, 10);
  // The zero-width segment is skipped; the last segment holds 1.5 with
  // m0 = 0.5 * (10 - 5) and m1 = 0: 0.5*5 + 0.125*2.5 + 0.5*10 = 7.8125.
  EXPECT_DOUBLE_EQ(spline.Evaluate(1.5), 7.8125);
  EXPECT_DOUBLE_EQ(spline.Evaluate(1.0), 5.0);
  EXPECT_DOUBLE_EQ(spline.Evaluate(kNaN), 0.0);  // no segment holds NaN
  // A NaN key sorts last: below the first key the first value still holds;
  // the segment before it is no longer the last, so its end tangent is
  // 0.5 * (3 - 5) = -1 and adds h3 * m1 = 0.125; past the last number no
  // segment qualifies (the last key, NaN, compares false).
  spline.AddPoint(kNaN, 3);
  EXPECT_DOUBLE_EQ(spline.Evaluate(-1), 0.0);
  EXPECT_DOUBLE_EQ(spline.Evaluate(1.5), 7.9375);
  EXPECT_DOUBLE_EQ(spline.Evaluate(5), 0.0);
}

// ---------------------------------------------------------------- Kochanek

KochanekSpline Parabola() {
  KochanekSpline spline;
  for (double t : {0.0, 1.0, 2.0, 3.0}) spline.AddPoint(t, t * t);
  return spline;
}

TEST(KochanekSplineTest, EvenSpacingHasHalfDifferenceTangents) {
  // Interior tangents (V(i+1) - V(i-1)) / 2: 2 at t = 1, 4 at t = 2; zero at
  // both ends. Segment 0: c2 = 3*1 - 0 - 2 = 1, c3 = -2 + 0 + 2 = 0.
  // Segment 1: c1 = 2, c2 = 9 - 4 - 4 = 1, c3 = -6 + 2 + 4 = 0.
  // Segment 2: c1 = 4, c2 = 15 - 8 - 0 = 7, c3 = -10 + 4 + 0 = -6.
  KochanekSpline spline = Parabola();
  SplineCoefficients table(4, {9, 9, 9, 9});
  spline.Compute(table);
  const SplineCoefficients expected{{0, 0, 1, 0}, {1, 2, 1, 0}, {4, 4, 7, -6}, {9, 0, 0, 0}};
  for (std::size_t row = 0; row < 4; ++row) {
    for (std::size_t c = 0; c < 4; ++c) EXPECT_NEAR(table[row][c], expected[row][c], kTight) << row << "," << c;
  }
  EXPECT_NEAR(spline.Evaluate(0.5), 0.25, kTight);
  EXPECT_NEAR(spline.Evaluate(1.5), 2.25, kTight);
  EXPECT_NEAR(spline.Evaluate(2.5), 7.0, kTight);  // -6/8 + 7/4 + 4/2 + 4
}

TEST(KochanekSplineTest, UnevenSpacingScalesTheTangents) {
  // Keys 0, 1, 3; values 0, 2, 3. At t = 1: 0.5 * (2 + 1) = 1.5 both ways;
  // incoming * 2*1/3 = 1, outgoing * 2*2/3 = 2.
  // Segment 0: c2 = 6 - 0 - 1 = 5, c3 = -4 + 0 + 1 = -3.
  // Segment 1: c1 = 2, c2 = 3 - 4 - 0 = -1, c3 = -2 + 2 + 0 = 0.
  KochanekSpline spline;
  spline.AddPoint(0, 0);
  spline.AddPoint(1, 2);
  spline.AddPoint(3, 3);
  SplineCoefficients table(3, {0, 0, 0, 0});
  spline.Compute(table);
  EXPECT_NEAR(table[0][2], 5.0, kTight);
  EXPECT_NEAR(table[0][3], -3.0, kTight);
  EXPECT_NEAR(table[1][1], 2.0, kTight);
  EXPECT_NEAR(table[1][2], -1.0, kTight);
  EXPECT_NEAR(table[1][3], 0.0, kTight);
  EXPECT_NEAR(spline.Evaluate(0.5), 0.875, kTight);  // -3/8 + 5/4
  EXPECT_NEAR(spline.Evaluate(2.0), 2.75, kTight);   // -1/4 + 2/2 + 2
  EXPECT_NEAR(spline.Evaluate(1.0), 2.0, kTight);    // the knot ends segment 0
}

TEST(KochanekSplineTest, BiasContinuityAndTensionShapeTheTangents) {
  // Keys 0, 1, 2; values 0, 1, 3: dPrev = 1, dNext = 2, even spacing.
  const auto middleOfFirstSegment = [](double tension, double bias, double continuity) {
    KochanekSpline spline;
    spline.SetTension(tension);
    spline.SetBias(bias);
    spline.SetContinuity(continuity);
    spline.AddPoint(0, 0);
    spline.AddPoint(1, 1);
    spline.AddPoint(2, 3);
    // Segment 0 at s = 0.5 with incoming tangent m at t = 1: c2 = 3 - m,
    // c3 = -2 + m, value = (m - 2)/8 + (3 - m)/4 = 0.5 - m/8.
    return spline.Evaluate(0.5);
  };
  // Plain: m = 0.5 * (1 + 2) = 1.5.
  EXPECT_NEAR(middleOfFirstSegment(0, 0, 0), 0.5 - 1.5 / 8, kTight);
  // Tension 1: m = 0.
  EXPECT_NEAR(middleOfFirstSegment(1, 0, 0), 0.5, kTight);
  // Bias 1: m = 0.5 * (2 * 1 + 0) = 1.
  EXPECT_NEAR(middleOfFirstSegment(0, 1, 0), 0.5 - 1.0 / 8, kTight);
  // Continuity 1: incoming m = 0.5 * (0 + 2 * 2) = 2.
  EXPECT_NEAR(middleOfFirstSegment(0, 0, 1), 0.5 - 2.0 / 8, kTight);
  KochanekSpline spline;
  spline.SetTension(0.25);
  EXPECT_DOUBLE_EQ(spline.Tension(), 0.25);
}

TEST(KochanekSplineTest, ParametersTakeEffectOnlyAtTheNextRecompute) {
  KochanekSpline spline = Parabola();
  EXPECT_TRUE(spline.NeedsRecompute());
  EXPECT_NEAR(spline.Evaluate(0.5), 0.25, kTight);
  EXPECT_FALSE(spline.NeedsRecompute());
  spline.SetBias(1);
  EXPECT_FALSE(spline.NeedsRecompute());
  EXPECT_NEAR(spline.Evaluate(0.5), 0.25, kTight);  // the old curve

  // Compute on a caller's table uses the new bias there, but leaves the
  // spline's own curve alone.
  SplineCoefficients table(4, {0, 0, 0, 0});
  spline.Compute(table);
  // Bias 1 at t = 1: incoming 0.5 * 2 * (1 - 0) = 1, so c2 = 3 - 1 = 2.
  EXPECT_NEAR(table[0][2], 2.0, kTight);
  EXPECT_NEAR(spline.Evaluate(0.5), 0.25, kTight);

  // The next point triggers the recompute with bias 1: at t = 1 the
  // incoming tangent is 1, segment 0 is c2 = 2, c3 = -1: 0.375 at s = 0.5.
  spline.AddPoint(4, 16);
  EXPECT_TRUE(spline.NeedsRecompute());
  EXPECT_NEAR(spline.Evaluate(0.5), 0.375, kTight);
}

TEST(KochanekSplineTest, EvaluationIsClampedToTheKeys) {
  KochanekSpline spline = Parabola();
  EXPECT_NEAR(spline.Evaluate(-5), 0.0, kTight);
  EXPECT_NEAR(spline.Evaluate(10), 9.0, kTight);
  EXPECT_NEAR(spline.Evaluate(2), 4.0, kTight);
}

TEST(KochanekSplineTest, OnePointGivesZeroAndNoPointIsAnError) {
  KochanekSpline single;
  single.AddPoint(5, 42);
  EXPECT_DOUBLE_EQ(single.Evaluate(5), 0.0);
  EXPECT_DOUBLE_EQ(single.Evaluate(-1), 0.0);
  KochanekSpline empty;
  EXPECT_THROW(empty.Evaluate(0), std::out_of_range);
}

TEST(KochanekSplineTest, EqualKeysFailLoudlyInsteadOfGivingNaN) {
  // The first segment has two equal keys and holds t = 1: zero over zero.
  KochanekSpline pair;
  pair.AddPoint(1, 5);
  pair.AddPoint(1, 7);
  pair.AddPoint(2, 0);
  EXPECT_THROW(pair.Evaluate(1), std::domain_error);
  EXPECT_THROW(pair.Evaluate(0), std::domain_error);  // clamped onto the same key
  EXPECT_TRUE(std::isfinite(pair.Evaluate(1.5)));

  // An interior duplicate is harmless: the segment ending at the key wins.
  KochanekSpline interior;
  interior.AddPoint(0, 0);
  interior.AddPoint(1, 1);
  interior.AddPoint(1, 1);
  interior.AddPoint(2, 4);
  EXPECT_NEAR(interior.Evaluate(1), 1.0, kTight);

  // Three equal keys leave the middle one without spacing.
  KochanekSpline triple;
  for (double v : {0.0, 1.0, 2.0}) triple.AddPoint(3, v);
  triple.AddPoint(4, 0);
  EXPECT_THROW(triple.Evaluate(3.5), std::domain_error);
}

TEST(KochanekSplineTest, ComputeNeedsARowPerPoint) {
  KochanekSpline spline = Parabola();
  SplineCoefficients tooSmall(3, {0, 0, 0, 0});
  EXPECT_THROW(spline.Compute(tooSmall), std::out_of_range);
  // A larger table is filled in its first rows only.
  SplineCoefficients larger(6, {-1, -1, -1, -1});
  spline.Compute(larger);
  EXPECT_NEAR(larger[3][0], 9.0, kTight);
  EXPECT_DOUBLE_EQ(larger[4][0], -1.0);
}

TEST(KochanekSplineTest, NonFiniteSamplesNeverCrash) {
  KochanekSpline spline;
  spline.AddPoint(0, 0);
  spline.AddPoint(kNaN, 1);
  spline.AddPoint(1, 2);
  spline.AddPoint(2, kNaN);
  for (double t : {-1.0, 0.0, 0.5, 1.5, 3.0, kNaN}) EXPECT_NO_THROW((void)spline.Evaluate(t)) << t;
  KochanekSpline huge;
  huge.AddPoint(-1e308, 0);
  huge.AddPoint(0, 1);
  huge.AddPoint(1e308, 2);
  // The spacing overflows; the result is meaningless but must come back.
  EXPECT_NO_THROW((void)huge.Evaluate(0));
  EXPECT_NO_THROW((void)huge.Evaluate(5e307));
}

TEST(KochanekSplineTest, ManyPointsEvaluateLikeTheScan) {
  // Keys 0..999 on a parabola; evaluation at each key and half key falls in
  // the segment a scan would pick (the one ending at a knot).
  KochanekSpline spline;
  for (int i = 999; i >= 0; --i) spline.AddPoint(i, static_cast<double>(i) * i);
  for (int i = 1; i < 998; ++i) {
    ASSERT_NEAR(spline.Evaluate(i), static_cast<double>(i) * i, 1e-6) << i;
    // Away from the ends the curve reproduces the parabola.
    ASSERT_NEAR(spline.Evaluate(i + 0.5), (i + 0.5) * (i + 0.5), 1e-6) << i;
  }
}

}  // namespace
}  // namespace veldrane
