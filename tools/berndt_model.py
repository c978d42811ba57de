#!/usr/bin/env python3
"""A separate 40-digit model of Berndt's iteration (EA-10/10) and of the
correction loop for an entered pitch diameter, written from the published
steps and not from the program's code. Tests take expected values from it
where no published value exists.

    tools/berndt_model.py SIDE P n dD BETA GAMMA D2    (SIDE: ext or int,
                                                       angles in degrees)

prints the number of corrections the loop needs to meet the entered pitch
diameter within 1e-4 mm, the last two residuals, and m and M (F = 0).
Needs python3-mpmath.
"""
import sys

from mpmath import asin, cos, fabs, mp, mpf, pi, sin, sqrt

mp.dps = 40
TOLERANCE = mpf("1e-9")


def evaluate(s, P, n, dD, beta, gamma, m, first):
    C, S, D = cos((beta + gamma) / 2), sin((beta + gamma) / 2), cos((beta - gamma) / 2)
    cb, cg = cos(beta), cos(gamma)
    u = n * dD * P / (pi * m * m)
    g = cb * cg * D
    h = C * (1 - s * S * D * dD / m)
    eps, k = u * g / h, g / C
    q = 1 - (m * sin(eps)) ** 2 / (dD * D) ** 2
    if not first and q <= 0:
        return None
    N = asin(u * k * sqrt(q) / (cos(eps) - s * S * D * dD * sqrt(q) / m))
    while fabs(eps - N) > TOLERANCE:
        eps = N
        q = 1 - (m * sin(eps)) ** 2 / (dD * D) ** 2
        if q <= 0:
            N = u * g / h
            break
        N = asin(u * k * sqrt(q) / (cos(eps) - s * S * D * dD * sqrt(q) / m))
    T1 = m * cos(N)
    T2 = (D * dD / S) * sqrt(1 - (m * sin(N)) ** 2 / (D * dD) ** 2)
    T3 = (P - 2 * n * P * N / pi) * cb * cg / sin(beta + gamma)
    return T1 - s * T2 + s * T3


def corrections(s, P, n, dD, beta_deg, gamma_deg, X, limit=1000):
    beta, gamma = mpf(beta_deg) * pi / 180, mpf(gamma_deg) * pi / 180
    half = (beta + gamma) / 2
    m = X + s * (dD / sin(half) - P / 2 * cos(half) / sin(half))
    residuals = [evaluate(s, P, n, dD, beta, gamma, m, True) - X]
    while fabs(residuals[-1]) >= mpf("1e-4"):
        if len(residuals) > limit:
            return None, residuals, m
        m -= residuals[-1]
        d2 = evaluate(s, P, n, dD, beta, gamma, m, False)
        if d2 is None:
            return None, residuals, m
        residuals.append(d2 - X)
    return len(residuals) - 1, residuals, m - residuals[-1]


def main():
    side, *numbers = sys.argv[1:]
    s = 1 if side == "ext" else -1
    P, n, dD, beta, gamma, X = (mpf(v) for v in numbers)
    count, residuals, m = corrections(s, P, n, dD, beta, gamma, X)
    print("corrections:", count)
    print("last residuals:", *(mp.nstr(r, 6) for r in residuals[-2:]))
    print("m:", mp.nstr(m, 12), " M:", mp.nstr(m + s * dD, 12))


if __name__ == "__main__":
    main()
