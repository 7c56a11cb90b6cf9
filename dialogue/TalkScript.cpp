#include "TalkScript.h"

#include <algorithm>
#include <array>

namespace {

using enum TalkAction;

// Sorted by step. Some lines hold full-width spaces (U+3000); the text of
// step 26 ends with an ASCII space and that of step 113 has one inside.
constexpr std::array Rows = {
    // Scene 1
    TalkRow{1, Replace, "あっちは温度がひくいよ"},
    TalkRow{2, Append, "そんな薄着じゃさ"},
    TalkRow{3, Replace, "風邪をひいてしまうからね"},
    TalkRow{4, Blank, BlankText},
    // Scene 2
    TalkRow{8, Replace, "ほら　これ"},
    TalkRow{9, Replace, "わたしのだけどきていきなよ"},
    TalkRow{10, Append, "ちょっと　大きい　けどさ"},
    TalkRow{11, Blank, BlankText},
    // Scene 3
    TalkRow{15, Replace, "きいてるの"},
    TalkRow{16, Replace, "向こうはもう雪がふってるって"},
    TalkRow{17, Replace, "夜になったらね"},
    TalkRow{18, Append, "息もこおりそうなんだって"},
    TalkRow{19, Blank, BlankText},
    // Scene 4
    TalkRow{26, Replace, "手ぶくろは　ちゃんとあるの "},
    TalkRow{27, Replace, "なかったらわたしのつかって"},
    TalkRow{28, Append, "わたしはここにいるからいらないし"},
    TalkRow{29, Blank, BlankText},
    // Scene 5
    TalkRow{31, Replace, "ねえ　ほんとにいくんだ"},
    TalkRow{32, Append, "とめたってきかないのはしってるよ"},
    TalkRow{33, Replace, "ねむくない"},
    TalkRow{34, Blank, BlankText},
    // Scene 6
    TalkRow{42, Replace, "手を　かして"},
    TalkRow{43, Replace, "ほらもうこんなにつめたいよ"},
    TalkRow{44, Replace, "まだ出かけてもいないのにさ"},
    TalkRow{45, Replace, "ばかね"},
    TalkRow{46, Append, "ずっとそうやってがまんするんだ"},
    TalkRow{47, Replace, "むかしから　そう"},
    TalkRow{48, Append, "さむいって一度も言わなかったね"},
    TalkRow{49, Replace, "わたしはすぐ言うのにね"},
    TalkRow{50, Append, "さむいとか　おなかがすいたとかさみしいとかさ"},
    TalkRow{51, Replace, "ふたりぶん言ってたのかもしれないね"},
    TalkRow{52, Replace, "でも向こうではひとりなんだよ"},
    TalkRow{53, Blank, BlankText},
    // Scene 7
    TalkRow{60, Replace, "さむくない"},
    TalkRow{61, Blank, BlankText},
    // Scene 8
    TalkRow{72, Replace, "もうすぐ電車がくるね　見おくらないよ"},
    TalkRow{73, Replace, "なくから　ここで"},
    TalkRow{74, Blank, BlankText},
    // Scene 9
    TalkRow{82, Replace, "やくそくしてくれる"},
    TalkRow{83, Replace, "あったかく　してね"},
    TalkRow{84, Replace, "ちゃんとごはんをたべてちゃんとねむってね"},
    TalkRow{85, Append, "それからね\r\n\r\nさむい夜はわたしのことおもいだして"},
    TalkRow{86, Replace, "上着はいつかえしてもいい"},
    TalkRow{87, Replace, "つぎにあえたときでかまわないよ"},
    TalkRow{88, Replace, "またあえるよね"},
    TalkRow{89, Blank, BlankText},
    // Scene 10
    TalkRow{100, Replace, "さむくない"},
    TalkRow{101, Replace, "それならいい"},
    TalkRow{102, Replace, "ほら　もういきな"},
    TalkRow{103, Replace, "ふりかえらないでまっすぐにね"},
    TalkRow{104, Append, "わたし手をふらないからさ"},
    TalkRow{105, Replace, "ついたら　てがみかいて"},
    TalkRow{106, Append, "こっちはまだあたたかいよって書いてあげる"},
    TalkRow{107, Replace, "だからだいじょうぶ"},
    TalkRow{108, Blank, BlankText},
    // Closing
    TalkRow{113, Replace, "じゃあ 元気でね"},
    TalkRow{TalkScript::LastStep, Terminate, ""},
};

constexpr bool StepsAscend() {
  return std::ranges::adjacent_find(Rows, std::ranges::greater_equal{}, &TalkRow::step) == Rows.end();
}
static_assert(StepsAscend(), "the lookup relies on rows sorted by step, each step once");

}  // namespace

std::optional<TalkRow> TalkScript::RowFor(int step) {
  const auto row = std::ranges::lower_bound(Rows, step, {}, &TalkRow::step);
  if (row == Rows.end() || row->step != step) return std::nullopt;
  return *row;
}
