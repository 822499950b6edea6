#pragma once
// The rounding of the original runtime: Round takes halves to the even neighbour; Trunc and integer
// division go toward zero.
#include <cmath>

inline int Round(double v)
{
    return int(std::nearbyint(v));
}
inline int Trunc(double v)
{
    return int(v);
}
