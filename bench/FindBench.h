#pragma once

namespace cw::bench {

// The benchmark "find": finding a text in a mod of 5,000 scripts and a strings table of
// 50,000 keys, its files in the disk cache, as `cuewright find` and the window do.
void findFigures(int runs);

} // namespace cw::bench
