// Character classes: 256 entries of 32 class bits, chosen by the database kind.
// The table is made here, at compile time, so that the reader reads text with
// the engine's classes without linking anything of the engine's own.
#pragma once

#include <array>
#include <initializer_list>
#include <utility>

#include "re_types.h"

enum : u32 {
  ReClassH = 1u << 31,
  ReClassUpper = 1u << 30,
  ReClassLower = 1u << 29,
  ReClassVowel = 1u << 28,
  ReClassDigit = 1u << 27,
  ReClassAcute = 1u << 26,
  ReClassSpace = 1u << 25,
  ReClassPunct = 1u << 24,
  ReClassPunct23 = 1u << 23,
  ReClassPunct22 = 1u << 22,
  ReClassPunct21 = 1u << 21,
  ReClassControl = 1u << 20,
  ReClassPlainVowel = 1u << 19,
  ReClassDiaeresis = 1u << 18,
  ReClassGrave = 1u << 17,
  ReClassCircumflex = 1u << 14,
  ReClassPunct13 = 1u << 13,
  ReClassLetterI = 1u << 12,
  ReClassLetterEI = 1u << 11,
  ReClassSeparator = 1u << 10,
  ReClassSymbol = 1u << 9,
  ReClassCurrency = 1u << 8,
  ReClassRoman = 1u << 7,
  ReClassOrdinal = 1u << 6,
  ReClassPunct5 = 1u << 5,
  ReClassPunct4 = 1u << 4,
};

namespace re_charclass {

using Table = std::array<u32, 256>;
using Range = std::pair<int, int>;

constexpr void Mark(Table& table, u32 bit, std::initializer_list<Range> ranges) {
  for (const Range& range : ranges)
    for (int value = range.first; value <= range.second; ++value) table[value] |= bit;
}

constexpr Range One(int value) { return {value, value}; }

constexpr Table BuildTable() {
  Table t{};
  Mark(t, ReClassH, {One(72), One(104)});
  Mark(t, ReClassUpper, {{65, 90}, One(159), {192, 222}});
  Mark(t, ReClassLower, {{97, 122}, {224, 255}});
  Mark(t, ReClassVowel,
       {One(65),
        One(69),
        One(73),
        One(79),
        One(85),
        One(97),
        One(101),
        One(105),
        One(111),
        One(117),
        {192, 198},
        {200, 207},
        {210, 221},
        {224, 230},
        {232, 239},
        {242, 253}});
  Mark(t, ReClassDigit, {{48, 57}, One(185), {188, 190}});
  Mark(t, ReClassAcute,
       {One(159), One(180), One(193), One(201), One(205), One(211), One(218), One(225), One(233), One(237), One(243),
        One(250), One(255)});
  Mark(t, ReClassSpace, {{9, 13}, One(32)});
  Mark(t, ReClassPunct,
       {{33, 34}, {39, 41},   {44, 47}, {58, 60},   {62, 63},   One(91),  One(93),  One(96),  One(123), One(125),
        One(130), {132, 133}, One(139), {143, 148}, {150, 151}, One(155), One(161), One(171), One(187), One(191)});
  Mark(t, ReClassPunct23, {One(33), One(46), One(58), One(63), One(151)});
  Mark(t, ReClassPunct22,
       {One(34),
        {39, 40},
        One(42),
        One(45),
        One(60),
        One(91),
        One(96),
        One(123),
        One(132),
        One(145),
        One(147),
        {150, 151},
        One(161),
        One(171),
        One(187),
        One(191)});
  Mark(t, ReClassPunct21,
       {One(34),
        One(39),
        {41, 42},
        {44, 46},
        One(59),
        One(62),
        One(93),
        One(125),
        One(146),
        One(148),
        {150, 151},
        One(171),
        One(187)});
  Mark(t, ReClassControl,
       {{0, 31}, {127, 129}, One(131), {134, 138}, {141, 142}, One(149), One(152), One(154), {157, 158}});
  Mark(t, ReClassPlainVowel,
       {One(65), One(69), One(73), One(79), One(85), One(97), One(101), One(105), One(111), One(117)});
  Mark(t, ReClassDiaeresis,
       {One(164), One(196), One(203), One(207), One(214), One(220), One(228), One(235), One(239), One(246), One(252)});
  Mark(t, ReClassGrave,
       {One(192), One(200), One(204), One(210), One(217), One(224), One(232), One(236), One(242), One(249)});
  Mark(t, ReClassCircumflex,
       {One(194), One(202), One(206), One(212), One(219), One(226), One(234), One(238), One(244), One(251)});
  Mark(t, ReClassPunct13,
       {One(34),
        {39, 41},
        One(60),
        One(62),
        One(91),
        One(93),
        One(96),
        One(123),
        One(125),
        One(132),
        {145, 148},
        One(161),
        One(171),
        One(187),
        One(191)});
  Mark(t, ReClassLetterI, {One(73), One(105)});
  Mark(t, ReClassLetterEI, {One(69), One(73), One(101), One(105), One(200), One(232)});
  Mark(t, ReClassSeparator,
       {One(0),
        {9, 13},
        {32, 34},
        {39, 41},
        {44, 47},
        {58, 60},
        {62, 63},
        One(91),
        One(93),
        One(96),
        One(123),
        One(125),
        One(133),
        {145, 148},
        {150, 151},
        One(161),
        One(171),
        One(187),
        One(191)});
  Mark(t, ReClassSymbol,
       {{33, 47},
        {58, 64},
        {91, 96},
        {123, 126},
        One(133),
        One(140),
        {145, 148},
        {150, 151},
        {161, 164},
        {166, 169},
        {171, 180},
        {183, 184},
        One(187),
        One(191)});
  Mark(t, ReClassCurrency, {One(36), {162, 163}, One(168)});
  Mark(t, ReClassRoman, {{67, 68}, One(73), {76, 77}, {86, 87}, {99, 100}, One(105), {108, 109}, {118, 119}});
  Mark(t, ReClassOrdinal, {One(170), One(186), One(223)});
  Mark(t, ReClassPunct5,
       {One(34),
        {39, 40},
        One(60),
        One(62),
        One(91),
        One(96),
        One(123),
        One(130),
        {132, 133},
        One(139),
        {143, 145},
        {147, 148},
        One(151),
        One(155),
        One(161),
        One(171),
        One(187),
        One(191)});
  Mark(t, ReClassPunct4,
       {{33, 34},
        One(39),
        One(41),
        One(44),
        One(46),
        {58, 60},
        {62, 63},
        One(93),
        One(125),
        One(133),
        One(139),
        {145, 148},
        One(151),
        One(155),
        One(171),
        One(187)});
  return t;
}

inline constexpr Table kTable = BuildTable();

}  // namespace re_charclass

// The table for a database kind, or null (kinds 0, 2, 4, 15, 18 and above 18).
inline const u32* ReCharClassTable(u8 kind) {
  switch (kind) {
    case 1:
    case 3:
    case 5:
    case 6:
    case 7:
    case 8:
    case 9:
    case 10:
    case 11:
    case 12:
    case 13:
    case 14:
    case 16:
    case 17: return re_charclass::kTable.data();
    default: return nullptr;
  }
}

// The table a database's words are read with: its kind's (the low byte of
// the header word), or kind 1's for a kind without one.
inline const u32* ReWordClassTable(u16 kind) {
  const u32* classes = ReCharClassTable(static_cast<u8>(kind));
  return classes ? classes : ReCharClassTable(1);
}
