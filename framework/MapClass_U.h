// Map classes: plain structs whose members are named after dataset columns or record
// fields. ULMO_MAP_CLASS(TMapX, TField, A, B) declares
//   struct TMapX { TField* A = nullptr; TField* B = nullptr; static Members(); };
// and the mappers bind each member to the column or field of the same name, ignoring case;
// a member without a column of its name stays nullptr.
#pragma once
#include <array>
#include <string_view>
#include <utility>

#define ULMO_MAP_EXPAND(x) x
#define ULMO_MAP_CAT_(a, b) a##b
#define ULMO_MAP_CAT(a, b) ULMO_MAP_CAT_(a, b)
#define ULMO_MAP_NARGS(...) ULMO_MAP_EXPAND(ULMO_MAP_NARGS_(__VA_ARGS__, 40, 39, 38, 37, 36, 35, 34, 33, 32, 31, 30, 29, 28, 27, 26, 25, 24, 23, 22, 21, 20, 19, 18, 17, 16, 15, 14, 13, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1))
#define ULMO_MAP_NARGS_(_1, _2, _3, _4, _5, _6, _7, _8, _9, _10, _11, _12, _13, _14, _15, _16, _17, _18, _19, _20, _21, _22, _23, _24, _25, _26, _27, _28, _29, _30, _31, _32, _33, _34, _35, _36, _37, _38, _39, _40, N, ...) N

#define ULMO_MAP_M1(F, T, x) F(T, x)
#define ULMO_MAP_M2(F, T, x, ...) F(T, x) ULMO_MAP_EXPAND(ULMO_MAP_M1(F, T, __VA_ARGS__))
#define ULMO_MAP_M3(F, T, x, ...) F(T, x) ULMO_MAP_EXPAND(ULMO_MAP_M2(F, T, __VA_ARGS__))
#define ULMO_MAP_M4(F, T, x, ...) F(T, x) ULMO_MAP_EXPAND(ULMO_MAP_M3(F, T, __VA_ARGS__))
#define ULMO_MAP_M5(F, T, x, ...) F(T, x) ULMO_MAP_EXPAND(ULMO_MAP_M4(F, T, __VA_ARGS__))
#define ULMO_MAP_M6(F, T, x, ...) F(T, x) ULMO_MAP_EXPAND(ULMO_MAP_M5(F, T, __VA_ARGS__))
#define ULMO_MAP_M7(F, T, x, ...) F(T, x) ULMO_MAP_EXPAND(ULMO_MAP_M6(F, T, __VA_ARGS__))
#define ULMO_MAP_M8(F, T, x, ...) F(T, x) ULMO_MAP_EXPAND(ULMO_MAP_M7(F, T, __VA_ARGS__))
#define ULMO_MAP_M9(F, T, x, ...) F(T, x) ULMO_MAP_EXPAND(ULMO_MAP_M8(F, T, __VA_ARGS__))
#define ULMO_MAP_M10(F, T, x, ...) F(T, x) ULMO_MAP_EXPAND(ULMO_MAP_M9(F, T, __VA_ARGS__))
#define ULMO_MAP_M11(F, T, x, ...) F(T, x) ULMO_MAP_EXPAND(ULMO_MAP_M10(F, T, __VA_ARGS__))
#define ULMO_MAP_M12(F, T, x, ...) F(T, x) ULMO_MAP_EXPAND(ULMO_MAP_M11(F, T, __VA_ARGS__))
#define ULMO_MAP_M13(F, T, x, ...) F(T, x) ULMO_MAP_EXPAND(ULMO_MAP_M12(F, T, __VA_ARGS__))
#define ULMO_MAP_M14(F, T, x, ...) F(T, x) ULMO_MAP_EXPAND(ULMO_MAP_M13(F, T, __VA_ARGS__))
#define ULMO_MAP_M15(F, T, x, ...) F(T, x) ULMO_MAP_EXPAND(ULMO_MAP_M14(F, T, __VA_ARGS__))
#define ULMO_MAP_M16(F, T, x, ...) F(T, x) ULMO_MAP_EXPAND(ULMO_MAP_M15(F, T, __VA_ARGS__))
#define ULMO_MAP_M17(F, T, x, ...) F(T, x) ULMO_MAP_EXPAND(ULMO_MAP_M16(F, T, __VA_ARGS__))
#define ULMO_MAP_M18(F, T, x, ...) F(T, x) ULMO_MAP_EXPAND(ULMO_MAP_M17(F, T, __VA_ARGS__))
#define ULMO_MAP_M19(F, T, x, ...) F(T, x) ULMO_MAP_EXPAND(ULMO_MAP_M18(F, T, __VA_ARGS__))
#define ULMO_MAP_M20(F, T, x, ...) F(T, x) ULMO_MAP_EXPAND(ULMO_MAP_M19(F, T, __VA_ARGS__))
#define ULMO_MAP_M21(F, T, x, ...) F(T, x) ULMO_MAP_EXPAND(ULMO_MAP_M20(F, T, __VA_ARGS__))
#define ULMO_MAP_M22(F, T, x, ...) F(T, x) ULMO_MAP_EXPAND(ULMO_MAP_M21(F, T, __VA_ARGS__))
#define ULMO_MAP_M23(F, T, x, ...) F(T, x) ULMO_MAP_EXPAND(ULMO_MAP_M22(F, T, __VA_ARGS__))
#define ULMO_MAP_M24(F, T, x, ...) F(T, x) ULMO_MAP_EXPAND(ULMO_MAP_M23(F, T, __VA_ARGS__))
#define ULMO_MAP_M25(F, T, x, ...) F(T, x) ULMO_MAP_EXPAND(ULMO_MAP_M24(F, T, __VA_ARGS__))
#define ULMO_MAP_M26(F, T, x, ...) F(T, x) ULMO_MAP_EXPAND(ULMO_MAP_M25(F, T, __VA_ARGS__))
#define ULMO_MAP_M27(F, T, x, ...) F(T, x) ULMO_MAP_EXPAND(ULMO_MAP_M26(F, T, __VA_ARGS__))
#define ULMO_MAP_M28(F, T, x, ...) F(T, x) ULMO_MAP_EXPAND(ULMO_MAP_M27(F, T, __VA_ARGS__))
#define ULMO_MAP_M29(F, T, x, ...) F(T, x) ULMO_MAP_EXPAND(ULMO_MAP_M28(F, T, __VA_ARGS__))
#define ULMO_MAP_M30(F, T, x, ...) F(T, x) ULMO_MAP_EXPAND(ULMO_MAP_M29(F, T, __VA_ARGS__))
#define ULMO_MAP_M31(F, T, x, ...) F(T, x) ULMO_MAP_EXPAND(ULMO_MAP_M30(F, T, __VA_ARGS__))
#define ULMO_MAP_M32(F, T, x, ...) F(T, x) ULMO_MAP_EXPAND(ULMO_MAP_M31(F, T, __VA_ARGS__))
#define ULMO_MAP_M33(F, T, x, ...) F(T, x) ULMO_MAP_EXPAND(ULMO_MAP_M32(F, T, __VA_ARGS__))
#define ULMO_MAP_M34(F, T, x, ...) F(T, x) ULMO_MAP_EXPAND(ULMO_MAP_M33(F, T, __VA_ARGS__))
#define ULMO_MAP_M35(F, T, x, ...) F(T, x) ULMO_MAP_EXPAND(ULMO_MAP_M34(F, T, __VA_ARGS__))
#define ULMO_MAP_M36(F, T, x, ...) F(T, x) ULMO_MAP_EXPAND(ULMO_MAP_M35(F, T, __VA_ARGS__))
#define ULMO_MAP_M37(F, T, x, ...) F(T, x) ULMO_MAP_EXPAND(ULMO_MAP_M36(F, T, __VA_ARGS__))
#define ULMO_MAP_M38(F, T, x, ...) F(T, x) ULMO_MAP_EXPAND(ULMO_MAP_M37(F, T, __VA_ARGS__))
#define ULMO_MAP_M39(F, T, x, ...) F(T, x) ULMO_MAP_EXPAND(ULMO_MAP_M38(F, T, __VA_ARGS__))
#define ULMO_MAP_M40(F, T, x, ...) F(T, x) ULMO_MAP_EXPAND(ULMO_MAP_M39(F, T, __VA_ARGS__))
#define ULMO_MAP_FOR_EACH(F, T, ...) \
  ULMO_MAP_EXPAND(ULMO_MAP_CAT(ULMO_MAP_M, ULMO_MAP_NARGS(__VA_ARGS__))(F, T, __VA_ARGS__))

#define ULMO_MAP_DECL_MEMBER(T, x) T* x = nullptr;
#define ULMO_MAP_DECL_ENTRY(Self, x) std::pair<std::string_view, decltype(&Self::x)>{#x, &Self::x},

// Declares a map class with one Target* member per name, in declaration order.
#define ULMO_MAP_CLASS(Name, Target, ...)                                              \
  struct Name {                                                                        \
    using TTarget = Target;                                                            \
    ULMO_MAP_FOR_EACH(ULMO_MAP_DECL_MEMBER, Target, __VA_ARGS__)                       \
    static const auto& Members() {                                                     \
      static const auto members = std::to_array({ULMO_MAP_FOR_EACH(ULMO_MAP_DECL_ENTRY, Name, __VA_ARGS__)}); \
      return members;                                                                  \
    }                                                                                  \
  }
