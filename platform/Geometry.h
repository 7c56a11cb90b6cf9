#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdlib>

// Rectangles in client pixels; Right and Bottom are exclusive.
struct TPoint {
  int X = 0;
  int Y = 0;
  friend bool operator==(const TPoint&, const TPoint&) = default;
};

struct TSize {
  int Width = 0;
  int Height = 0;
  friend bool operator==(const TSize&, const TSize&) = default;
};

struct TRect {
  int Left = 0;
  int Top = 0;
  int Right = 0;
  int Bottom = 0;

  static TRect FromBounds(int left, int top, int width, int height) {
    return {left, top, left + width, top + height};
  }
  int Width() const { return Right - Left; }
  int Height() const { return Bottom - Top; }
  bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
  bool Contains(TPoint p) const {
    return p.X >= Left && p.X < Right && p.Y >= Top && p.Y < Bottom;
  }
  bool Intersects(const TRect& other) const { return !Intersection(other).IsEmpty(); }
  TRect Intersection(const TRect& other) const {
    return {std::max(Left, other.Left), std::max(Top, other.Top),
            std::min(Right, other.Right), std::min(Bottom, other.Bottom)};
  }
  TRect Union(const TRect& other) const {
    if (IsEmpty()) return other;
    if (other.IsEmpty()) return *this;
    return {std::min(Left, other.Left), std::min(Top, other.Top),
            std::max(Right, other.Right), std::max(Bottom, other.Bottom)};
  }
  TRect Offset(int dx, int dy) const { return {Left + dx, Top + dy, Right + dx, Bottom + dy}; }
  friend bool operator==(const TRect&, const TRect&) = default;
};

// a * b / c rounded to the nearest integer, halves away from zero, as the
// window system's MulDiv does it for every scaled size.
inline int MulDiv(int a, int b, int c) {
  std::int64_t product = static_cast<std::int64_t>(a) * b;
  bool negative = (product < 0) != (c < 0);
  std::int64_t magnitude = std::llabs(product);
  std::int64_t divisor = std::llabs(static_cast<std::int64_t>(c));
  std::int64_t rounded = (2 * magnitude + divisor) / (2 * divisor);
  return static_cast<int>(negative ? -rounded : rounded);
}
