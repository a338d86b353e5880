#pragma once

#include <windows.h>

namespace Orvo {

// A point in client coordinates.
struct CPoint : POINT {
    CPoint() : POINT{0, 0} {}
    CPoint(int px, int py) : POINT{px, py} {}
    CPoint(const POINT& point) : POINT(point) {}
    bool operator==(const POINT& other) const { return x == other.x && y == other.y; }
    bool operator!=(const POINT& other) const { return !(*this == other); }
};

struct CSize : SIZE {
    CSize() : SIZE{0, 0} {}
    CSize(int width, int height) : SIZE{width, height} {}
    bool operator==(const SIZE& other) const { return cx == other.cx && cy == other.cy; }
    bool operator!=(const SIZE& other) const { return !(*this == other); }
};

// A rectangle (left, top, right, bottom); right and bottom are exclusive.
class CRect : public RECT {
public:
    CRect() : RECT{0, 0, 0, 0} {}
    CRect(int l, int t, int r, int b) : RECT{l, t, r, b} {}
    CRect(const RECT& rect) : RECT(rect) {}

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    CSize Size() const { return CSize(Width(), Height()); }
    CPoint TopLeft() const { return CPoint(left, top); }
    CPoint BottomRight() const { return CPoint(right, bottom); }
    CPoint CenterPoint() const { return CPoint(left + Width() / 2, top + Height() / 2); }

    // True when the rectangle covers no pixel.
    bool IsRectEmpty() const { return right <= left || bottom <= top; }
    bool IsRectNull() const { return left == 0 && top == 0 && right == 0 && bottom == 0; }
    bool PtInRect(const POINT& point) const {
        return point.x >= left && point.x < right && point.y >= top && point.y < bottom;
    }
    // True when the two rectangles share at least one pixel.
    bool Intersects(const RECT& other) const {
        return left < other.right && other.left < right && top < other.bottom &&
               other.top < bottom && !IsRectEmpty() && !CRect(other).IsRectEmpty();
    }
    // The common part of two rectangles; empty (all zero) when they do not meet.
    static CRect Intersection(const RECT& a, const RECT& b) {
        CRect result(a.left > b.left ? a.left : b.left, a.top > b.top ? a.top : b.top,
                     a.right < b.right ? a.right : b.right,
                     a.bottom < b.bottom ? a.bottom : b.bottom);
        return result.IsRectEmpty() ? CRect() : result;
    }
    // The smallest rectangle holding both; an empty operand does not count.
    static CRect Union(const RECT& a, const RECT& b) {
        if (CRect(a).IsRectEmpty()) {
            return b;
        }
        if (CRect(b).IsRectEmpty()) {
            return a;
        }
        return CRect(a.left < b.left ? a.left : b.left, a.top < b.top ? a.top : b.top,
                     a.right > b.right ? a.right : b.right,
                     a.bottom > b.bottom ? a.bottom : b.bottom);
    }

    void SetRect(int l, int t, int r, int b) {
        left = l;
        top = t;
        right = r;
        bottom = b;
    }
    void SetRectEmpty() { SetRect(0, 0, 0, 0); }
    void OffsetRect(int dx, int dy) {
        left += dx;
        right += dx;
        top += dy;
        bottom += dy;
    }
    void DeflateRect(int dx, int dy) {
        left += dx;
        right -= dx;
        top += dy;
        bottom -= dy;
    }
    void InflateRect(int dx, int dy) { DeflateRect(-dx, -dy); }

    bool operator==(const RECT& other) const {
        return left == other.left && top == other.top && right == other.right &&
               bottom == other.bottom;
    }
    bool operator!=(const RECT& other) const { return !(*this == other); }
    operator RECT*() { return this; }
    operator const RECT*() const { return this; }
};

}  // namespace Orvo
