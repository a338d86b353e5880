#pragma once

// Geometry of skin image strips and nine-patch drawing. Pure arithmetic, no drawing, so the
// rules can be checked without a window.

namespace Orvo {

// A rectangle as origin and size, the form GDI+ draws with.
struct StripRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;

    bool IsEmpty() const { return width <= 0 || height <= 0; }
    bool operator==(const StripRect& other) const {
        return x == other.x && y == other.y && width == other.width && height == other.height;
    }
};

// Width of one frame of a strip: image width / count, integer division (the last columns of
// an image whose width is not a multiple are never shown). A count below 1 means one frame,
// so a strip never divides by zero.
inline int StripFrameWidth(int imageWidth, int count) {
    if (imageWidth <= 0) {
        return 0;
    }
    return count < 1 ? imageWidth : imageWidth / count;
}

// Source rectangle of frame `frame` of a strip; frames past the last show the last one.
inline StripRect StripFrameRect(int imageWidth, int imageHeight, int count, int frame) {
    const int frameWidth = StripFrameWidth(imageWidth, count);
    const int frames = count < 1 ? 1 : count;
    if (frame < 0) {
        frame = 0;
    }
    if (frame > frames - 1) {
        frame = frames - 1;
    }
    return StripRect{frame * frameWidth, 0, frameWidth, imageHeight > 0 ? imageHeight : 0};
}

// One piece of a nine-patch: where it comes from in the image and where it goes.
struct NinePatchPiece {
    StripRect source;
    StripRect destination;
};

// The nine pieces of a nine-patch: corners unscaled, edges stretched along one axis, the
// centre stretched both ways. Margins larger than the source or the destination are
// shrunk (keeping their proportion) so opposite margins never overlap; negative margins
// count as 0. Pieces that would cover nothing are dropped. Returns the number of pieces
// written to `pieces` (at most 9), in rows top to bottom, left to right.
inline int ComputeNinePatch(const StripRect& source, const StripRect& destination, int left,
                            int top, int right, int bottom, NinePatchPiece pieces[9]) {
    if (source.IsEmpty() || destination.IsEmpty()) {
        return 0;
    }
    auto fit = [](int& first, int& second, int space) {
        first = first < 0 ? 0 : first;
        second = second < 0 ? 0 : second;
        const int sum = first + second;
        if (sum > space) {
            // Keep the proportion; integer parts never exceed the space.
            first = static_cast<int>(static_cast<long long>(first) * space / sum);
            second = static_cast<int>(static_cast<long long>(second) * space / sum);
        }
    };
    int srcLeft = left, srcRight = right, srcTop = top, srcBottom = bottom;
    fit(srcLeft, srcRight, source.width);
    fit(srcTop, srcBottom, source.height);
    int dstLeft = srcLeft, dstRight = srcRight, dstTop = srcTop, dstBottom = srcBottom;
    fit(dstLeft, dstRight, destination.width);
    fit(dstTop, dstBottom, destination.height);

    const int srcColumns[4] = {source.x, source.x + srcLeft, source.x + source.width - srcRight,
                               source.x + source.width};
    const int srcRows[4] = {source.y, source.y + srcTop, source.y + source.height - srcBottom,
                            source.y + source.height};
    const int dstColumns[4] = {destination.x, destination.x + dstLeft,
                               destination.x + destination.width - dstRight,
                               destination.x + destination.width};
    const int dstRows[4] = {destination.y, destination.y + dstTop,
                            destination.y + destination.height - dstBottom,
                            destination.y + destination.height};
    int count = 0;
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 3; ++column) {
            NinePatchPiece piece;
            piece.source = StripRect{srcColumns[column], srcRows[row],
                                     srcColumns[column + 1] - srcColumns[column],
                                     srcRows[row + 1] - srcRows[row]};
            piece.destination = StripRect{dstColumns[column], dstRows[row],
                                          dstColumns[column + 1] - dstColumns[column],
                                          dstRows[row + 1] - dstRows[row]};
            if (piece.source.IsEmpty() || piece.destination.IsEmpty()) {
                continue;
            }
            pieces[count++] = piece;
        }
    }
    return count;
}

// Offset of content of size (contentWidth, contentHeight) in a box (width, height) for the
// DrawText alignments: horizontal 1 centre, 2 right, else left; vertical 4 centre, 8 bottom,
// else top.
struct StripOffset {
    int x = 0;
    int y = 0;
};

inline StripOffset AlignContent(int width, int height, int contentWidth, int contentHeight,
                                int hAlign, int vAlign) {
    StripOffset offset;
    if (hAlign == 1) {
        offset.x = (width - contentWidth) / 2;
    } else if (hAlign == 2) {
        offset.x = width - contentWidth;
    }
    if (vAlign == 4) {
        offset.y = (height - contentHeight) / 2;
    } else if (vAlign == 8) {
        offset.y = height - contentHeight;
    }
    return offset;
}

}  // namespace Orvo
