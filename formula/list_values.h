#pragma once

// The list functions sum, min, max, mean and sigma over their argument values, for the
// text evaluator and the compiled form alike.

#include <cmath>

#include "formula/formula_messages.h"

struct ListValues {
    enum Kind { sum, min, max, mean, sigma };

    int count = 0;
    double total = 0, squares = 0, low = 0, high = 0;

    static const char* Name(Kind kind)
    {
        static constexpr const char* kNames[] = {"sum", "min", "max", "mean", "sigma"};
        return kNames[kind];
    }

    void Add(double v)
    {
        if (count == 0 || v < low)
            low = v;
        if (count == 0 || v > high)
            high = v;
        total += v;
        squares += v * v;
        ++count;
    }

    // The function's value; false with the message for mean and sigma of no argument.
    bool Result(Kind kind, double& value, const char*& message) const
    {
        switch (kind) {
        case sum:
            value = total;
            return true;
        case min:
            value = low;
            return true;
        case max:
            value = high;
            return true;
        case mean:
            if (count == 0) {
                message = formulaMessages::meanNoArgument;
                return false;
            }
            value = total / count;
            return true;
        case sigma:
            break;
        }
        if (count == 0) {
            message = formulaMessages::sigmaNoArgument;
            return false;
        }
        const double average = total / count;
        double variance = squares / count - average * average;
        // Equal values can leave a rounding residue below zero.
        if (variance < 0)
            variance = 0;
        value = std::sqrt(variance);
        return true;
    }
};
