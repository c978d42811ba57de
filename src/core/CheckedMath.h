#pragma once

#include <cmath>
#include <exception>

// Arithmetic that refuses to produce a number it cannot stand behind. Each
// operation that has no finite real result for its arguments (square root of
// a negative number, arcsine beyond +-1, division by zero, 0 to a negative
// power, a negative base to a non-integral power, logarithm of zero or of a
// negative number, any overflow to infinity) throws ArithmeticFailure. The
// calculation catches it at its public boundary and reports the failed
// outcome, so no NaN or infinity ever leaves the core as a result.

namespace zevko::checked {

class ArithmeticFailure : public std::exception {
public:
    const char* what() const noexcept override;
};

[[noreturn]] void Fail();

// The value itself when finite; a failure for an infinity or a NaN.
inline long double Finite(long double x)
{
    if (!std::isfinite(x)) {
        Fail();
    }
    return x;
}

inline long double Div(long double numerator, long double denominator)
{
    if (denominator == 0.0L || std::isnan(denominator)) {
        Fail();
    }
    return Finite(numerator / denominator);
}

inline long double Sqrt(long double x)
{
    if (!(x >= 0.0L)) { // also refuses NaN
        Fail();
    }
    return Finite(std::sqrt(x));
}

inline long double Asin(long double x)
{
    if (!(x >= -1.0L && x <= 1.0L)) {
        Fail();
    }
    return std::asin(x);
}

inline long double Log(long double x)
{
    if (!(x > 0.0L)) {
        Fail();
    }
    return Finite(std::log(x));
}

inline long double Exp(long double x)
{
    return Finite(std::exp(Finite(x)));
}

// base^exponent. An integral exponent is repeated multiplication (any base);
// any other exponent needs a positive base and is exp(exponent * ln base),
// with 0 to a positive power being 0.
long double Pow(long double base, long double exponent);

} // namespace zevko::checked
