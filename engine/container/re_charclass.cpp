#include "re_charclass.h"

#include <array>
#include <initializer_list>
#include <utility>

namespace {

using Table = std::array<u32, 256>;
using Range = std::pair<int, int>;

void Mark(Table& table, u32 bit, std::initializer_list<Range> ranges) {
  for (const Range& range : ranges)
    for (int value = range.first; value <= range.second; ++value) table[value] |= bit;
}

Range One(int value) { return {value, value}; }

Table BuildTable() {
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

}  // namespace

const u32* ReCharClassTable(u8 kind) {
  static const Table table = BuildTable();
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
    case 17: return table.data();
    default: return nullptr;
  }
}

const u32* ReWordClassTable(u16 kind) {
  const u32* classes = ReCharClassTable(static_cast<u8>(kind));
  return classes ? classes : ReCharClassTable(1);
}
