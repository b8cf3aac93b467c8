#pragma once
// Draws marks into a picture: the window's view of the shown picture at any zoom, or a copy
// of the picture for a file, the clipboard or the printer. Redaction boxes take their blocks
// from the picture at its true size, so what they show holds nothing of the detail below.
#include <map>
#include <tuple>
#include <vector>

#include "markup/coverage_mask.h"
#include "markup/mark.h"
#include "markup/text_shaper.h"
#include "workspace/bitmap.h"

namespace vimbrel {

// Where the picture lies in the target: target pixel = picture pixel x scale - origin.
struct MarkView {
    double scale = 1;
    Point origin{0, 0};
};

// The side of a redaction block: at least 10 pixels, and at most 20 blocks along the box's
// longer side, so no block is small enough to keep a letter readable.
int RedactionBlock(const Rect& box);

class MarkRenderer {
public:
    explicit MarkRenderer(const TextShaper& shaper) : shaper_(shaper) {}

    // The marks, bottom first, inside `clip` (target pixels) of a 24- or 32-bit target.
    // `picture` is the picture at its true size the redaction blocks are averaged from.
    void Draw(Bitmap& target, const MarkView& view, const Rect& clip, const std::vector<Mark>& marks,
              const Bitmap& picture);
    void DrawMark(Bitmap& target, const MarkView& view, const Rect& clip, const Mark& mark, int stepNumber,
                  const Bitmap& picture);
    // The handles of a selected mark, `handleSize` target pixels square, and a text's caret.
    void DrawSelection(Bitmap& target, const MarkView& view, const Rect& clip, const Mark& mark, int handleSize,
                       bool caret);
    // The picture's pixels changed: the redaction blocks are averaged again.
    void Forget() { blocks_.clear(); }

private:
    struct Blocks {
        int side = 0, columns = 0, rows = 0;
        std::vector<MarkColour> colours;
    };
    const Blocks& BlocksOf(const Rect& box, const Bitmap& picture);
    void DrawRedaction(Bitmap& target, const MarkView& view, const Rect& clip, const Mark& mark, const Bitmap& picture);
    void DrawText(Bitmap& target, const MarkView& view, const Rect& clip, const std::string& text, Point at, int height,
                  MarkColour colour);

    const TextShaper& shaper_;
    CoverageMask mask_;
    std::map<std::tuple<int, int, int, int>, Blocks> blocks_;
};

// A 24-bit copy of `base` (the picture, or its shown image at `view.scale`) with the marks
// drawn in. Throws EImageTooLarge when the copy cannot be held.
Bitmap WithMarks(const Bitmap& base, double scale, const std::vector<Mark>& marks, const Bitmap& picture,
                 const TextShaper& shaper);

}  // namespace vimbrel
