#pragma once

namespace editing::transitions {

// Gauge functions of shapes centred on the origin: the scale factor at which the shape's
// outline passes through the point (x, y), with y pointing down the screen. A point is inside
// the shape scaled by s exactly when its gauge is at most s, so a wipe whose level is the
// gauge grows the shape from the centre. Units are those of the arguments.

// A plus sign whose arms are one third as thick as they are long (arm tips at distance 1).
double plusGauge(double x, double y);

// A regular hexagon with points left and right and flat top and bottom: vertices (+-1, 0) and
// (+-1/2, +-sqrt(3)/2).
double hexagonGauge(double x, double y);

// A regular star with `points` tips at radius 1, one tip pointing up, valleys at
// `innerRadius`.
double starGauge(double x, double y, int points, double innerRadius);

// The inner radius of the regular five-point star (the pentagram's).
double pentagramInnerRadius();

// A rectangle twice as wide as tall (half-extents 1 and 1/2) with corners rounded by a radius
// of 1/4.
double roundedRectangleGauge(double x, double y);

// A heart, point down, about 2 wide and 2 tall around the origin.
double heartGauge(double x, double y);

}  // namespace editing::transitions
