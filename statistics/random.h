#pragma once

#include <cstdint>
#include <vector>

// The program's one random-number generator: a combined three-component
// Tausworthe generator with program-wide state. Every random draw of the
// program advances the same sequence.

struct RandomState {
    std::uint32_t z[3];
};

struct RandomParameters {
    std::uint32_t k[3];
    std::uint32_t q[3];
    std::uint32_t s[3];
    std::uint32_t mask[3];   // all-ones word shifted left by 32 - k
    std::uint32_t shift[3];  // k - s
};

// Where every generator starts before its first seeding; the derived values are filled in
// so that a draw before the first seeding still follows the recurrence.
inline constexpr RandomState kRandomStartState = {{390451501u, 613566701u, 858993401u}};
inline constexpr RandomParameters kRandomStartParameters = {
    {31u, 29u, 28u},
    {13u, 2u, 3u},
    {12u, 4u, 17u},
    {4294967294u, 4294967288u, 4294967280u},
    {19u, 25u, 11u},
};

extern RandomState randomState;            // starts at kRandomStartState
extern RandomParameters randomParameters;  // derived values recomputed by RandomSeed

// One step of the generator; the exclusive or of the three new state words.
std::uint32_t RandomNext();

// A component takes its seed only when the seed exceeds 2^shift of that
// component; then one step is made and discarded.
void RandomSeed(std::uint32_t s1, std::uint32_t s2, std::uint32_t s3);

// Seeds with 337643, 62047, 2751976, then steps
// ((minute*60 + second)*60000 + millisecond) mod 5493 times.
void RandomSeedFromClock();  // local time
void RandomSeedFromClock(int minute, int second, int millisecond);

// Clock used by the argument-less RandomSeedFromClock; tests may replace it.
struct RandomClockReading {
    int minute;
    int second;
    int millisecond;
};
using RandomClockFunction = RandomClockReading (*)();
RandomClockReading RandomLocalClock();
extern RandomClockFunction randomClock;

double RandomUnit();                   // [0, 1], both ends possible
double RandomSigned();                 // [-1, 1]
std::int32_t RandomInt(std::int32_t a, std::int32_t b);  // [a, b]
double RandomHalfNormal(double sigma); // >= 0; 0 for sigma <= 0
double RandomNormal(double mean, double sigma);

// For i < n: out[i] = value[i] (keep != 0) or value[i] + RandomSigned()*|step[i]|,
// then limited to upper[i], then raised to lower[i] (the lower limit wins when
// the limits cross). out must already hold n elements.
void PerturbParameterVector(int keep, int n, const double* value, const double* step,
                            const double* lower, const double* upper, double* out);

// A generator of one's own: the same recurrence, seeding and draws with its state and
// derived values kept apart from the program-wide ones, for a search whose sequence must
// not disturb the program's.
struct randomGenerator {
    RandomState state = kRandomStartState;
    RandomParameters parameters = kRandomStartParameters;
};
std::uint32_t RandomNext(randomGenerator& g);
void RandomSeed(randomGenerator& g, std::uint32_t s1, std::uint32_t s2, std::uint32_t s3);
void RandomSeedFromClock(randomGenerator& g, int minute, int second, int millisecond);
// Seeded by the clock's reading.
void RandomSeedFromClock(randomGenerator& g, RandomClockFunction clock);
double RandomUnit(randomGenerator& g);
double RandomSigned(randomGenerator& g);
double RandomHalfNormal(randomGenerator& g, double sigma);
double RandomNormal(randomGenerator& g, double mean, double sigma);

// Sine and cosine of x reduced by whole turns: x - 2*pi*trunc(x/(2*pi)).
double SineReduced(double x);
double CosineReduced(double x);
// Both at once, the same figures as the two calls.
void SineCosineReduced(double x, double& sine, double& cosine);

// Ascending selection sort in place, elements compared as signed 32-bit integers.
void SortUIntArray(std::vector<std::uint32_t>& a);
void SortUIntArray(std::uint32_t* a, int n);
