// The formulas of one real row, shared by coef and by the iteration sweep so
// that both give the same bits.
#pragma once

#include "numerics/operation_order.h"

// The values of a call that no row changes.
struct RowConstants {
    double dx;
    double dx2;  // dx ** 2.0
    double Re;
    double beta;
};

// aw, ap and bp of a row; its ae is the constant kEastCoefficient.
struct AssembledRow {
    double aw;
    double ap;
    double bp;
};

inline constexpr double kEastCoefficient = 2.0;

// uw, uc, ue: u(i-1), u(i), u(i+1); S: the row's source term. Order is
// WrittenOrder or AnyOrder: in the written order the row starts after
// everything before it, its squares come where they are written and its
// last operation comes before anything after it.
template <typename Order>
inline AssembledRow assembled_row(double uw, double uc, double ue, double S, const RowConstants& c) {
    Order::in_order(uw, uc, ue);
    AssembledRow row;
    row.aw = ((uw + uc) * c.dx) * c.Re + 2.0;
    row.ap = ((ue + uc) * c.dx) * c.Re + 4.0;
    Order::in_order(row.aw, row.ap, uc);
    double twice_centre = Order::square(uc) * 2.0;
    Order::in_order(twice_centre, uw);
    double less_west = twice_centre - Order::square(uw);
    Order::in_order(less_west, ue);
    const double less_east = less_west - Order::square(ue);
    row.bp = (((less_east * c.dx) * c.beta) * c.Re) * 0.5 + ((c.dx2 * S) * 2.0);
    Order::in_order(row.bp);
    return row;
}
