#include "CheckedMath.h"

namespace zevko::checked {

const char* ArithmeticFailure::what() const noexcept
{
    return "arithmetic failure";
}

void Fail()
{
    throw ArithmeticFailure();
}

long double Pow(long double base, long double exponent)
{
    Finite(base);
    Finite(exponent);
    if (exponent == std::trunc(exponent) && std::fabs(exponent) <= 64.0L) {
        auto count = static_cast<int>(std::fabs(exponent));
        long double product = 1.0L;
        for (int i = 0; i < count; ++i) {
            product = Finite(product * base);
        }
        return exponent < 0.0L ? Div(1.0L, product) : product;
    }
    if (base == 0.0L) {
        if (exponent > 0.0L) {
            return 0.0L;
        }
        Fail();
    }
    if (base < 0.0L) {
        Fail();
    }
    return Exp(exponent * Log(base));
}

} // namespace zevko::checked
