#pragma once

#include <array>

// Where things are in the program's window at 96 pixels per inch, in client
// coordinates, as a user sees them with the IPA P Gothic face.

struct Area {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;

  bool Contains(int px, int py) const { return px >= x && px < x + width && py >= y && py < y + height; }
};

inline constexpr int kWindowLeft = 241;
inline constexpr int kWindowTop = 145;
inline constexpr int kClientSize = 337;

inline constexpr Area kPictureArea{8, 8, 321, 321};

// The start label "* * * * * *" fits itself to about 40 x 12 at (136, 304).
inline constexpr int kStarsCentreX = 155;
inline constexpr int kStarsCentreY = 310;
inline constexpr Area kStarsArea{132, 300, 80, 20};

// The talk label: 15-pixel lines from (32, 64). After the second step the
// appended text stands on the fourth line.
inline constexpr Area kTalkFirstLine{32, 64, 297, 15};
inline constexpr Area kTalkFourthLine{32, 109, 297, 15};
inline constexpr Area kTalkArea{32, 64, 297, 100};

// The time label: a 3-pixel font from (217, 168), running on to the right.
inline constexpr Area kFlashArea{214, 165, 115, 10};
inline constexpr int kFlashLeft = 217;

// The blue title line across the top margin and the picture's top rows.
inline constexpr Area kTitleArea{96, 0, 168, 16};

// Where labels draw over the picture at start-up; the picture shows
// everywhere else.
inline constexpr std::array kLabelAreas{kTitleArea, kFlashArea, kStarsArea};
