#pragma once

// Program-wide flag: 1 while the last computation met an argument outside a
// function's domain (the failed value is then taken as 0). Numeric routines
// clear it at their start; the chart's poly-line steps lift the pen while it is set.
extern int mathDomainError;
