#pragma once

// The texts the formula evaluator reports, exactly as the user sees them.
namespace formulaMessages {

inline constexpr const char* tooLarge = "Too large number";
inline constexpr const char* powOfNegative = "Pow of negative double";
inline constexpr const char* integerZero = "Attempt to devide by integer zero.";
inline constexpr const char* technicalZero = "Attempt to devide by technical zerro.";
inline constexpr const char* tooBig = "Too big or tricky expression to handle.";
inline constexpr const char* noOpenBracket = "There is no ( bracket corresponding to close.";
inline constexpr const char* noCloseBracket = "There is no ) bracket corresponding to open.";
inline constexpr const char* unknownFunction = "The function name %s is not supported";

inline constexpr const char* factorialNegative = "Attempt to take factorial of negative number.";
inline constexpr const char* factorialTooLarge = "Attempt to take factorial of too large number.";
inline constexpr const char* logArgument = "Attempt to take logariphm of wrong argument.";
inline constexpr const char* logBase = "Attempt to take logariphm of wrong base.";
inline constexpr const char* expTooBig = "Too big argument for exp().";
inline constexpr const char* floatPowerNegative = "Attempt to take float power of negative number.";
inline constexpr const char* asinRange = "Argument of asin is out of -1 - 1 range.";
inline constexpr const char* acosRange = "Argument of acos is out of -1 - 1 range.";
inline constexpr const char* sqrtNegative = "Attempt to take sqrt from negative number.";
inline constexpr const char* pow10TooLarge = "Attempt to take power of 10 for too large number.";
inline constexpr const char* meanNoArgument = "There must be at least one argument in mean function.";
// The list functions (sum, min, max, mean, sigma) take at most 10000 arguments, none empty.
inline constexpr const char* tooManyArguments = "There must be at most 10000 arguments in %s function.";
inline constexpr const char* emptyArgument = "There must be no empty argument in %s function.";
inline constexpr const char* sigmaNoArgument = "There must be at least 1 argyument in sigma function";
inline constexpr const char* solve1Zero = "Attempt to devide on too close to 0 at solve1 function.";
inline constexpr const char* solve2pZero = "Attempt to devide on too close to 0 at solve2p function.";
inline constexpr const char* solve2pDiscriminant = "Discriminant is less than 0 at solve2p function.";
inline constexpr const char* solve2mZero = "Attempt to devide on too close to 0 at solve2m function.";
inline constexpr const char* solve2mDiscriminant = "Discriminant is less than 0 at solve2m function.";

}  // namespace formulaMessages
