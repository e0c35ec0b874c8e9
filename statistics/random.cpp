#include "statistics/random.h"

#include <chrono>
#include <cmath>
#include <ctime>

RandomState randomState = kRandomStartState;
RandomParameters randomParameters = kRandomStartParameters;

namespace {

std::uint32_t RandomNext(RandomState& state, const RandomParameters& p)
{
    std::uint32_t* z = state.z;
    for (int i = 0; i < 3; ++i) {
        const std::uint32_t b = ((z[i] << p.q[i]) ^ z[i]) >> p.shift[i];
        z[i] = ((z[i] & p.mask[i]) << p.s[i]) ^ b;
    }
    return z[0] ^ z[1] ^ z[2];
}

}  // namespace

std::uint32_t RandomNext()
{
    return RandomNext(randomState, randomParameters);
}

std::uint32_t RandomNext(randomGenerator& g)
{
    return RandomNext(g.state, g.parameters);
}

namespace {

void RandomSeed(RandomState& state, RandomParameters& p, std::uint32_t s1, std::uint32_t s2, std::uint32_t s3)
{
    for (int i = 0; i < 3; ++i) {
        p.mask[i] = 0xFFFFFFFFu << (32u - p.k[i]);
        p.shift[i] = p.k[i] - p.s[i];
    }
    const std::uint32_t seeds[3] = {s1, s2, s3};
    for (int i = 0; i < 3; ++i) {
        // A seed too small would leave the component in a degenerate state.
        if (seeds[i] > (1u << p.shift[i]))
            state.z[i] = seeds[i];
    }
    RandomNext(state, p);
}

}  // namespace

void RandomSeed(std::uint32_t s1, std::uint32_t s2, std::uint32_t s3)
{
    RandomSeed(randomState, randomParameters, s1, s2, s3);
}

void RandomSeed(randomGenerator& g, std::uint32_t s1, std::uint32_t s2, std::uint32_t s3)
{
    RandomSeed(g.state, g.parameters, s1, s2, s3);
}

RandomClockReading RandomLocalClock()
{
    const auto now = std::chrono::system_clock::now();
    const std::time_t t = std::chrono::system_clock::to_time_t(now);
    std::tm local{};
    localtime_r(&t, &local);
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                        now.time_since_epoch()).count() % 1000;
    return {local.tm_min, local.tm_sec, static_cast<int>(ms)};
}

RandomClockFunction randomClock = &RandomLocalClock;

namespace {

void RandomSeedFromClock(RandomState& state, RandomParameters& p, int minute, int second, int millisecond)
{
    RandomSeed(state, p, 337643u, 62047u, 2751976u);
    const long long t = (static_cast<long long>(minute) * 60 + second) * 60000LL + millisecond;
    long long steps = t % 5493;
    if (steps < 0)
        steps += 5493;
    for (long long i = 0; i < steps; ++i)
        RandomNext(state, p);
}

}  // namespace

void RandomSeedFromClock(randomGenerator& g, int minute, int second, int millisecond)
{
    RandomSeedFromClock(g.state, g.parameters, minute, second, millisecond);
}

void RandomSeedFromClock(randomGenerator& g, RandomClockFunction clock)
{
    const RandomClockReading c = clock ? clock() : RandomLocalClock();
    RandomSeedFromClock(g, c.minute, c.second, c.millisecond);
}

void RandomSeedFromClock(int minute, int second, int millisecond)
{
    RandomSeedFromClock(randomState, randomParameters, minute, second, millisecond);
}

void RandomSeedFromClock()
{
    const RandomClockReading c = randomClock ? randomClock() : RandomLocalClock();
    RandomSeedFromClock(c.minute, c.second, c.millisecond);
}

namespace {

double RandomUnit(RandomState& state, const RandomParameters& p)
{
    return static_cast<double>(RandomNext(state, p)) / 4294967295.0;
}

double RandomSigned(RandomState& state, const RandomParameters& p)
{
    return 2.0 * RandomUnit(state, p) - 1.0;
}

double RandomHalfNormal(RandomState& state, const RandomParameters& p, double sigma)
{
    if (!(sigma > 0.0))
        return 0.0;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const double u1 = RandomUnit(state, p);
        const double u2 = RandomUnit(state, p);
        const double s = u1 * u1 + u2 * u2;
        if (s > 0.0 && s <= 1.0)
            return sigma * u1 * std::sqrt(-2.0 * std::log(s) / s);
    }
    return 0.0;
}

double RandomNormal(RandomState& state, const RandomParameters& p, double mean, double sigma)
{
    const double h = RandomHalfNormal(state, p, sigma);
    const double r = RandomSigned(state, p);
    return r > 0.0 ? mean + h : mean - h;
}

}  // namespace

double RandomUnit()
{
    return RandomUnit(randomState, randomParameters);
}

double RandomUnit(randomGenerator& g)
{
    return RandomUnit(g.state, g.parameters);
}

double RandomSigned(randomGenerator& g)
{
    return RandomSigned(g.state, g.parameters);
}

double RandomSigned()
{
    return RandomSigned(randomState, randomParameters);
}

std::int32_t RandomInt(std::int32_t a, std::int32_t b)
{
    const double u = RandomUnit();
    // Wide arithmetic: b - a + 1 may not fit in 32 bits.
    const double span = static_cast<double>(b) - static_cast<double>(a) + 1.0;
    const double r = static_cast<double>(a) + std::trunc(u * span);
    if (r < a)
        return a;
    if (r >= b)
        return b;
    return static_cast<std::int32_t>(r);
}

double RandomHalfNormal(randomGenerator& g, double sigma)
{
    return RandomHalfNormal(g.state, g.parameters, sigma);
}

double RandomHalfNormal(double sigma)
{
    return RandomHalfNormal(randomState, randomParameters, sigma);
}

double RandomNormal(randomGenerator& g, double mean, double sigma)
{
    return RandomNormal(g.state, g.parameters, mean, sigma);
}

double RandomNormal(double mean, double sigma)
{
    return RandomNormal(randomState, randomParameters, mean, sigma);
}

void PerturbParameterVector(int keep, int n, const double* value, const double* step,
                            const double* lower, const double* upper, double* out)
{
    for (int i = 0; i < n; ++i) {
        double v = value[i];
        if (!keep)
            v += RandomSigned() * std::fabs(step[i]);
        if (v > upper[i])
            v = upper[i];
        if (v < lower[i])
            v = lower[i];
        out[i] = v;
    }
}

namespace {

constexpr double kTwoPi = 6.283185307179586;

double ReduceByTurns(double x)
{
    const double turns = std::trunc(x / kTwoPi);
    // Whole turns are counted in 32 bits; beyond that (or for NaN) the
    // conversion would be undefined, so the turn count stays a double.
    if (turns >= -2147483648.0 && turns <= 2147483647.0)
        return x - kTwoPi * static_cast<double>(static_cast<std::int32_t>(turns));
    if (std::isnan(turns))
        return x;
    return x - kTwoPi * turns;
}

}  // namespace

double SineReduced(double x)
{
    return std::sin(ReduceByTurns(x));
}

double CosineReduced(double x)
{
    return std::cos(ReduceByTurns(x));
}

void SineCosineReduced(double x, double& sine, double& cosine)
{
    const double r = ReduceByTurns(x);
    sine = std::sin(r);
    cosine = std::cos(r);
}

void SortUIntArray(std::uint32_t* a, int n)
{
    for (int i = 0; i < n - 1; ++i) {
        int best = i;
        for (int j = i + 1; j < n; ++j) {
            if (static_cast<std::int32_t>(a[j]) < static_cast<std::int32_t>(a[best]))
                best = j;
        }
        if (best != i) {
            const std::uint32_t t = a[i];
            a[i] = a[best];
            a[best] = t;
        }
    }
}

void SortUIntArray(std::vector<std::uint32_t>& a)
{
    SortUIntArray(a.data(), static_cast<int>(a.size()));
}
