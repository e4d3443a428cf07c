#include "editor/spline/PESplineCalculator.h"
#include "editor/spline/PESplineInterpolator.h"
#include "tests/support/CapturedLog.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

std::shared_ptr<PESplineCalculator> splineOf(const std::vector<double>& values) {
    return PESplineCalculator::initWithDataDataNum(values.data(),
                                                   static_cast<int64_t>(values.size()));
}

// One-sided second differences: from the left and from the right of t.
constexpr double kStep = 1e-3;
double secondFromLeft(const PESplineCalculator& s, double t) {
    return (s.getValue(t) - 2 * s.getValue(t - kStep) + s.getValue(t - 2 * kStep)) /
           (kStep * kStep);
}
double secondFromRight(const PESplineCalculator& s, double t) {
    return (s.getValue(t) - 2 * s.getValue(t + kStep) + s.getValue(t + 2 * kStep)) /
           (kStep * kStep);
}
double slopeFromLeft(const PESplineCalculator& s, double t) {
    return (s.getValue(t) - s.getValue(t - kStep)) / kStep;
}
double slopeFromRight(const PESplineCalculator& s, double t) {
    return (s.getValue(t + kStep) - s.getValue(t)) / kStep;
}

// The cubic through four samples of [k, k + 1], evaluated at t (Lagrange's form): what
// the piece starting at k is, read only from the spline's values.
double pieceAt(const PESplineCalculator& s, double k, double t) {
    const double xs[4] = {k, k + 1.0 / 3, k + 2.0 / 3, k + 1};
    double sum = 0;
    for (int i = 0; i < 4; ++i) {
        double term = s.getValue(xs[i]);
        for (int j = 0; j < 4; ++j) {
            if (j != i) {
                term *= (t - xs[j]) / (xs[i] - xs[j]);
            }
        }
        sum += term;
    }
    return sum;
}

const std::vector<std::vector<double>> kValueSets = {
    {0, 1}, {0, 1, 0}, {0, 0.2, 0.5, 0.9, 1}, {3, -1, 4, 1, -5, 9, 2}, {0.5, 0.5, 0.5, 0.5},
};

TEST(PESplineCalculator, PassesThroughEveryKnot) {
    for (const auto& values : kValueSets) {
        SCOPED_TRACE(testing::Message() << values.size() << " values starting " << values[0]);
        auto spline = splineOf(values);
        ASSERT_TRUE(spline);
        for (size_t i = 0; i < values.size(); ++i) {
            EXPECT_NEAR(spline->getValue(double(i)), values[i], 1e-12) << "knot " << i;
        }
    }
}

TEST(PESplineCalculator, IsSmoothInsideAndNaturalAtItsEnds) {
    for (const auto& values : kValueSets) {
        SCOPED_TRACE(testing::Message() << values.size() << " values starting " << values[0]);
        auto spline = splineOf(values);
        const double last = double(values.size() - 1);
        for (size_t i = 1; i + 1 < values.size(); ++i) {
            const double t = double(i);
            EXPECT_NEAR(slopeFromLeft(*spline, t), slopeFromRight(*spline, t), 0.05) << "at " << t;
            EXPECT_NEAR(secondFromLeft(*spline, t), secondFromRight(*spline, t), 0.2) << "at " << t;
        }
        EXPECT_NEAR(secondFromRight(*spline, 0), 0, 0.1);
        EXPECT_NEAR(secondFromLeft(*spline, last), 0, 0.1);
    }
}

TEST(PESplineCalculator, ThreeValuesBendByAQuarterOfTheirSecondDifference) {
    // y = (0, 1, 0): the middle's second derivative is 2 x 3 (0 - 2 + 0) / 4 = -3, so the
    // first piece is 1.5 t - 0.5 t^3, and the curve is symmetric about the middle.
    auto spline = splineOf({0, 1, 0});
    EXPECT_NEAR(spline->getValue(0.5), 0.6875, 1e-12);
    EXPECT_NEAR(spline->getValue(1.5), 0.6875, 1e-12);
    EXPECT_NEAR(secondFromLeft(*spline, 1), -3, 0.01);
}

TEST(PESplineCalculator, ValuesOnALineGiveThatLineEverywhere) {
    struct Case {
        std::vector<double> values;
        double slope, intercept;
    } const cases[] = {
        {{0, 0.25, 0.5, 0.75, 1}, 0.25, 0},
        {{2, 5}, 3, 2}, // two values: a straight segment
        {{4, 3, 2, 1, 0, -1}, -1, 4},
    };
    for (const auto& c : cases) {
        auto spline = splineOf(c.values);
        const double n = double(c.values.size());
        for (double t : {-0.5, 0.3, 1.7, n - 1.5, n - 1, n - 0.5}) {
            EXPECT_NEAR(spline->getValue(t), c.intercept + c.slope * t, 1e-12) << "at " << t;
        }
    }
}

TEST(PESplineCalculator, OutsideItsKnotsTheEndPiecesCarryOn) {
    for (const auto& values : kValueSets) {
        SCOPED_TRACE(testing::Message() << values.size() << " values starting " << values[0]);
        auto spline = splineOf(values);
        const double last = double(values.size() - 1);
        EXPECT_NEAR(spline->getValue(-0.5), pieceAt(*spline, 0, -0.5), 1e-9);
        EXPECT_NEAR(spline->getValue(last + 0.5), pieceAt(*spline, last - 1, last + 0.5), 1e-9);
        EXPECT_NEAR(spline->getValue(last + 3), pieceAt(*spline, last - 1, last + 3), 1e-9);
    }
}

TEST(PESplineCalculator, DegenerateInputNeverFails) {
    EXPECT_FALSE(PESplineCalculator::initWithDataDataNum(nullptr, 3));
    const double one = 7;
    EXPECT_FALSE(PESplineCalculator::initWithDataDataNum(&one, 0));
    EXPECT_FALSE(PESplineCalculator::initWithDataDataNum(&one, -2));

    auto single = PESplineCalculator::initWithDataDataNum(&one, 1);
    ASSERT_TRUE(single);
    for (double t : {-3.0, 0.0, 0.5, 100.0}) {
        EXPECT_EQ(single->getValue(t), 7);
    }
    auto spline = splineOf({0, 1, 0, 1});
    EXPECT_TRUE(std::isnan(spline->getValue(NAN)));
    // Far outside the knots the end piece is still what is evaluated.
    EXPECT_FALSE(std::isnan(spline->getValue(1e300)));
    EXPECT_FALSE(std::isnan(spline->getValue(-1e300)));
}

std::vector<CIVectorPtr> pointsOf(const std::vector<std::pair<double, double>>& xy) {
    std::vector<CIVectorPtr> points;
    for (const auto& [x, y] : xy) {
        points.push_back(CIVector::vectorWithXY(x, y));
    }
    return points;
}

TEST(PESplineInterpolator, ReachesPointIAtIOverCountMinusOne) {
    const std::vector<std::pair<double, double>> xy = {
        {0, 0}, {0.25, 0.1}, {0.5, 0.6}, {0.75, 0.8}, {1, 1}};
    auto curve = PESplineInterpolator::initWithPoints(pointsOf(xy));
    for (size_t i = 0; i < xy.size(); ++i) {
        auto p = curve->interpolatedPoint(double(i) / 4);
        EXPECT_NEAR(p->X(), xy[i].first, 1e-12) << "point " << i;
        EXPECT_NEAR(p->Y(), xy[i].second, 1e-12) << "point " << i;
    }
    // The parameter is clamped to [0, 1].
    EXPECT_TRUE(curve->interpolatedPoint(-1)->isEqual(*curve->interpolatedPoint(0)));
    EXPECT_TRUE(curve->interpolatedPoint(2)->isEqual(*curve->interpolatedPoint(1)));
}

TEST(PESplineInterpolator, EvenPointsOnALineGiveThatLine) {
    auto curve = PESplineInterpolator::initWithPoints(
        pointsOf({{0, 0}, {0.25, 0.25}, {0.5, 0.5}, {0.75, 0.75}, {1, 1}}));
    auto middle = curve->interpolatedPoint(0.5);
    EXPECT_EQ(middle->X(), 0.5);
    EXPECT_EQ(middle->Y(), 0.5);
    for (double t : {0.1, 0.33, 0.9}) {
        auto p = curve->interpolatedPoint(t);
        EXPECT_NEAR(p->X(), t, 1e-12);
        EXPECT_NEAR(p->Y(), t, 1e-12);
    }
}

TEST(PESplineInterpolator, TurnsBackWhereThePointsDo) {
    // The second point lies right of the third: x runs back between them.
    auto curve =
        PESplineInterpolator::initWithPoints(pointsOf({{0, 0}, {0.7, 0.3}, {0.3, 0.7}, {1, 1}}));
    double previous = curve->interpolatedPoint(1.0 / 3)->X();
    bool ranBack = false;
    for (int step = 1; step <= 10; ++step) {
        const double x = curve->interpolatedPoint(1.0 / 3 + step / 30.0)->X();
        ranBack = ranBack || x < previous;
        previous = x;
    }
    EXPECT_TRUE(ranBack);
    EXPECT_NEAR(curve->interpolatedPoint(2.0 / 3)->X(), 0.3, 1e-12);
}

TEST(PESplineInterpolator, FewOrMissingPointsGiveDefinedPoints) {
    auto none = PESplineInterpolator::initWithPoints({});
    for (double t : {0.0, 0.5, 1.0}) {
        auto p = none->interpolatedPoint(t);
        EXPECT_EQ(p->X(), 0);
        EXPECT_EQ(p->Y(), 0);
    }
    auto single = PESplineInterpolator::initWithPoints(pointsOf({{0.3, 0.4}}));
    EXPECT_EQ(single->interpolatedPoint(0.7)->X(), 0.3);
    EXPECT_EQ(single->interpolatedPoint(0.7)->Y(), 0.4);

    CapturedLog log;
    auto holed = PESplineInterpolator::initWithPoints(
        {CIVector::vectorWithXY(0, 0), nullptr, CIVector::vectorWithXY(1, 1)});
    ASSERT_EQ(log.lines().size(), 1u);
    EXPECT_NE(log.lines()[0].find("point 1"), std::string::npos);
    EXPECT_EQ(holed->interpolatedPoint(0.5)->X(), 0);
}

} // namespace
