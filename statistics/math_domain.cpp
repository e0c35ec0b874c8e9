#include "statistics/math_domain.h"

int mathDomainError = 0;
