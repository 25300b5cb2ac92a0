#pragma once

// GCC 12 at -O3 (a Release build) warns about copies inside libstdc++ that cannot go wrong: a
// string literal put before a temporary std::string, or assigned to a std::string, is reported as
// an overlapping memcpy (-Wrestrict, GCC bug 105329), and a few bytes inserted into an empty
// byte vector as a write past its end (-Wstringop-overflow, GCC bug 106199). Both are fixed in
// GCC 13. These brackets go around the few statements that meet them, so the warnings stay on
// everywhere else and with every other compiler.
#if defined(__GNUC__) && !defined(__clang__) && __GNUC__ == 12
#define QM_GCC12_FALSE_WARNINGS_BEGIN                                             \
  _Pragma("GCC diagnostic push") _Pragma("GCC diagnostic ignored \"-Wrestrict\"") \
      _Pragma("GCC diagnostic ignored \"-Wstringop-overflow\"")
#define QM_GCC12_FALSE_WARNINGS_END _Pragma("GCC diagnostic pop")
#else
#define QM_GCC12_FALSE_WARNINGS_BEGIN
#define QM_GCC12_FALSE_WARNINGS_END
#endif
