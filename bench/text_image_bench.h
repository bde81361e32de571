#pragma once
// The clipboard text window's image of a copied text: time and pixel memory against drawing
// every text at full size, the plain way, in the same run.
namespace veltrano::bench {

// Prints one markdown table; needs a display.
int RunTextImage();

}  // namespace veltrano::bench
