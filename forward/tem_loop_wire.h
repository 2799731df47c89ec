#pragma once
// The transmitter loop of a transient sounding as quadrature points along
// its wire. The secondary field of a loop of unit current over a layered
// earth is a sum of Hankel transforms of the reflection kernel r_TE:
//   vertical field   Hz(r) = (1/4pi) oint ((s - r).n / rho) int r_TE lambda J1(lambda rho) dlambda
//   ds horizontal field H(r)  = (1/4pi) oint n int r_TE lambda J0(lambda rho) dlambda ds
// (the area integral of vertical dipoles turned into a line integral; n the
// outward normal of the wire, rho = |s - r|), and the flux of the loop's own
// secondary field through it is the area integral of its vertical field.
// Each point carries the distance rho, the quadrature weight with its
// geometric factor, the Bessel order and the power of lambda in the kernel.

#include <vector>

namespace zeva::forward {

struct WirePoint {
  double rho = 0.0;
  double weight = 0.0;
  int order = 0;        // 0: J0, 1: J1
  int lambdaPower = 1;  // kernel r_TE lambda^lambdaPower
};

struct Point2 {
  double x = 0.0, y = 0.0;
};

// Vertical field at `receiver` of a rectangular loop of sides lx (along x)
// and ly centred on the origin, current counter-clockwise seen from above.
std::vector<WirePoint> rectangleVerticalField(double lx, double ly, Point2 receiver);

// The component along the unit vector `direction` of the horizontal field of
// that loop at `receiver`.
std::vector<WirePoint> rectangleHorizontalField(double lx, double ly, Point2 receiver,
                                                Point2 direction);

// Vertical field at the centre of a circular loop of radius a.
std::vector<WirePoint> circleCentreVerticalField(double a);

// The component along `direction` of the horizontal field of a circular loop
// of radius a centred on the origin, at `receiver`.
std::vector<WirePoint> circleHorizontalField(double a, Point2 receiver, Point2 direction);

// The flux of the secondary field of a square loop of side L through itself,
// as one integral over the distances between wire and area points.
std::vector<WirePoint> squareSelfFlux(double L);

}  // namespace zeva::forward
