#pragma once

namespace cw::bench {

// The benchmark "caption": laying out a caption of the longest length the game keeps,
// with markup to expand and line breaks, in both modes, as the checker and a preview do.
void captionFigures(int runs);
// And one frame of the Caption panel's drawing, typing the longest caption.
void captionPreviewFigures(int runs);

} // namespace cw::bench
