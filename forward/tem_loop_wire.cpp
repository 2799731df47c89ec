#include "forward/tem_loop_wire.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

#include "forward/gauss_legendre.h"

namespace zeva::forward {

namespace {

constexpr double kFourPi = 4.0 * std::numbers::pi;

// A panel is split until it is no longer than its distance from the
// receiver: the integrand then has no singularity near it and six points
// give it to about 1.0E-7. A receiver on the wire stops the splitting here.
constexpr int kMaxSplits = 30;

double distance(Point2 a, Point2 b) { return std::hypot(a.x - b.x, a.y - b.y); }

// Distance from r to the segment a-b.
double distanceToSegment(Point2 a, Point2 b, Point2 r) {
  const double dx = b.x - a.x, dy = b.y - a.y;
  const double length2 = dx * dx + dy * dy;
  double u = length2 > 0.0 ? ((r.x - a.x) * dx + (r.y - a.y) * dy) / length2 : 0.0;
  u = std::clamp(u, 0.0, 1.0);
  return distance({a.x + u * dx, a.y + u * dy}, r);
}

// Calls visit(point, weight) for the quadrature points of segment a-b,
// panels refined towards the receiver.
template <typename Visit>
void segmentPoints(Point2 a, Point2 b, Point2 receiver, int depth, Visit&& visit) {
  const double length = distance(a, b);
  if (depth < kMaxSplits && length > distanceToSegment(a, b, receiver)) {
    const Point2 middle{(a.x + b.x) / 2.0, (a.y + b.y) / 2.0};
    segmentPoints(a, middle, receiver, depth + 1, visit);
    segmentPoints(middle, b, receiver, depth + 1, visit);
    return;
  }
  for (std::size_t k = 0; k < kGaussNodes.size(); ++k) {
    const double u = (kGaussNodes[k] + 1.0) / 2.0;
    visit(Point2{a.x + u * (b.x - a.x), a.y + u * (b.y - a.y)}, kGaussWeights[k] * length / 2.0);
  }
}

struct Side {
  Point2 from, to, normal;
};

// The sides of the loop in the direction of the current, with their outward
// normals.
std::array<Side, 4> rectangleSides(double lx, double ly) {
  const double a = lx / 2.0, b = ly / 2.0;
  return {{{{-a, -b}, {a, -b}, {0.0, -1.0}},
           {{a, -b}, {a, b}, {1.0, 0.0}},
           {{a, b}, {-a, b}, {0.0, 1.0}},
           {{-a, b}, {-a, -b}, {-1.0, 0.0}}}};
}

// Wire points closer than this to the receiver (relative to the loop) are
// left out: the receiver sits on the wire, where the field has no value.
constexpr double kOnWire = 1.0e-9;

}  // namespace

std::vector<WirePoint> rectangleVerticalField(double lx, double ly, Point2 receiver) {
  std::vector<WirePoint> points;
  const double tiny = kOnWire * std::max(lx, ly);
  for (const Side& side : rectangleSides(lx, ly)) {
    segmentPoints(side.from, side.to, receiver, 0, [&](Point2 s, double w) {
      const double rho = distance(s, receiver);
      if (rho <= tiny) return;
      const double along = (s.x - receiver.x) * side.normal.x + (s.y - receiver.y) * side.normal.y;
      points.push_back({rho, w * along / (rho * kFourPi), 1, 1});
    });
  }
  return points;
}

std::vector<WirePoint> rectangleHorizontalField(double lx, double ly, Point2 receiver,
                                                Point2 direction) {
  std::vector<WirePoint> points;
  const double tiny = kOnWire * std::max(lx, ly);
  for (const Side& side : rectangleSides(lx, ly)) {
    const double along = side.normal.x * direction.x + side.normal.y * direction.y;
    if (along == 0.0) continue;
    segmentPoints(side.from, side.to, receiver, 0, [&](Point2 s, double w) {
      const double rho = distance(s, receiver);
      if (rho > tiny) points.push_back({rho, w * along / kFourPi, 0, 1});
    });
  }
  return points;
}

std::vector<WirePoint> circleCentreVerticalField(double a) {
  // (1/4pi) 2 pi a int r_TE lambda J1(lambda a) dlambda.
  return {{a, a / 2.0, 1, 1}};
}

std::vector<WirePoint> circleHorizontalField(double a, Point2 receiver, Point2 direction) {
  // The trapezoidal rule converges geometrically on a periodic integrand,
  // as exp(-n d / a) for a receiver at distance d from the wire.
  const double d = std::fabs(std::hypot(receiver.x, receiver.y) - a);
  const double wanted = 20.0 * a / std::max(d, 1.0e-4 * a);
  const int n = static_cast<int>(std::clamp(wanted, 64.0, 8192.0));
  const double w = 2.0 * std::numbers::pi * a / n;
  std::vector<WirePoint> points;
  for (int k = 0; k < n; ++k) {
    const double phi = 2.0 * std::numbers::pi * (k + 0.5) / n;
    const Point2 normal{std::cos(phi), std::sin(phi)};
    const double rho = distance({a * normal.x, a * normal.y}, receiver);
    if (rho <= kOnWire * a) continue;
    const double along = normal.x * direction.x + normal.y * direction.y;
    points.push_back({rho, w * along / kFourPi, 0, 1});
  }
  return points;
}

std::vector<WirePoint> squareSelfFlux(double L) {
  // The flux is the area integral of the vertical field, a line integral
  // over the four sides. For the side y = -L/2 and an area point at height d
  // above it, (s - r).n = d; with u the offset along the side, the pairs of
  // (u, d) at distance rho = sqrt(u^2 + d^2) weigh (L - |u|) each, and in
  // polar angle about the wire point the four sides together come to
  //   Phi / mu0 = (2/pi) int_0^(sqrt(2) L) W(rho) rho K(rho) drho,
  //   W = L - rho/2 (rho <= L),  rho/2 - L sqrt(1 - L^2/rho^2) (beyond),
  // K(rho) = int r_TE lambda J1(lambda rho) dlambda. Every weight is positive,
  // so the late-time response, in which all distances count alike, is no
  // difference of large parts. Within the loop's size the field of the wire
  // at distance rho falls as 1/rho over the skin depth, so the panels shrink
  // geometrically towards rho = 0; beyond L the substitution
  // rho = L + (sqrt(2) - 1) L w^2 takes up the square root of W.
  std::vector<WirePoint> points;
  const auto add = [&](double rho, double weight) {
    points.push_back({rho, 2.0 / std::numbers::pi * weight * rho, 1, 1});
  };
  double top = L;
  for (int panel = 0; panel < 6; ++panel) {
    const double bottom = panel == 5 ? 0.0 : top / 4.0;
    for (std::size_t k = 0; k < kGaussNodes.size(); ++k) {
      const double rho = bottom + (kGaussNodes[k] + 1.0) / 2.0 * (top - bottom);
      add(rho, kGaussWeights[k] * (top - bottom) / 2.0 * (L - rho / 2.0));
    }
    top = bottom;
  }
  const double reach = (std::numbers::sqrt2 - 1.0) * L;
  for (std::size_t k = 0; k < kGaussNodes.size(); ++k) {
    const double w = (kGaussNodes[k] + 1.0) / 2.0;
    const double rho = L + reach * w * w;
    const double W = rho / 2.0 - L * std::sqrt(1.0 - (L / rho) * (L / rho));
    add(rho, kGaussWeights[k] / 2.0 * 2.0 * reach * w * W);
  }
  return points;
}

}  // namespace zeva::forward
